#pragma once
// The pick lists of the Main SongBase that windows offer in their combos:
// every title of the title search list (sTitle), one entry per title
// (letter case ignored), in the folded order. Read once and shared by every
// window that offers it while the file stays the same (same path, size and
// modification time: the data changes only when AutoUpdate replaces the
// files), so a second window opens without reading 300,000 titles again.

#include "platform/ui/pick_list.h"

#include <memory>

namespace songbase {

// The titles; the thread has sTitle open. A read error other than the end
// of the file shows warning 35 with "sTitle" and gives nullptr.
std::shared_ptr<const fw::PickList> SongBaseTitles();

// Forgets the kept lists (tests that rewrite the files in place).
void ForgetSongBasePickLists();

}  // namespace songbase
