#include "platform/data/tps/tps_records.h"

#include "platform/data/tps/tps_error.h"

namespace fw::tps {

void ThrowRecordError(const PageHeader& page, std::size_t index, const char* what) {
    throw TpsError("page at " + HexOffset(page.offset) + ": record " + std::to_string(index) + " " + what);
}

void ThrowCountError(const PageHeader& page, std::size_t read, std::size_t left) {
    const std::string where = "page at " + HexOffset(page.offset) + ": ";
    if (left)
        throw TpsError(where + std::to_string(left) + " bytes after the " + std::to_string(page.count) +
                       " records it counts");
    throw TpsError(where + "its records end after " + std::to_string(read) + " of the " + std::to_string(page.count) +
                   " it counts");
}

}  // namespace fw::tps
