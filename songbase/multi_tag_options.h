#pragma once
// MultiTagOptions ("MultiTag Options"): how every disc of a "tag &All"
// gets its custom disc ID: numbered from a start number with an optional
// prefix and suffix (1), asked one disc at a time (2), or the
// manufacturer's disc ID (3). The start number proposed is one more than
// the highest numeric custom ID in the book and the tags. The answer is in
// BATCHADDTYPE, BATCHSTARTINGNUMBER, BATCHPRE, BATCHSUF and
// MultiTagConfirmed; true when confirmed. With SKIPALTDISKID it answers
// method 3 without a window.

#include "shell/tag_list.h"

#include <string_view>

namespace songbase {

bool MultiTagOptions(const shell::TagList& tags);

inline constexpr std::string_view kMultiTagOptionsWindow = "P1$MULTITAGOPTIONS";
inline constexpr std::string_view kChooseMethodText =
    "Please select the method you wish to use for Custom Disc Numbering...";

}  // namespace songbase
