#include "exchange/autoupdate_wizard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <optional>
#include <vector>

#include "exchange/autoupdate_files.h"
#include "exchange/download_file.h"
#include "exchange/install_journal.h"
#include "exchange/instruction_list.h"
#include "exchange/program_revision.h"
#include "exchange/uncompress_update_file.h"
#include "exchange/update_file.h"
#include "platform/config/atomic_file.h"
#include "platform/data/file_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/os/program_font.h"
#include "platform/text/numbers.h"
#include "platform/text/strings.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"
#include "shell/help_convention.h"
#include "shell/program_events.h"
#include "shell/program_startup.h"
#include "shell/registry.h"

namespace exchange {
namespace {

constexpr const char* kListPath = "/update/01/autoupdate2b.inf";
constexpr const char* kFilesPath = "/update/01/";
constexpr const char* kHelpTopic = "UpdatingMainSongBaseDataFiles.htm";
// Far more than any real list or signature file holds.
constexpr std::uint64_t kMaxListBytes = 1 << 20;
constexpr std::uint64_t kMaxSignatureBytes = 4096;

constexpr const char* kRetryText =
    "AutoUpdate has experienced an error accessing|the necessary Update Files.||Do you wish to Retry?";
constexpr const char* kRevisionAvailableText =
    "A New Program Revision Exists!||Automatic Program Revisions are available|only to users running Windows XP "
    "or Above.||Please visit our web site to read about this revision.";
constexpr const char* kRevisionIncludedText =
    "This Update includes a New Cantorvale V2|Program Revision!||Do you wish to Download and Install|this Revision?";
constexpr const char* kRevisionExistsText =
    "Your Data Files are Current.||However a New Cantorvale V2|Program Revision is Available!||Do you wish to "
    "Download and Install|this Revision?";
constexpr const char* kNotNecessaryShort = "Your Data Files are Current.||Do you still wish to continue?";
constexpr const char* kNotNecessaryLong =
    "Your Data Files are Current and|No Program Revision Exists.||Do you still wish to continue?";
constexpr const char* kRestoredText = "AutoUpdate Error, original files have been restored";
constexpr const char* kUnsuccessful = "AutoUpdate Unsuccessful";

std::string Native(const std::string& programPath) { return fw::ResolvePath(programPath); }

// What the recovery of an interrupted install did, kept in the settings
// until a window can say it: "restored:", "completed:" or "unexplained:"
// and the files or the problem.
constexpr const char* kNoticeValue = "InterruptedUpdate";

void KeepNotice(const RecoveryOutcome& o) {
    std::string kept;
    std::string files;
    for (const std::string& f : o.files) files += (files.empty() ? "" : ", ") + f;
    switch (o.what) {
    case Recovery::StagingGone: kept = "untouched:" + files; break;
    case Recovery::RolledBack: kept = "restored:" + files; break;
    case Recovery::Completed: kept = "completed:" + files; break;
    case Recovery::Unexplained: kept = "unexplained:" + o.problem; break;
    default: return;
    }
    shell::PutRegistryValue(0, shell::kBasicKeyPath, kNoticeValue, kUpdateSection, kept);
}

bool Exists(const std::string& native) {
    struct stat st;
    return ::lstat(native.c_str(), &st) == 0;
}

bool YesNo(const char* text, const char* caption, int deflt) {
    return fw::MESSAGE(text, caption, fw::Icon::Question, fw::Button::Yes + fw::Button::No, deflt) == fw::Button::Yes;
}

// The installed program's place in an install: beside itself, its
// previous version kept as its .BAK.
InstallTarget ProgramTarget() {
    const std::string path = InstalledProgramPath();
    const std::size_t slash = path.rfind('/');
    InstallTarget t;
    t.folder = slash == 0 ? "/" : path.substr(0, slash);
    t.live = path.substr(slash + 1);
    t.staged = t.live + ".new";
    t.backup = t.live.substr(0, t.live.rfind('.')) + ".BAK";
    return t;
}

// The retry question: any answer but No retries.
bool Retry() {
    return fw::MESSAGE(kRetryText, "AutoUpdate Error", fw::Icon::Question, "&Yes|&No", 1,
                       fw::MessageStyle::SystemModal) != 2;
}

struct ProgramOffer {
    const Instruction* record = nullptr;
    RevisionSignature signature;
};

// One press of Next: the whole update, or as far as the user and the
// server let it go.
class UpdateRun {
public:
    enum class End { StayOpen, CloseWizard };

