#pragma once
// The parts of a download that look at its bytes and its figures, apart
// from the window and the network: the "404 NOT FOUND" test over the first
// 1024 bytes, the LF to CR LF conversion, and the progress texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace exchange {

inline constexpr std::size_t kNotFoundWindow = 1024;

// Holds the body's bytes until the first 1024 have arrived (or the body
// has ended), then decides once whether they hold "404 NOT FOUND" in any
// letter case. The test is a byte search: a body may hold NUL bytes.
class NotFoundTest {
public:
    // Takes a chunk; the bytes that may now be written (none while the
    // test is still open, the held ones and the chunk once it passed).
    std::string Feed(std::string_view chunk);
    // The body has ended: decides on what was held; the held bytes to write.
    std::string End();
    bool Decided() const { return decided_; }
    bool NotFound() const { return notFound_; }

private:
    void Decide();
    std::string held_;
    bool decided_ = false;
    bool notFound_ = false;
};

// LF to CR LF. Only a lone LF gains a CR: an LF that already follows a CR
// (also across two chunks) stays as it is, so a list sent with CR LF is
// not spoilt.
class LineEndConverter {
public:
    void Convert(std::string_view in, std::string& out);

private:
    bool lastWasCr_ = false;
};

struct DownloadFigures {
    int percent = 0;              // 0..100; 0 when the expected size is unknown
    std::string percentText;      // "@N3% Completed"
    std::string elapsedText;      // "Time Elapsed: hh:mm:ss"
    std::string remainingText;    // "Time Remaining: hh:mm:ss" (blank while unknown)
    std::string bytesText;        // "@N13 of @N13 Bytes Received"
    std::string speedText;        // "@N_8.2 KB/s"
};

// The figures after `received` bytes in `elapsedMs` milliseconds of a
// download expected to be `expected` bytes long (0 or less: unknown).
// Every division is guarded: no time yet gives no rate and no remaining
// time, and more bytes than expected give 100% and no time remaining.
DownloadFigures ComputeDownloadFigures(std::uint64_t received, std::int64_t expected, std::int64_t elapsedMs);

}  // namespace exchange
