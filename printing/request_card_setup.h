#pragma once
// Song Request Card Setup: designs the request slips (header and footer
// texts with their fonts, an optional logo, cutting guides, the number of
// slips), shows a sample slip, saves and recalls request setup files, and
// starts the slips on a thread of their own while it stays open.

namespace printing {

void RequestCardSetup();

}  // namespace printing
