#include "exchange/replacement_file.h"

#include "platform/config/atomic_file.h"
#include "platform/config/config_folder.h"
#include "platform/data/names/file_errors.h"
#include "platform/data/names/path_names.h"
#include "platform/data/names/temp_files.h"
#include "platform/runtime/error_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

namespace exchange {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTempKind = "export";
constexpr std::string_view kTempStart = ".cv-export-";

std::function<void(const char*)>& StepHook() {
    static std::function<void(const char*)> hook;
    return hook;
}
void Step(const char* step) {
    if (StepHook()) StepHook()(step);
}

std::string RandomPart() {
    std::random_device device;
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", device(), device());
    return text;
}

bool IsExportTemp(const std::string& name, bool includeOwn) {
    return name.rfind(kTempStart, 0) == 0 && fw::IsLeftoverTempFile(name, includeOwn);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string ExportNotesFolder() { return fw::ConfigFolder() + "/export-notes"; }

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target)) {}

ReplacementFile::~ReplacementFile() {
    if (!placed_ && !tempDisk_.empty()) ::unlink(tempDisk_.c_str());
    Forget();
}

void ReplacementFile::Forget() {
    if (notePath_.empty()) return;
    std::error_code ec;
    fs::remove(notePath_, ec);
    notePath_.clear();
}

bool ReplacementFile::Begin() {
    targetDisk_ = fw::ResolvePath(target_);
    // A link is followed: the file it names is the one replaced.
    std::error_code linkError;
    if (fs::is_symlink(targetDisk_, linkError)) {
        const fs::path real = fs::canonical(targetDisk_, linkError);
        if (!linkError) targetDisk_ = real.string();
    }
    fs::path folder = fs::path(targetDisk_).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fw::SetSystemError(ENOENT, folder.string());
        return false;
    }
    // What killed exports left in this folder goes first.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code removeError;
        if (IsExportTemp(name, false)) fs::remove(it->path(), removeError);
    }
    const std::string tempName = fw::TempFilePrefix(kTempKind) + RandomPart();
    tempDisk_ = (folder / tempName).string();
    // The note comes before the file, so no temporary file is ever unnoted.
    std::error_code noteError;
    fs::create_directories(ExportNotesFolder(), noteError);
    const std::string note = ExportNotesFolder() + "/" + tempName;
    if (fw::ReplaceFileAtomically(note, fs::absolute(tempDisk_, noteError).lexically_normal().string()))
        notePath_ = note;
    name_ = fw::ProgramPathText(tempDisk_);
    fw::ClearError();
    return true;
}

bool ReplacementFile::PutInPlace() {
    if (tempDisk_.empty()) {
        fw::SetError(fw::NotOpenErr);
        return false;
    }
    struct stat old {};
    if (::stat(targetDisk_.c_str(), &old) == 0) ::chmod(tempDisk_.c_str(), old.st_mode & 07777);
    Step("renaming");
    if (::rename(tempDisk_.c_str(), targetDisk_.c_str()) != 0) {
        fw::SetSystemError(errno, targetDisk_);
        return false;
    }
    placed_ = true;
    fs::path folder = fs::path(targetDisk_).parent_path();
    SyncFolder(folder.empty() ? "." : folder.string());
    Step("renamed");
    Forget();
    Step("done");
    fw::ClearError();
    return true;
}

void RemoveExportLeftovers() {
    std::error_code ec;
    for (fs::directory_iterator it(ExportNotesFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsExportTemp(name, true)) continue;
        std::string temp;
        if (fw::ReadWholeFile(it->path().string(), temp) == fw::FileReadResult::Read &&
            fs::path(temp).filename().string() == name) {
            std::error_code removeError;
            fs::remove(temp, removeError);
        }
        std::error_code removeError;
        fs::remove(it->path(), removeError);
    }
    // A note of its own that a killed program was still writing.
    fw::RemoveLeftoverTempFiles(ExportNotesFolder(), true);
}

void SetReplacementStepHook(std::function<void(const char* step)> hook) { StepHook() = std::move(hook); }

}  // namespace exchange
