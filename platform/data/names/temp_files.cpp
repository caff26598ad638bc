#include "platform/data/names/temp_files.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fw {
namespace {

constexpr std::string_view kStart = ".cv-";

}  // namespace

std::string TempFilePrefix(std::string_view what) {
    return std::string(kStart) + std::string(what) + "-" + std::to_string(::getpid()) + "-";
}

bool IsLeftoverTempFile(std::string_view name, bool includeOwn) {
    if (name.substr(0, kStart.size()) != kStart) return false;
    name.remove_prefix(kStart.size());
    // <what>-<pid>-<random>: the what is letters only.
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos) return false;
    for (const char c : name.substr(0, dash))
        if (c < 'a' || c > 'z') return false;
    name.remove_prefix(dash + 1);
    long pid = 0;
    std::size_t digits = 0;
    while (digits < name.size() && digits < 10 && name[digits] >= '0' && name[digits] <= '9')
        pid = pid * 10 + (name[digits++] - '0');
    if (digits == 0 || digits >= name.size() || name[digits] != '-' || pid <= 0) return false;
    if (pid == ::getpid()) return includeOwn;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

int RemoveLeftoverTempFiles(const std::string& folder, bool includeOwn) {
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) continue;
        if (!IsLeftoverTempFile(it->path().filename().string(), includeOwn)) continue;
        std::error_code removeError;
        if (fs::remove(it->path(), removeError)) ++removed;
    }
    return removed;
}

}  // namespace fw
