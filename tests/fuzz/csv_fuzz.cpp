// libFuzzer target over the comma-delimited reader: any file reads to its
// end, record by record, by number and counted, in both code pages, without
// a crash or a hang. Run: csv_fuzz -max_total_time=20 tests/fuzz/csv_corpus

#include "platform/data/csv/csv_file.h"
#include "platform/runtime/error_state.h"
#include "tests/platform/data/csv/csv_fixture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using csv_fixture::Bas;
using csv_fixture::BasDecl;

const std::string& InputPath() {
    static const std::string path = [] {
        char tmpl[] = "/tmp/csv_fuzz_XXXXXX";
        const int fd = ::mkstemp(tmpl);
        ::close(fd);
        return std::string(tmpl);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(InputPath().c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    ::close(fd);
    for (const unsigned attributes : {0u, fw::kCsvOem}) {
        fw::CsvFileOf<Bas> file(BasDecl(), attributes);
        file.name = InputPath();
        fw::OPEN(file, 0x40);
        if (fw::ERRORCODE() != 0) std::abort();
        fw::SET(file);
        // Every NEXT reads a line or more, so the end comes within size + 1 reads.
        std::size_t reads = 0;
        for (fw::NEXT(file); fw::ERRORCODE() != 33; fw::NEXT(file))
            if (++reads > size + 1) std::abort();
        const long records = fw::RECORDS(file);
        fw::GET(file, 3);
        fw::GET(file, records);
        fw::CLOSE(file);
    }
    return 0;
}
