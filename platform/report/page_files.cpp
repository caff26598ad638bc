#include "platform/report/page_files.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/ui/message.h"

namespace fw::report {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "cv-report-";

// The cause in words: a full disk is named as such.
std::string Why(const std::string& what, int error) {
    if (error == ENOSPC || error == EDQUOT) return what + ": there is no room left on its disk.";
    return what + ": " + std::strerror(error) + ".";
}

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
        if (ec) {
            problem_ = Why("The report's page folder cannot be made in the temporary folder " + root.string(),
                           ec.value());
            return;
        }
    }
    problem_ = "The report's page folder cannot be made in the temporary folder " + root.string() + ".";
}

PageFolder::~PageFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string PageFolder::Write(const Page& page) {
    if (failed_) return {};
    if (path_.empty()) {
        Fail(problem_);
        return {};
    }
    std::string file = path_ + "/page" + std::to_string(next_++) + ".cvp";
    const std::string bytes = Serialize(page);
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    int error = fd < 0 ? errno : 0;
    for (std::size_t done = 0; fd >= 0 && error == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error = n < 0 ? errno : EIO;
        else done += static_cast<std::size_t>(n);
    }
    if (fd >= 0 && ::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(file.c_str());
        Fail(Why("A page of the report cannot be written in the temporary folder " + path_, error));
        return {};
    }
    written_.push_back(file);
    return file;
}

void PageFolder::Fail(const std::string& problem) {
    failed_ = true;
    problem_ = problem;
    for (const std::string& f : written_) ::unlink(f.c_str());
    written_.clear();
    fw::MESSAGE(problem_ + "||The report has been stopped and the pages made so far have been removed.",
                "Report Error", fw::Icon::Exclamation);
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
