// libFuzzer target over the archive reading: any file opens or is refused,
// lists its entries, and stages every entry it may extract or refuses to,
// without a crash; a staging that is dropped leaves no file behind.
// Run: zip_fuzz -max_total_time=20 tests/fuzz/zip_corpus

#include "platform/os/archive/archive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct Place {
    std::string folder, archive;
    Place() {
        char tmpl[] = "/tmp/zip_fuzz_XXXXXX";
        folder = ::mkdtemp(tmpl);
        std::filesystem::create_directory(folder + "/out");
        archive = folder + "/input.bkp";
    }
};

const Place& ThePlace() {
    static const Place place;
    return place;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Place& place = ThePlace();
    std::ofstream(place.archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (fw::zOpenZipFile(place.archive) == 0) {
        std::vector<fw::ArchiveEntry> entries;
        if (fw::zListEntries(entries) == 0) {
            std::vector<std::int64_t> chosen;
            for (const fw::ArchiveEntry& e : entries)
                if (e.refusal.empty() && !e.folder && !e.superseded && e.size < (1u << 20)) chosen.push_back(e.index);
            fw::StagedExtraction staged;
            fw::zStageEntries(place.folder + "/out", chosen, staged);
        }
    }
    fw::zCloseZipFile();
    if (!std::filesystem::is_empty(place.folder + "/out")) std::abort();
    return 0;
}
