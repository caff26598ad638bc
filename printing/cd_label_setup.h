#pragma once
// Custom CD Label Maker - Setup: the user tags discs of the open book and
// prints a full-size label or a mini-label for each, in a chosen text and
// background colour with a footer text. The window keeps a tag list of its
// own that starts empty, so it never sees or clears another window's tags;
// the tags go to TAGFILE before each print and when the window closes.

namespace printing {

void CdLabelSetup();

}  // namespace printing
