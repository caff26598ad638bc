#pragma once
// A file written beside the one it is to replace and put in its place only
// when complete, so an export that is killed, fails on a full disk or is
// cancelled leaves the previous file whole.
//
//   exchange::ReplacementFile out(fileName);
//   if (!out.Begin()) ...;                 // ERRORCODE says why
//   file.name = out.Name(); ... write, CLOSE (which syncs) ...
//   if (!out.PutInPlace()) ...;            // otherwise the old file stays
//
// The temporary file is ".cv-export-<process>-<random>" (temp_files.h) in
// the target's folder. It is noted in the configuration folder before it
// is made, so one that a killed program left is removed at the next start
// (RemoveExportLeftovers), wherever it was written.

#include <functional>
#include <string>

namespace exchange {

class ReplacementFile {
public:
    explicit ReplacementFile(std::string target);  // program path
    ~ReplacementFile();                            // not put in place: the temporary file goes
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Notes and names the temporary file; false (ERRORCODE set) when the
    // target's folder cannot be used.
    bool Begin();
    // The temporary file (program path) to write to.
    const std::string& Name() const { return name_; }
    // Renames the written file over the target (keeping the target's
    // permissions) and syncs the folder; false with ERRORCODE set, the old
    // file then left as it was.
    bool PutInPlace();

private:
    void Forget();

    std::string target_;
    std::string targetDisk_;
    std::string tempDisk_;
    std::string notePath_;
    std::string name_;
    bool placed_ = false;
};

// Removes the temporary files of exports whose program has ended, as the
// notes name them, and the notes. Run at start.
void RemoveExportLeftovers();

// The folder of the notes (in the configuration folder).
std::string ExportNotesFolder();

// Tests stop the program at the steps of PutInPlace ("renaming",
// "renamed", "done"); empty: no hook.
void SetReplacementStepHook(std::function<void(const char* step)> hook);

}  // namespace exchange
