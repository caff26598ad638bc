#include "platform/report/page_files.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace fw::report {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "cv-report-";

fs::path TempRoot() {
    std::error_code ec;
    fs::path p = fs::temp_directory_path(ec);
    return ec ? fs::path("/tmp") : p;
}

}  // namespace

PageFolder::PageFolder() {
    static std::atomic<int> serial{0};
    fs::path root = TempRoot();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path p = root / (std::string(kPrefix) + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.string();
            return;
        }
        if (ec) throw std::runtime_error("cannot make the report's page folder in " + root.string() + ": " + ec.message());
    }
    throw std::runtime_error("cannot make the report's page folder in " + root.string());
}

PageFolder::~PageFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string PageFolder::Write(const Page& page) {
    std::string file = path_ + "/page" + std::to_string(next_++) + ".cvp";
    std::string bytes = Serialize(page);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write the report page " + file);
    return file;
}

PageList PageList::Select(const std::vector<int>& indices) const {
    std::vector<PageEntry> chosen;
    chosen.reserve(indices.size());
    for (int i : indices) chosen.push_back(At(i));
    return PageList(folder_, std::move(chosen), pageCount_);
}

void PageList::Delete(int i) {
    const PageEntry& e = At(i);
    std::error_code ec;
    fs::remove(e.file, ec);
    pages_.erase(pages_.begin() + i);
}

Page PageList::Load(int i) const {
    const PageEntry& e = At(i);
    std::ifstream in(e.file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the report page " + e.file);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(bytes);
}

void CleanLeftoverPageFolders() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(TempRoot(), ec)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0 || !entry.is_directory(ec)) continue;
        std::string rest = name.substr(std::char_traits<char>::length(kPrefix));
        std::size_t dash = rest.find('-');
        if (dash == std::string::npos) continue;
        pid_t pid = 0;
        try {
            pid = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
        } catch (...) {
            continue;
        }
        if (pid == ::getpid()) continue;
        if (pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM)) continue;  // that run is still alive
        fs::remove_all(entry.path(), ec);
    }
}

}  // namespace fw::report
