#include "platform/data/tps/tps_records.h"

#include "platform/data/tps/tps_error.h"

namespace fw::tps {

void ThrowRecordError(const PageHeader& page, std::size_t index, const char* what) {
    throw TpsError("page at " + HexOffset(page.offset) + ": record " + std::to_string(index) + " " + what);
}

}  // namespace fw::tps
