#pragma once
// The two management reports of the open song book, started from the
// Management Reports Menu: every listing by custom disc ID and track, and
// the book's discs by brand.
//
// The disc inventory lists a disc whose brand is not in the brand list
// under a blank brand, ahead of the named brands, instead of leaving it out.

namespace printing {

void PrintSongTrackListing();
void PrintDiscInventory();

}  // namespace printing
