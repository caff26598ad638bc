// libFuzzer target over AutoUpdate's two readers of what a server sends:
// the update-file block reader and the instruction-list reader with its
// checks. Every input must read or be refused, within the inflate cap.
// Run: autoupdate_fuzz -max_total_time=300 tests/fuzz/autoupdate_corpus

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "exchange/instruction_list.h"
#include "exchange/update_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::uint64_t cap = exchange::InflateCapFor(size);
    std::uint64_t written = 0;
    exchange::InflateOutcome o = exchange::InflateBytes(
        bytes, [&](std::string_view block) { written += block.size(); return block.size() <= exchange::kMaxBlockData; },
        cap);
    if (written > cap || (o.result == exchange::InflateResult::Ok && o.blocks == 0)) std::abort();

    static const std::string list = "/tmp/autoupdate_fuzz_" + std::to_string(::getpid()) + ".lst";
    std::ofstream(list, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(size));
    exchange::InstructionList parsed = exchange::ReadInstructionList(list);
    exchange::CheckInstructionList(parsed);
    if (parsed.problem.empty()) {
        for (const exchange::Instruction& r : parsed.records) {
            if (r.oldFile.find('/') != std::string::npos || r.newFile.find('/') != std::string::npos ||
                r.newFile.find("..") != std::string::npos || r.size == 0)
                std::abort();
        }
    }
    return 0;
}
