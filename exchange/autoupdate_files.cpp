#include "exchange/autoupdate_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "platform/data/database.h"
#include "platform/data/file_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"

namespace exchange {
namespace {

std::string Base(const std::string& name) { return name.substr(0, name.rfind('.')); }

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::vector<InstallTarget> InstallTargetsOf(const std::vector<const Instruction*>& records) {
    std::map<std::string, int> bases;
    for (const Instruction* r : records) ++bases[fw::UPPER(Base(r->oldFile))];
    std::vector<InstallTarget> targets;
    for (const Instruction* r : records) {
        InstallTarget t;
        t.live = r->oldFile;
        t.staged = r->oldFile + ".new";
        t.backup = (bases[fw::UPPER(Base(r->oldFile))] > 1 ? r->oldFile : Base(r->oldFile)) + ".BAK";
        targets.push_back(std::move(t));
    }
    return targets;
}

std::string CheckStagedDataFile(const std::string& oldFile, const std::string& stagedNative, long& records) {
    const shell::FileEntry* plan = nullptr;
    for (const shell::FileEntry* f : shell::DataFiles())
        if (!f->fixedName.empty() && fw::UPPER(f->fixedName) == fw::UPPER(oldFile)) plan = f;
    if (!plan) return "not a file of the Main SongBase";
    // An earlier program's file is converted where it lies, its original
    // kept beside it under this name; a staged copy needs no original.
    const std::string kept = stagedNative + ".tps-original";
    ::unlink(kept.c_str());
    std::string problem;
    {
        fw::FileDecl decl = shell::FileDeclOf(*plan);
        decl.name = fw::FixedName(fw::ProgramPathText(stagedNative));
        fw::File file(decl);
        fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
        if (fw::ERRORCODE() != 0) {
            problem = fw::ERROR();
            if (!fw::FILEERROR().empty() && fw::FILEERROR() != problem) problem += " (" + fw::FILEERROR() + ")";
        } else {
            records = fw::RECORDS(file);
            fw::CLOSE(file);
        }
    }
    ::unlink(kept.c_str());
    ::unlink((stagedNative + "-journal").c_str());
    return problem;
}

std::string TargetInUse(const std::string& folderNative, const std::vector<InstallTarget>& targets) {
    for (const InstallTarget& t : targets) {
        const std::string live = folderNative + "/" + t.live;
        if (fw::data::FindDatabase(live) || fw::data::IsFileInUse(live)) return t.live;
        for (const char* side : {"-journal", "-wal", "-shm"})
            if (Exists(live + side)) return t.live;
    }
    return {};
}

std::string HoldTargets(const std::string& folderNative, const std::vector<InstallTarget>& targets,
                        std::vector<fw::data::FileUse>& holds) {
    holds.clear();
    std::vector<InstallTarget> data;
    for (const InstallTarget& t : targets)
        if (t.folder.empty()) data.push_back(t);
    if (std::string busy = TargetInUse(folderNative, data); !busy.empty()) return busy;
    for (const InstallTarget& t : data) {
        const std::string live = folderNative + "/" + t.live;
        if (!Exists(live)) continue;
        holds.emplace_back();
        if (!holds.back().Take(live, fw::data::FileUse::Exclusive)) {
            holds.clear();
            return t.live;
        }
    }
    return {};
}

void RemoveStagedFiles(const std::string& folderNative, const std::vector<InstallTarget>& targets) {
    DropStaging(folderNative, targets);
    for (const InstallTarget& t : targets) {
        const std::string staged = (t.folder.empty() ? folderNative : t.folder) + "/" + t.staged;
        for (const char* side : {"", ".tps-original", "-journal"}) ::unlink((staged + side).c_str());
    }
}

void RemoveUnclaimedStagedFiles(const std::string& folderNative, const std::string& programStaged) {
    if (Exists(folderNative + "/" + kInstallJournalFile)) return;
    for (const shell::FileEntry* f : shell::DataFiles()) {
        if (f->fixedName.empty()) continue;
        const std::string staged = folderNative + "/" + f->fixedName + ".new";
        for (const char* side : {"", ".tps-original", "-journal"}) ::unlink((staged + side).c_str());
    }
    if (!programStaged.empty()) ::unlink(programStaged.c_str());
    // A journal being replaced when the program was killed: its temporary copy.
    const std::string prefix = std::string(kInstallJournalFile) + ".";
    if (DIR* dir = ::opendir(folderNative.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
                ::unlink((folderNative + "/" + name).c_str());
        }
        ::closedir(dir);
    }
}

}  // namespace exchange
