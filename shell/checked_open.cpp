#include "shell/checked_open.h"

#include "shell/data_dictionary_thread_state.h"
#include "shell/message_box.h"
#include "shell/warnings.h"

#include "platform/runtime/error_state.h"

#include <string>

namespace shell {
namespace {

// Without a data layer nothing can be opened.
class NoDriver final : public CheckedFileDriver {
public:
    void Open(const FileEntry&) override { Fail(); }
    void Recover(const FileEntry&) override {}
    void Create(const FileEntry&) override { Fail(); }
    void Build(const FileEntry&) override { Fail(); }
    void Close(const FileEntry&) override {}

private:
    static void Fail() { fw::SetFileError(fw::FileSystemErr, "0", "No data layer"); }
};

NoDriver& None() {
    static NoDriver none;
    return none;
}

CheckedFileDriver*& Driver() {
    static CheckedFileDriver* driver = &None();
    return driver;
}

bool IsOpen(int code) { return code == fw::NoError || code == fw::IsOpenErr; }

std::string FileName(const FileEntry& file) {
    return file.nameVariable ? file.nameVariable->Str() : file.label;
}

}  // namespace

void SetCheckedFileDriver(CheckedFileDriver* driver) { Driver() = driver ? driver : &None(); }

void OpenFileChecked(const FileEntry& file, bool createIfMissing) {
    CheckedFileDriver& d = *Driver();
    const std::string name = FileName(file);
    d.Open(file);
    if (fw::ERRORCODE() == fw::IsLockedErr) {
        d.Recover(file);
        d.Open(file);
    }
    const int code = fw::ERRORCODE();
    if (IsOpen(code)) return;
    if (code == fw::NoFileErr) {
        // Warnings 4 and 5 halt.
        if (!createIfMissing) ShowWarningOneText(4, name);
        d.Create(file);
        if (fw::ERRORCODE() != fw::NoError) ShowWarningOneText(4, name);
        d.Open(file);
        if (!IsOpen(fw::ERRORCODE())) ShowWarningOneText(5, name);
        return;
    }
    if (code == fw::InvalidFileErr) ShowWarningOneText(1, name);  // halts
    if (code == fw::NeedRebuildErr) {
        ShowWarningOneText(2, name);  // returns only when the user chose to rebuild
        d.Build(file);
        if (fw::ERRORCODE() != fw::NoError) ShowWarningOneText(3, name);  // halts
        d.Open(file);
        if (IsOpen(fw::ERRORCODE())) return;
    }
    ShowWarningOneText(30, name);
    Halt("Disk Error");
}

FileUse::FileUse(const FileEntry& file, bool createIfMissing) : file_(file), state_(&Calling()) {
    std::int32_t& count = state_->*file_.useCounter;
    if (count == 0) OpenFileChecked(file_, createIfMissing);
    ++count;
}

FileUse::~FileUse() {
    std::int32_t& count = state_->*file_.useCounter;
    if (--count == 0) Driver()->Close(file_);
}

}  // namespace shell
