#pragma once
// Setup files: a design's settings saved as INI text, a [Version] section
// naming the kind of file and a [Settings] section of one key per setting,
// written in a fixed order. Recalling checks every value: a missing,
// malformed or out-of-range one takes its initial value (ranged numbers are
// brought into their range) and is named, so the user can be told.
//
//   const std::vector<SetupSetting<Design>> kSettings = {
//       {"Size", SetupKind::Clamped, &Design::size, 1, 72},
//       {"Title", SetupKind::Text, &Design::title, 0, 0, 40}};
//   SaveSetupFile(path, "My Setup File", kSettings, design);

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace printing {

enum class SetupKind {
    Number,    // a choice or switch: outside low..high it takes its initial value
    Clamped,   // a quantity: outside low..high it is brought to the nearer end
    Color,     // 0 to FFFFFFh
    Date,      // a day number; a bad one becomes today
    Text,      // cut to its length
    Typeface,  // one of the designer's typefaces
    FaceName,  // any typeface name, not blank
    FontStyle, // a weight of 0 to 900, plus 4096 for italic
};

template <class T>
struct SetupSetting {
    std::string_view key;
    SetupKind kind;
    std::variant<long T::*, std::string T::*> member;
    long low = 0, high = 1;
    std::size_t length = 0;
};

enum class RecallResult { Recalled, NotASetupFile };

// The checks and the file access, shared by every kind of setup file.
namespace setup_file {
struct Value {
    std::string_view key;
    SetupKind kind;
    long* number = nullptr;
    std::string* text = nullptr;
    long low = 0, high = 1;
    std::size_t length = 0;
    long initialNumber = 0;
    std::string initialText;
};
bool Save(std::string_view file, std::string_view version, const std::vector<Value>& values);
// Fills the values from the file; nullopt when it is missing or of another kind.
std::optional<std::vector<std::string>> Recall(std::string_view file, std::string_view version,
                                               std::vector<Value>& values);

template <class T>
std::vector<Value> Bind(const std::vector<SetupSetting<T>>& settings, T& into) {
    static const T initial{};
    std::vector<Value> values;
    values.reserve(settings.size());
    for (const SetupSetting<T>& s : settings) {
        Value v{s.key, s.kind, nullptr, nullptr, s.low, s.high, s.length};
        if (auto text = std::get_if<std::string T::*>(&s.member)) {
            v.text = &(into.*(*text));
            v.initialText = initial.*(*text);
        } else {
            long T::*number = std::get<long T::*>(s.member);
            v.number = &(into.*number);
            v.initialNumber = initial.*number;
        }
        values.push_back(std::move(v));
    }
    return values;
}
}  // namespace setup_file

// Writes the version and every setting in order into the file, in one
// replacement; other keys of an existing file stay. False on failure.
template <class T>
bool SaveSetupFile(std::string_view file, std::string_view version, const std::vector<SetupSetting<T>>& settings,
                   const T& design) {
    T copy = design;
    return setup_file::Save(file, version, setup_file::Bind(settings, copy));
}

// Reads a setup file of this version into design; a missing file or one of
// another kind changes nothing. The keys whose values were repaired are
// listed in repaired.
template <class T>
RecallResult RecallSetupFile(std::string_view file, std::string_view version,
                             const std::vector<SetupSetting<T>>& settings, T& design,
                             std::vector<std::string>& repaired) {
    T recalled = design;
    std::vector<setup_file::Value> values = setup_file::Bind(settings, recalled);
    auto result = setup_file::Recall(file, version, values);
    if (!result) return RecallResult::NotASetupFile;
    repaired = std::move(*result);
    design = std::move(recalled);
    return RecallResult::Recalled;
}

// The message that tells the user which settings a recall repaired
// ("SongBook Print Setup File" for the kind).
std::string RepairedMessage(std::string_view fileKind, const std::vector<std::string>& keys);

// The file a save writes for a name the user typed: its folder and name
// with the given extension (".psf"), whatever extension was typed.
std::string SetupFileName(std::string_view typed, std::string_view extension);

}  // namespace printing
