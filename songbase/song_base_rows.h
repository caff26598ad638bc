#pragma once
// What the song-base lists share: the view's join from a track to its
// brand, the row fields of a track, and the select mode of the two lists
// of tracks (no caller of the program asks for it).

#include "platform/data/view.h"
#include "platform/ui/widgets/paged_list_widget.h"

namespace songbase {

// KARAOKE joined to DMake by BRA:KMAKEID on KAR:MAKEID: a track whose brand
// is missing is listed with a blank brand.
void JoinBrand(fw::View& view);

// Title, artist, brand, Mfg. disc ID and track of the track in KAR and BRA.
fw::ui::ListRow TrackColumns();

// Takes the caller's request (RequestedAction and ActionOutcome cleared):
// true for select (4).
bool TakeSelectRequest();
// The window's ?SELECT is hidden and disabled unless it selects.
void ShowSelectButton(bool selectMode);
// The list's right-button menu: "&Select" when it selects and has rows,
// posting to ?SELECT, else the greyed item.
void SelectPopup(bool offered);

}  // namespace songbase
