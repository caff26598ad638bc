// libFuzzer target over the TopSpeed reader: every input must read or give
// a TpsError. Run: tps_fuzz -max_total_time=300 tests/fuzz/tps_corpus

#include "tests/platform/data/tps/tps_read_all.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tps_fixture::ReadAll(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
