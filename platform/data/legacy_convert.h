#pragma once
// What OPEN does with a file of a legacy format (legacy_source.h), inside
// the data layer.
//
// Under the program's declaration the file is converted once, so that a
// crash at any moment leaves either the original or the checked new file
// under the file's name: the records go into a new file beside it
// (NAME.converting), which is checked (every record there, its layout, the
// storage's own check); the original is then kept as NAME + the format's
// suffix (a hard link, or a synced copy where links are not possible) and
// the new file renamed over the name. Two programs converting the same file
// take turns on a lock of the original. Nothing is deleted; an original
// kept before is never replaced.
//
// Under an earlier layout (RegisterEarlierLayout) the file stays as it is:
// its records go into a private read-only copy of ours, removed when no
// longer open and at the end of the program.

#include "platform/data/file.h"
#include "platform/data/legacy_source.h"

#include <string>

namespace fw::data {

// The path of the file of ours that OPEN goes on with; empty, with the
// thread's error set, when the file cannot be used: 47 for another layout,
// 90 for a file that cannot be read or converted, with the file and the
// reason in ERROR() and FILEERROR().
std::string OpenLegacy(const File& f, const std::string& path, const LegacyFormat& format);

}  // namespace fw::data
