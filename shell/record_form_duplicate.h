#pragma once
// Whether the record buffer duplicates another record in a unique key of its
// file. Kept apart from the form's window code: the data layer's fw::Key and
// the window layer's key codes cannot share one translation unit.

#include <string_view>

namespace fw {
class File;
}

namespace shell {

bool RecordDuplicatesKey(fw::File& file, std::string_view keyName);

}  // namespace shell
