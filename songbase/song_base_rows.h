#pragma once
// What the song-base lists share: the view's join from a track to its
// brand, and the row fields of a track.

#include "platform/data/view.h"
#include "platform/ui/widgets/paged_list_widget.h"

namespace songbase {

// KARAOKE joined to DMake by BRA:KMAKEID on KAR:MAKEID: a track whose brand
// is missing is listed with a blank brand.
void JoinBrand(fw::View& view);

// Title, artist, brand, Mfg. disc ID and track of the track in KAR and BRA.
fw::ui::ListRow TrackColumns();

}  // namespace songbase
