#include "printing/song_book_layouts.h"

namespace printing {

LayoutTraits TraitsOf(SongBookLayout layout) {
    using S = ReportSort;
    using F = ReportFamily;
    switch (layout) {
        case SongBookLayout::TitleBanded: return {S::Title, F::SingleColumn, false, true, "titlegreywhite"};
        case SongBookLayout::ArtistBanded: return {S::Artist, F::SingleColumn, false, true, "artistgreywhite"};
        case SongBookLayout::TitleShortLong: return {S::Title, F::SingleColumn, false, false, "titleshortlong"};
        case SongBookLayout::ArtistShortLong: return {S::Artist, F::SingleColumn, false, false, "artistshortlong"};
        case SongBookLayout::TitleGrouped: return {S::Title, F::SingleColumn, true, false, "titlemod"};
        case SongBookLayout::ArtistGrouped: return {S::Artist, F::SingleColumn, true, false, "artistmod"};
        case SongBookLayout::TitleTwoColumn: return {S::Title, F::TwoColumn, false, false, "2coltitle"};
        case SongBookLayout::ArtistTwoColumn: return {S::Artist, F::TwoColumn, false, false, "2colartist"};
        case SongBookLayout::TitleTwoColumnGrouped: return {S::Title, F::TwoColumn, true, false, "2coltitlemod"};
        case SongBookLayout::ArtistTwoColumnGrouped: return {S::Artist, F::TwoColumn, true, false, "2colartistmod"};
    }
    return {S::Title, F::SingleColumn, false, true, "titlegreywhite"};
}

bool LayoutFor(int printSort, int printFormat, SongBookLayout& layout) {
    if ((printSort != 1 && printSort != 2) || printFormat < 1 || printFormat > 6) return false;
    static constexpr SongBookLayout kByTitle[] = {SongBookLayout::TitleBanded, SongBookLayout::TitleBanded,
                                                  SongBookLayout::TitleShortLong, SongBookLayout::TitleGrouped,
                                                  SongBookLayout::TitleTwoColumn, SongBookLayout::TitleTwoColumnGrouped};
    static constexpr SongBookLayout kByArtist[] = {SongBookLayout::ArtistBanded, SongBookLayout::ArtistBanded,
                                                   SongBookLayout::ArtistShortLong, SongBookLayout::ArtistGrouped,
                                                   SongBookLayout::ArtistTwoColumn, SongBookLayout::ArtistTwoColumnGrouped};
    layout = (printSort == 1 ? kByTitle : kByArtist)[printFormat - 1];
    return true;
}

}  // namespace printing