    UpdateRun() : folder_(fw::CLIP(shell::InstallFolder.Str())), native_(Native(folder_)) {}

    End Run() {
        // A crash in an earlier install is undone before anything opens.
        RecoverAutoUpdate();
        ShowAutoUpdateNotice();
        if (!FetchList()) return End::CloseWizard;
        long records = 0;
        {
            // The song-base files open for this press only, so nothing of
            // the wizard's holds them when they are replaced.
            shell::FileUse dmake(shell::DMakeFile()), discs(shell::DiscsFile()), karaoke(shell::KaraokeFile()),
                artists(shell::SArtistFile()), titles(shell::STitleFile());
            records = fw::RECORDS(shell::DataFile(shell::KaraokeFile()));
        }
        dataNeeded_ = static_cast<long>(fw::NumericValue(list_.records.front().version)) != records;
        FindProgramRevision();
        if (!Ask()) return End::StayOpen;
        for (const Instruction& r : list_.records) {
            const std::string download = native_ + "/" + r.newFile;
            if (Exists(download)) ::unlink(download.c_str());
        }
        if (updateFailed_) return End::StayOpen;
        for (const Instruction& r : list_.records)
            if (Needed(r)) needed_.push_back(&r);
        if (needed_.empty()) return End::StayOpen;
        if (installProgram_ && !ProgramReplaceable()) return End::StayOpen;
        if (!DownloadAll()) return End::StayOpen;
        targets_ = InstallTargetsOf(needed_);
        for (std::size_t i = 0; i < needed_.size(); ++i)
            if (needed_[i]->program) targets_[i] = ProgramTarget();
        if (!StageAll()) {
            RemoveStagedFiles(native_, targets_);
            fw::MESSAGE(kRestoredText, kUnsuccessful, fw::Icon::Exclamation);
            return End::StayOpen;
        }
        if (!Install()) return End::StayOpen;
        RecordVersions();
        return Success() ? End::CloseWizard : End::StayOpen;
    }

private:
    std::string Url(const std::string& path) const {
        std::string base = UpdateServerAddress();
        while (!base.empty() && base.back() == '/') base.pop_back();
        return base + path;
    }

    bool Needed(const Instruction& r) const { return r.program ? installProgram_ : dataNeeded_; }

    // Where a file of the update is staged, as a program path.
    std::string StagedPath(std::size_t i) const {
        const InstallTarget& t = targets_[i];
        if (t.folder.empty()) return folder_ + fw::kPathSeparator + t.staged;
        return fw::ProgramPathText(t.folder + "/" + t.staged);
    }

    // A revision can replace the installed program only where this user
    // may make files beside it; else nothing is downloaded or replaced.
    bool ProgramReplaceable() const {
        const InstallTarget t = ProgramTarget();
        const std::string probe = t.folder + "/" + t.staged;
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return true;
        }
        const int error = errno;
        std::string why;
        if (error == EROFS) why = "it is on a disk that cannot be written";
        else if (error == EACCES || error == EPERM)
            why = "its folder " + t.folder + " may be changed only by the user who installed the program";
        else why = std::string("its folder cannot be written (") + std::strerror(error) + ")";
        fw::MESSAGE("The program revision cannot be installed: the program file|" + t.folder + "/" + t.live +
                        "|cannot be replaced, because " + why + ".||Nothing has been changed.",
                    kUnsuccessful, fw::Icon::Exclamation);
        return false;
    }

