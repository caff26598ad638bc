#pragma once
// The ten song-book report layouts and what the shared pipeline needs to
// know of each: its sort, its family (one or two columns), whether it
// groups entries under headings, and whether it is a banded layout.

#include <string_view>

namespace printing {

enum class ReportSort { Title = 1, Artist = 2 };
enum class ReportFamily { SingleColumn, TwoColumn };

enum class SongBookLayout {
    TitleBanded,                  // titlegreywhite: styles 1 and 2 by title
    ArtistBanded,                 // artistgreywhite
    TitleShortLong,               // titleshortlong: style 3
    ArtistShortLong,              // artistshortlong
    TitleGrouped,                 // titlemod: style 4
    ArtistGrouped,                // artistmod
    TitleTwoColumn,               // 2coltitle: style 5
    ArtistTwoColumn,              // 2colartist
    TitleTwoColumnGrouped,        // 2coltitlemod: style 6
    ArtistTwoColumnGrouped,       // 2colartistmod
};

struct LayoutTraits {
    ReportSort sort;
    ReportFamily family;
    bool grouped;   // a heading row per group, entries indented below it
    bool banded;    // the grey band box instead of rule lines
    std::string_view name;  // the layout's name
};

LayoutTraits TraitsOf(SongBookLayout layout);

// The layout that prints a sort (1 title, 2 artist) in a designer style
// (1 to 6); false for values outside those ranges.
bool LayoutFor(int printSort, int printFormat, SongBookLayout& layout);

}  // namespace printing
