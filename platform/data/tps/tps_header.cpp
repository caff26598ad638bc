#include "platform/data/tps/tps_header.h"

#include "platform/data/tps/tps_bytes.h"
#include "platform/data/tps/tps_error.h"

#include <cstdio>
#include <string>

namespace fw::tps {

std::string HexOffset(unsigned long long offset) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", offset);
    return buf;
}

bool HasSignature(std::string_view file) {
    return file.size() >= 0x12 && Le32(file, 0) == 0 && file.substr(0x0E, 4) == "tOpS";
}

FileHeader ReadHeader(std::string_view file, std::vector<std::string>& warnings) {
    if (!HasSignature(file)) throw TpsError(kNotTopSpeedText);
    if (file.size() < kHeaderSize)
        throw TpsError("truncated file: " + std::to_string(file.size()) + " bytes, shorter than the header");
    if (Le16(file, 0x04) != kHeaderSize)
        throw TpsError("damaged header: header size " + std::to_string(Le16(file, 0x04)) + " instead of 512");

    FileHeader h;
    h.fileLength = Le32(file, 0x06);
    h.allocatedLength = Le32(file, 0x0A);
    h.lastRecordNumber = Be32(file, 0x14);
    h.changeCount = Le32(file, 0x18);
    h.rootRef = Le32(file, 0x1C);
    for (std::size_t i = 0; i < 60; ++i) {
        const std::uint32_t start = Le32(file, 0x20 + 4 * i);
        const std::uint32_t end = Le32(file, 0x110 + 4 * i);
        if (start < end) h.ranges.emplace_back(start, end);
    }
    if (h.fileLength > file.size())
        throw TpsError("truncated file: the header gives " + std::to_string(h.fileLength) + " bytes, the file has " +
                       std::to_string(file.size()));
    if (h.fileLength < file.size())
        warnings.push_back("the header gives " + std::to_string(h.fileLength) + " bytes, the file has " +
                           std::to_string(file.size()));
    return h;
}

}  // namespace fw::tps