    // Step 1: the list, complete and usable, or the retry question.
    bool FetchList() {
        const std::string listPath = folder_ + fw::kPathSeparator + kInstructionListFile;
        const std::string partial = listPath + ".download";
        for (;;) {
            DownloadConvertLineEnds = 1;
            DownloadTotalSize = 0;
            AutoUpdateStatusText = "Downloading AutoUpdate Instructions";
            DownloadReport report = DownloadFileReport(Url(kListPath), partial,
                                                     {.maxBytes = kMaxListBytes, .requireKnownLength = true});
            std::string problem;
            if (report.status == DownloadStatus::Complete && report.bytes > 0) {
                ::unlink(Native(listPath).c_str());
                if (RenameNoReplace(Native(partial), Native(listPath)) != 0) problem = "the list cannot be saved";
                if (problem.empty()) {
                    list_ = ReadInstructionList(listPath);
                    CheckInstructionList(list_);
                    problem = list_.problem;
                    if (problem.empty()) return true;
                }
                fw::MESSAGE("The AutoUpdate Instructions from the server cannot be used:|" + problem,
                            "AutoUpdate Error", fw::Icon::Exclamation);
            }
            ::unlink(Native(partial).c_str());
            if (!Retry()) return false;
        }
    }

    // Step 3: a newer program revision with a good release signature.
    void FindProgramRevision() {
        for (const Instruction& r : list_.records) {
            if (!r.program || !IsNewerVersion(r.version, shell::ProgramVersion.Str())) continue;
            if (shell::OsVersionInfo.majorVersion < 5) {
                fw::MESSAGE(kRevisionAvailableText, "Program Revision Available", fw::Icon::Exclamation);
                offer_.reset();
                continue;
            }
            RevisionSignature signature;
            if (!FetchSignature(r, signature)) continue;
            offer_ = ProgramOffer{&r, signature};
        }
    }

    bool FetchSignature(const Instruction& r, RevisionSignature& signature) {
        const std::string sigPath = folder_ + fw::kPathSeparator + r.newFile + ".sig";
        DownloadConvertLineEnds = 0;
        DownloadTotalSize = 0;
        AutoUpdateStatusText = "Downloading Update File: " + r.newFile + ".sig";
        DownloadReport report = DownloadFileReport(Url(std::string(kFilesPath) + r.newFile + ".sig"), sigPath,
                                                   {.showErrors = false, .maxBytes = kMaxSignatureBytes});
        std::string text;
        bool ok = report.status == DownloadStatus::Complete &&
                  fw::ReadWholeFile(Native(sigPath), text) == fw::FileReadResult::Read &&
                  ParseSignatureFile(text, signature) && VerifyRevision(r, signature);
        ::unlink(Native(sigPath).c_str());
        return ok;
    }

    // Step 4: false ends this press with the wizard open.
    bool Ask() {
        const bool revision = offer_.has_value();
        if (dataNeeded_ && revision) {
            installProgram_ = YesNo(kRevisionIncludedText, "Program Revision Included", fw::Button::Yes);
        } else if (revision) {
            installProgram_ = YesNo(kRevisionExistsText, "Program Revision Exists", fw::Button::Yes);
            if (!installProgram_) return false;
        } else if (!dataNeeded_) {
            const bool xp = fw::CLIP(shell::OsName.Str()) == "XP";
            if (YesNo(xp ? kNotNecessaryLong : kNotNecessaryShort, "Update is Not Necessary", fw::Button::No))
                dataNeeded_ = true;
            else
                updateFailed_ = true;
        }
        return true;
    }

