#include "exchange/download_chunks.h"

#include <algorithm>
#include <cctype>

#include "platform/text/numbers.h"
#include "platform/text/picture.h"

namespace exchange {
namespace {

constexpr std::string_view kNotFoundText = "404 NOT FOUND";

bool HoldsNotFound(std::string_view bytes) {
    auto it = std::search(bytes.begin(), bytes.end(), kNotFoundText.begin(), kNotFoundText.end(),
                          [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
    return it != bytes.end();
}

// A duration as the time picture shows it (a time value is hundredths plus 1).
std::string Clock(std::int64_t ms) { return fw::FORMAT(static_cast<double>(ms / 10 + 1), "@T4"); }

}  // namespace

std::string NotFoundTest::Feed(std::string_view chunk) {
    if (decided_) return std::string(chunk);
    held_.append(chunk);
    if (held_.size() < kNotFoundWindow) return {};
    Decide();
    return notFound_ ? std::string() : std::move(held_);
}

std::string NotFoundTest::End() {
    if (decided_) return {};
    Decide();
    return notFound_ ? std::string() : std::move(held_);
}

void NotFoundTest::Decide() {
    decided_ = true;
    notFound_ = HoldsNotFound(std::string_view(held_).substr(0, kNotFoundWindow));
}

void LineEndConverter::Convert(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size() + in.size() / 8);
    for (char c : in) {
        if (c == '\n' && !lastWasCr_) out += '\r';
        out += c;
        lastWasCr_ = c == '\r';
    }
}

DownloadFigures ComputeDownloadFigures(std::uint64_t received, std::int64_t expected, std::int64_t elapsedMs) {
    DownloadFigures f;
    elapsedMs = std::max<std::int64_t>(elapsedMs, 0);
    if (expected > 0) {
        std::uint64_t whole = static_cast<std::uint64_t>(expected);
        f.percent = received >= whole ? 100 : static_cast<int>(received * 100 / whole);
    }
    f.percentText = fw::FORMAT(f.percent, "@N3") + "% Completed";
    f.elapsedText = "Time Elapsed: " + Clock(elapsedMs);
    std::string remaining;
    if (expected > 0 && elapsedMs > 0 && received > 0) {
        const double rate = static_cast<double>(received) / static_cast<double>(elapsedMs);  // bytes per ms
        const double left = received >= static_cast<std::uint64_t>(expected)
                                ? 0.0
                                : static_cast<double>(static_cast<std::uint64_t>(expected) - received);
        remaining = Clock(static_cast<std::int64_t>(left / rate));
    }
    f.remainingText = "Time Remaining: " + remaining;
    f.bytesText = fw::FORMAT(static_cast<double>(received), "@N13") + " of " +
                  fw::FORMAT(static_cast<double>(std::max<std::int64_t>(expected, 0)), "@N13") + " Bytes Received";
    const double kbPerSecond =
        elapsedMs > 0 ? static_cast<double>(received) / static_cast<double>(elapsedMs) : 0.0;  // bytes/ms = KB/s
    f.speedText = fw::FORMAT(kbPerSecond, "@N_8.2") + " KB/s";
    return f;
}

}  // namespace exchange
