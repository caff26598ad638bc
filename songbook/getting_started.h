#pragma once
// The Getting Started help window, shown for a book without listings.

namespace songbook {

// Shows the window until it is closed; its placement is kept in
// songbook.ini, section "gettingstarted".
void GettingStarted();

}  // namespace songbook
