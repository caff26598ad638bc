#pragma once
// Checked opening of the global data files and the use-counter convention.
// OpenFileChecked turns every way an open can fail into its warning: a
// locked file is recovered and opened once more, a missing file is created
// when the caller allows it, damaged keys are rebuilt when the user agrees,
// and anything else ends the program. When it returns, the file is open.

#include "shell/data_dictionary_file_entry.h"

namespace shell {

struct CallingState;

// What a checked open needs of the data layer, for the calling thread's
// instance of a file. Each call leaves its outcome in the thread's error
// state (ERRORCODE). The data layer plugs in its OPEN (read/write, deny
// none), SEND "Recover=10", CREATE, BUILD and CLOSE.
class CheckedFileDriver {
public:
    virtual ~CheckedFileDriver() = default;
    virtual void Open(const FileEntry& file) = 0;
    virtual void Recover(const FileEntry& file) = 0;
    virtual void Create(const FileEntry& file) = 0;
    virtual void Build(const FileEntry& file) = 0;
    virtual void Close(const FileEntry& file) = 0;
};

// The driver to use; nullptr means none, and every open then fails with a
// file-system error (warning 30, then the halt "Disk Error").
void SetCheckedFileDriver(CheckedFileDriver* driver);

// Opens file, named in messages by its name variable (its full path).
void OpenFileChecked(const FileEntry& file, bool createIfMissing);

// The use-counter convention: the first use in a thread opens the file
// (OpenFileChecked), every use adds 1 to the thread's counter, and the end
// of the use, by whatever path, subtracts 1 and closes the file at 0.
class FileUse {
public:
    explicit FileUse(const FileEntry& file, bool createIfMissing = true);
    ~FileUse();
    FileUse(const FileUse&) = delete;
    FileUse& operator=(const FileUse&) = delete;

private:
    const FileEntry& file_;
    CallingState* state_;
};

}  // namespace shell
