#include "shell/record_form_duplicate.h"

#include "platform/data/file_ops.h"

namespace shell {

bool RecordDuplicatesKey(fw::File& file, std::string_view keyName) {
    const fw::Key key = file.FindKey(keyName);
    return key.Valid() && fw::DUPLICATE(key);
}

}  // namespace shell
