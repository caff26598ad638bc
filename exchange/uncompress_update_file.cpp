#include "exchange/uncompress_update_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "exchange/update_file.h"
#include "platform/data/names/path_names.h"
#include "platform/data/names/plain_files.h"
#include "platform/text/strings.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/path_part.h"

namespace exchange {
namespace {

// A closed descriptor on every path out.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

std::string Frame(int n) {
    char name[24];
    std::snprintf(name, sizeof name, "~Time%03d.ico", 4 + n);
    return name;
}

void ShowBlockFailure(InflateResult result, const std::string& source, const std::string& destination) {
    switch (result) {
    case InflateResult::Corrupt: fw::MESSAGE("Input Data Corrupted"); break;
    case InflateResult::NoMemory: fw::MESSAGE("Insufficient memory for compression"); break;
    case InflateResult::BufferTooSmall: fw::MESSAGE("Insufficient room in output buffer for decompression"); break;
    case InflateResult::TooLarge: fw::MESSAGE("Input Data Corrupted: the file expands beyond its expected size"); break;
    case InflateResult::ReadError: fw::MESSAGE("Error reading ZlibBKXIN: " + source); break;
    case InflateResult::WriteError: fw::MESSAGE("Error adding to ZlibBKXOut: " + destination); break;
    case InflateResult::Empty:
    case InflateResult::Ok: break;
    }
}

}  // namespace

long UncompressUpdateFile(std::string_view sourceIn, std::string_view destinationIn, std::uint64_t cap) {
    const std::string source = fw::CLIP(sourceIn), destination = fw::CLIP(destinationIn);
    fw::Window window("P1$UNCOMPRESSWINDOW");
    std::string line = "Installing Update File: " + shell::PathPart(source, shell::path_part::Name, true);
    window.Use("?STRING1", line);
    window.Open();
    fw::DISPLAY();

    if (fw::UPPER(source) == fw::UPPER(destination)) {
        fw::MESSAGE("The file to be uncompressed cannot have the same name as the compressed file",
                    "Source File cannot be the same as Destination File", fw::Icon::Exclamation);
        return 0;
    }
    if (source.empty() || destination.empty()) {
        fw::MESSAGE("Both a Source File Name and a Destination File Name must be supplied",
                    "Source or Destination File Name Missing", fw::Icon::Exclamation);
        return 0;
    }
    Fd in;
    in.fd = ::open(fw::ResolvePath(source).c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0) {
        fw::MESSAGE("Cannot open file! " + source, std::string("Error Opening File ") + std::strerror(errno),
                    fw::Icon::None, fw::Button::Cancel);
        return 0;
    }
    const std::string outPath = fw::ResolvePath(destination);
    Fd out;
    out.fd = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out.fd < 0) {
        const int error = errno;
        fw::MESSAGE("Error creating ZlibOut: " + destination + " " + std::strerror(error),
                    "Error Creating File " + std::to_string(error), fw::Icon::Hand, fw::Button::Cancel);
        return 0;
    }

    ReadAt readAt = [fd = in.fd](std::uint64_t offset, std::size_t n, char* buffer) -> long {
        std::size_t got = 0;
        while (got < n) {
            ssize_t r = ::pread(fd, buffer + got, n - got, static_cast<off_t>(offset + got));
            if (r < 0) {
                if (errno == EINTR) continue;
                return -1;
            }
            if (r == 0) break;
            got += static_cast<std::size_t>(r);
        }
        return static_cast<long>(got);
    };
    BlockSink write = [fd = out.fd](std::string_view data) { return fw::WriteAllBytes(fd, data); };
    int counter = 0;
    auto onBlock = [&counter](long block) {
        if (block == 1) return;
        counter = counter >= 16 ? 1 : counter + 1;
        fw::SetProp("?IMAGE1", fw::Prop::Text, Frame(counter));
        fw::DISPLAY();
    };
    fw::SETCURSOR(fw::Cursor::Wait);
    InflateOutcome outcome = InflateBlocks(readAt, write, cap, onBlock);
    fw::SETCURSOR();
    bool ok = outcome.result == InflateResult::Ok;
    if (!ok) ShowBlockFailure(outcome.result, source, destination);
    if (ok && ::fsync(out.fd) != 0) ok = false;
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0 && ok) {
        fw::MESSAGE("Error closing ZlibBKXOut: " + destination);
        ok = false;
    }
    // A half-written file is of no use to anyone.
    if (!ok) ::unlink(outPath.c_str());
    return ok ? 1 : 0;
}

}  // namespace exchange
