#include "tests/support/cups_server.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace cvtest {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
// cups-pdf reads its settings from here, by the name in the device URI.
constexpr const char* kBackendConfFolder = "/etc/cups";

std::string Capture(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = ::pclose(p);
    if (status) *status = rc;
    return out;
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

}  // namespace

CupsServer& CupsServer::Shared() {
    static CupsServer server;
    return server;
}

CupsServer::CupsServer() { Start(); }

bool CupsServer::Run(const std::string& command, std::string* output) const {
    int status = 0;
    std::string out = Capture("CUPS_SERVER='" + socket_ + "' " + command, &status);
    if (output) *output = out;
    return status == 0;
}

void CupsServer::Start() {
    if (!fs::exists(kCupsd)) {
        reason_ = "cupsd is not installed (package cups)";
        return;
    }
    if (!fs::exists(kBackend) || !fs::exists(kPpd)) {
        reason_ = "the cups-pdf backend is not installed (package printer-driver-cups-pdf)";
        return;
    }
    if (::geteuid() != 0) {
        reason_ = "cupsd runs the cups-pdf backend as root; this test program does not run as root";
        return;
    }
    char tmpl[] = "/tmp/cv-cups-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        reason_ = "cannot make a temporary folder";
        return;
    }
    root_ = tmpl;
    fs::path root(root_);
    for (const char* d : {"conf", "spool", "cache", "state", "log", "out"}) fs::create_directories(root / d);
    out_ = (root / "out").string();
    socket_ = (root / "state" / "cups.sock").string();
    queue_ = "cvtest";
    // cupsd drops to "lp" for filters; they must reach the spool and output.
    fs::permissions(root, fs::perms::all);
    for (const char* d : {"spool", "out"}) fs::permissions(root / d, fs::perms::all);

    WriteFile(root / "conf" / "cupsd.conf",
              "Listen " + socket_ + "\n"
              "LogLevel warn\nErrorPolicy abort-job\nWebInterface No\nBrowsing No\n"
              "DefaultAuthType None\nMaxJobs 0\nPreserveJobFiles No\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n");
    WriteFile(root / "conf" / "cups-files.conf",
              "ServerRoot " + (root / "conf").string() + "\nRequestRoot " + (root / "spool").string() +
                  "\nCacheDir " + (root / "cache").string() + "\nStateDir " + (root / "state").string() +
                  "\nTempDir " + (root / "spool").string() + "\nErrorLog " + (root / "log" / "error_log").string() +
                  "\nAccessLog " + (root / "log" / "access_log").string() + "\nPageLog " +
                  (root / "log" / "page_log").string() + "\nUser lp\nGroup lp\nSystemGroup root\nSandboxing Relaxed\n");
    // The backend's own settings: this server's output folder. The name is
    // this process's, so parallel test programs never share one.
    std::string instance = "cvtest" + std::to_string(::getpid());
    backendConf_ = std::string(kBackendConfFolder) + "/cups-pdf-" + instance + ".conf";
    {
        std::ofstream conf(backendConf_);
        conf << "Out " << out_ << "\nAnonDirName " << out_ << "\nSpool " << (root / "spool" / "cups-pdf").string()
             << "\nLabel 0\nUserPrefix\nLog " << (root / "log").string() << "\nGrp root\n";
        if (!conf) {
            reason_ = "cannot write the cups-pdf settings " + backendConf_;
            backendConf_.clear();
            return;
        }
    }

    pid_t pid = ::fork();
    if (pid == 0) {
        std::string conf = (root / "conf" / "cupsd.conf").string(), files = (root / "conf" / "cups-files.conf").string();
        std::freopen((root / "log" / "cupsd.out").c_str(), "w", stdout);
        std::freopen((root / "log" / "cupsd.out").c_str(), "a", stderr);
        ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) {
        reason_ = "cannot start cupsd";
        return;
    }
    pid_ = pid;
    // Wait for its socket.
    for (int i = 0; i < 200 && !fs::exists(socket_); ++i) {
        int status;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            std::ifstream log(root / "log" / "cupsd.out");
            std::string why((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
            reason_ = "cupsd cannot run here: " + why;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    // pdftocairo keeps the texts readable when the job's PDF is turned into
    // PostScript for the backend (the other converters lose the mapping).
    std::string out;
    if (!Run("lpadmin -p " + queue_ + " -E -v cups-pdf:/" + instance + " -P " + kPpd +
                 " -o pdftops-renderer-default=pdftocairo", &out) ||
        !Run("lpstat -p " + queue_, &out)) {
        reason_ = "cupsd did not take the cups-pdf queue: " + out;
        return;
    }
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    // libcups reads CUPS_SERVER once; a process that already talked to
    // CUPS (a QPrinter made by an earlier test) is pointed here as well.
    using SetServer = void (*)(const char*);
    if (void* cups = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_GLOBAL))
        if (auto set = reinterpret_cast<SetServer>(::dlsym(cups, "cupsSetServer"))) set(socket_.c_str());
    running_ = true;
}

std::vector<std::string> CupsServer::WaitForJobs(std::size_t count, int timeoutMs) const {
    std::vector<std::string> files;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (running_) {
        files.clear();
        std::vector<std::pair<fs::file_time_type, std::string>> found;
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(out_, ec))
            if (e.path().extension() == ".pdf") found.emplace_back(e.last_write_time(ec), e.path().string());
        std::sort(found.begin(), found.end());
        for (auto& f : found) files.push_back(f.second);
        std::string pending;
        Run("lpstat -o " + queue_, &pending);
        if (files.size() >= count && pending.find(queue_ + "-") == std::string::npos) break;
        if (std::chrono::steady_clock::now() > until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return files;
}

void CupsServer::ClearOutput() const {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(out_, ec)) fs::remove_all(e.path(), ec);
}

CupsServer::~CupsServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status;
        for (int i = 0; i < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
    }
    std::error_code ec;
    if (!backendConf_.empty()) fs::remove(backendConf_, ec);
    if (!root_.empty()) fs::remove_all(root_, ec);
}

std::string PdfText(const std::string& pdf) {
    int status = 0;
    std::string text = Capture("pdftotext -layout '" + pdf + "' -", &status);
    return status == 0 ? text : std::string();
}

int PdfPages(const std::string& pdf) {
    int status = 0;
    std::string info = Capture("pdfinfo '" + pdf + "'", &status);
    std::size_t at = info.find("Pages:");
    if (status != 0 || at == std::string::npos) return 0;
    return std::atoi(info.c_str() + at + 6);
}

}  // namespace cvtest