    // Step 6: each needed file, whole, of its listed size (and a program
    // revision of its signed digest), or the retry question.
    bool DownloadAll() {
        DownloadConvertLineEnds = 0;
        for (const Instruction* r : needed_) {
            const std::string dest = folder_ + fw::kPathSeparator + r->newFile;
            for (;;) {
                AutoUpdateStatusText = "Downloading Update File: " + r->newFile;
                DownloadTotalSize = static_cast<std::int32_t>(std::min<std::uint64_t>(r->size, INT32_MAX));
                DownloadReport report = DownloadFileReport(Url(kFilesPath + r->newFile), dest, {.maxBytes = r->size});
                bool ok = report.status == DownloadStatus::Complete && report.bytes == r->size;
                if (ok && r->program) {
                    fw::Digest digest{};
                    ok = fw::Sha256File(Native(dest), digest) && digest == offer_->signature.digest;
                }
                if (ok) break;
                if (!Retry()) return false;
            }
        }
        return true;
    }

    // Steps 7 and 8, staged: every file inflated beside the one it
    // replaces and checked, nothing live touched yet.
    bool StageAll() {
        // Noted before the first is made: a crash while staging leaves
        // nothing that the next start does not remove.
        if (!NoteStaging(native_, targets_)) {
            fw::MESSAGE("The update cannot be prepared: the install journal cannot be written in " + folder_,
                        "AutoUpdate Error", fw::Icon::Exclamation);
            return false;
        }
        for (std::size_t i = 0; i < needed_.size(); ++i) {
            const Instruction& r = *needed_[i];
            const std::string source = folder_ + fw::kPathSeparator + r.newFile;
            const std::string staged = StagedPath(i);
            if (UncompressUpdateFile(source, staged, InflateCapFor(r.size)) != 1) {
                fw::MESSAGE("Error uncompressing " + folder_ + fw::kPathSeparator + r.newFile);
                return false;
            }
            std::string why;
            if (r.program) {
                why = CheckProgramFile(Native(staged));
                if (why.empty() && ::chmod(Native(staged).c_str(), 0755) != 0) why = "it cannot be made runnable";
            } else {
                long records = 0;
                why = CheckStagedDataFile(r.oldFile, Native(staged), records);
            }
            if (!why.empty()) {
                fw::MESSAGE("The update file " + r.newFile + " does not hold a usable " + r.oldFile + ":|" + why,
                            "AutoUpdate Error", fw::Icon::Exclamation);
                return false;
            }
        }
        return true;
    }

    // The swap, once nothing holds the files.
    bool Install() {
        // Held from the check to the end of the swap: no copy of the
        // program opens a file while it is replaced.
        std::vector<fw::data::FileUse> holds;
        const std::string busy = HoldTargets(native_, targets_, holds);
        if (!busy.empty()) {
            RemoveStagedFiles(native_, targets_);
            fw::MESSAGE(busy + " is in use.||Please close the SongBook and Main SongBase windows,|then press Next "
                               "again.",
                        "AutoUpdate", fw::Icon::Exclamation);
            return false;
        }
        fw::RemoveFontResource(shell::kProgramFontFile);
        InstallOutcome outcome = SwapInStagedFiles(native_, targets_);
        fw::AddFontResource(shell::kProgramFontFile, folder_);
        if (outcome.ok) return true;
        if (outcome.notRestored.empty()) {
            fw::MESSAGE(kRestoredText, kUnsuccessful, fw::Icon::Exclamation);
        } else {
            std::string text = "AutoUpdate Error, these files could not be restored:";
            for (const std::string& n : outcome.notRestored) text += "|" + n;
            fw::MESSAGE(text, kUnsuccessful, fw::Icon::Hand);
        }
        return false;
    }

    // Step 10.
    void RecordVersions() {
        long records = 0;
        {
            shell::FileUse karaoke(shell::KaraokeFile());
            records = fw::RECORDS(shell::DataFile(shell::KaraokeFile()));
        }
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "DataFile", shell::kVersionSection, records);
        if (installProgram_)
            shell::PutRegistryValue(0, shell::kBasicKeyPath, "MainApp", shell::kVersionSection,
                                    offer_->record->version);
    }

