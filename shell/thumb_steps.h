#pragma once
// The hundred key values a list's scroll thumb jumps to: computed steps for
// numeric and text keys, and the fixed table of three-letter stops for name
// keys. Each kind keeps one shared state; a browse fills its own table of
// 100 entries right after initialising it.

#include <array>
#include <string>
#include <string_view>

namespace shell {

// Numeric keys: call 1 gives low, call 100 high, call n low + (n - 1) *
// (high - low) / 99. The browse truncates each value to its key's type.
void InitNumericScrollSteps(double low, double high);
double NextNumericScrollStep();

// Character classes of the text steps, combined as flags.
namespace thumb_chars {
inline constexpr int Upper = 1;    // upper-case letters
inline constexpr int Symbols = 2;  // the thirty symbols of fw::IsThumbSymbol
inline constexpr int Digits = 4;
inline constexpr int Lower = 8;    // lower-case letters as well, only together with Upper
}  // namespace thumb_chars

// Text keys: the common prefix of first and last (both cut to length) is
// kept and the four characters after it step from first's to last's, read
// as numbers in base (character-set size + 1). Call 1 gives first's text,
// call 100 last's.
void InitTextScrollSteps(std::string_view first, std::string_view last, std::size_t length, int flags);
std::string NextTextScrollStep();

// The stops of name keys: entry 1 is three blanks, entries 2 to 100 the
// three-letter stops in order (entry 57 is "MAR").
inline constexpr std::array<std::string_view, 100> kNameThumbTable = {
    "   ", "ALB", "AME", "ARN", "BAK", "BAT", "BEN", "BIA", "BOB", "BRA", "BRO", "BUA", "CAC", "CAR", "CEN",
    "CHR", "COE", "CON", "COR", "CRU", "DAS", "DEL", "DIA", "DON", "DUR", "ELD", "EVE", "FEL", "FIS", "FLO",
    "FRE", "FUT", "GAR", "GIB", "GOL", "GOS", "GRE", "GUT", "HAM", "HEM", "HOB", "HOT", "ING", "JAS", "JON",
    "KAG", "KEA", "KIR", "KOR", "KYO", "LAT", "LEO", "LIG", "LOU", "MAC", "MAQ", "MAR", "MAU", "MCK", "MER",
    "MIL", "MON", "MOR", "NAT", "NOL", "OKE", "PAG", "PAU", "PET", "PIN", "POR", "PUL", "RAU", "REY", "ROB",
    "ROS", "RUB", "SAL", "SCA", "SCH", "SCR", "SHA", "SIG", "SKI", "SNA", "SOU", "STE", "STI", "SUN", "TAY",
    "TIR", "TUC", "VAN", "WAC", "WAS", "WEI", "WIE", "WIM", "WOL", "YOR"};
// Entry n (1 to 100) of the table.
inline std::string_view NameThumbTable(int n) { return kNameThumbTable.at(static_cast<std::size_t>(n - 1)); }

}  // namespace shell
