#pragma once
// The pick lists of Add Song Tracks and Add Disc, each read from its file
// on the calling thread (the window holds the files open). A read error
// other than the end of the file shows warning 35 with the file's label and
// gives nothing (nullptr, nullopt), after which the window closes.

#include "platform/ui/pick_list.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace songbase {

// The brand codes of MAKEID: the drop list's rows ("AV  Avalon Karaoke",
// valued "AV") in MAK:KMAKEID order, and the codes alone.
struct BrandCodes {
    std::string from;
    std::vector<std::string> codes;
    // The code as the list spells it, when `typed` is one (letter case ignored).
    std::optional<std::string> Find(std::string_view typed) const;
};
std::optional<BrandCodes> ReadBrandCodes();

// The custom disc IDs of the book's discs (SBDiscs).
std::shared_ptr<const fw::PickList> ReadBookCustomIds();

// The distinct artists of the song base's tracks titled `title`, letter
// case ignored (KARAOKE in KAR:KTITLE order).
std::shared_ptr<const fw::PickList> ReadArtistsOfTitle(std::string_view title);

// The brands of DMake in BRA:KMAKE order: the drop list's rows, each valued
// by its brand number.
std::optional<std::string> ReadBrandRows();

// The brand code of brand `makeId`: the first two characters of the unique
// disc ID of its first disc (Discs in DIS:KMAKEID order); blank when the
// brand has no disc.
std::string ProposedBrandCode(std::int32_t makeId);

}  // namespace songbase