    // Step 11: true when the user pressed Finished.
    bool Success() {
        fw::Window window("P1$SUCCESSWINDOW");
        window.Open();
        if (installProgram_) {
            fw::UNHIDE("?RESTART1");
            fw::UNHIDE("?RESTART2");
        }
        while (fw::ACCEPT()) {
            if (fw::ACCEPTED() == "?FINISHED") return true;
        }
        return false;
    }

    std::string folder_;  // the install folder, program text
    std::string native_;  // the same on disk
    InstructionList list_;
    bool dataNeeded_ = false;
    bool installProgram_ = false;
    bool updateFailed_ = false;
    std::optional<ProgramOffer> offer_;
    std::vector<const Instruction*> needed_;
    std::vector<InstallTarget> targets_;
};

}  // namespace

std::string UpdateServerAddress() {
    return shell::GetRegistryValue(0, shell::kBasicKeyPath, kDefaultUpdateServer, "UpdateServer", kUpdateSection);
}

void RecoverAutoUpdate() {
    const std::string folder = fw::CLIP(shell::InstallFolder.Str());
    if (folder.empty()) return;
    const std::string native = Native(folder);
    const InstallTarget program = ProgramTarget();
    RecoveryOutcome outcome =
        RecoverInstall(native, {program.folder}, [](const RecoveryOutcome& o) { KeepNotice(o); });
    if (outcome.what == Recovery::Unexplained) KeepNotice(outcome);
    else RemoveUnclaimedStagedFiles(native, program.folder + "/" + program.staged);
}

std::string AutoUpdateNotice() {
    const std::string kept = shell::GetRegistryValue(0, shell::kBasicKeyPath, "", kNoticeValue, kUpdateSection);
    const std::size_t colon = kept.find(':');
    if (colon == std::string::npos) return {};
    const std::string kind = kept.substr(0, colon), detail = kept.substr(colon + 1);
    if (kind == "restored")
        return "AutoUpdate was interrupted before it had replaced every file.||The files it was replacing are "
               "back as they were before it:|" +
               detail + "||Run AutoUpdate again to bring them up to date.";
    if (kind == "untouched")
        return "AutoUpdate was interrupted before it had replaced any file.||The files it was to replace are "
               "as they were before it:|" +
               detail + "||Run AutoUpdate again to bring them up to date.";
    if (kind == "completed")
        return "AutoUpdate was interrupted after it had replaced every file.||The new files are in place:|" + detail;
    if (kind == "unexplained")
        return "An interrupted AutoUpdate could not be undone:|" + detail +
               "||Nothing has been removed. Please reinstall the Main SongBase files.";
    return {};
}

void ShowAutoUpdateNotice() {
    const std::string kept = shell::GetRegistryValue(0, shell::kBasicKeyPath, "", kNoticeValue, kUpdateSection);
    const std::string text = AutoUpdateNotice();
    if (text.empty()) return;
    shell::PutRegistryValue(0, shell::kBasicKeyPath, kNoticeValue, kUpdateSection, "");
    if (kept.starts_with("completed"))
        fw::MESSAGE(text, "AutoUpdate", fw::Icon::Asterisk);
    else
        fw::MESSAGE(text, kUnsuccessful, kept.starts_with("unexplained") ? fw::Icon::Hand : fw::Icon::Exclamation);
}

void AutoUpdateWizard() {
    RecoverAutoUpdate();
    ShowAutoUpdateNotice();
    fw::Window window("P1$AUTOUPDATEWIZARD");
    window.Open();
    shell::PostFrameEvent(shell::program_event::DisableOpenAndUpdate);
    bool end = false;
    while (!end && fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?NEXT") {
            UpdateRun run;
            end = run.Run() == UpdateRun::End::CloseWizard;
        } else if (accepted == "?CANCEL") {
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?HELP") {
            shell::ShowProgramHelp(kHelpTopic);
        }
    }
    shell::PostFrameEvent(shell::program_event::EnableOpenAndUpdate);
    shell::ActionOutcome() = end ? shell::outcome::Completed : shell::outcome::Cancelled;
}

}  // namespace exchange
