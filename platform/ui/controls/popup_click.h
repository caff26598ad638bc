#pragma once
// A click outside an open drop-down or completion pop-up closes it and also
// acts on what it was clicked on, as hosts know from Windows: a button is
// pressed, an entry takes the keyboard, a list row is highlighted. Qt eats
// that press (QCompleter's event filter, the drop-down's own handler) and
// hands it on only on platforms that ask for it, which X11 does not.
//
// The press goes on only to a window of ours that takes input: never to
// one inside a call (its thread waits for a dialog) nor to any window while
// a modal window is up. A press on the combo a drop-down belongs to stays
// Qt's (it closes the list and does not open it again).

class QComboBox;

namespace fw {

// Every drop-down and completion pop-up the combo has now passes outside
// clicks on; called again after the combo gets a new completer.
void PassOutsideClicks(QComboBox* combo);

}  // namespace fw
