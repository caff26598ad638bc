#include "exchange/instruction_list.h"

#include <algorithm>
#include <set>

#include "platform/data/csv/csv_file.h"
#include "platform/data/file.h"
#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"
#include "shell/data_dictionary_file_entry.h"

namespace exchange {
namespace {

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
}

bool IsBareName(const std::string& name) {
    if (name.empty() || name.size() > 20 || name == ".") return false;
    if (name.find("..") != std::string::npos) return false;
    return std::all_of(name.begin(), name.end(), IsNameCharacter);
}

std::string Extension(const std::string& upperName) {
    auto dot = upperName.rfind('.');
    return dot == std::string::npos ? std::string() : upperName.substr(dot);
}

// The Main SongBase's file spelt as the program spells it, or empty.
std::string SongBaseFileNamed(const std::string& name) {
    const std::string upper = fw::UPPER(name);
    for (const shell::FileEntry* f : shell::DataFiles())
        if (!f->fixedName.empty() && fw::UPPER(f->fixedName) == upper) return f->fixedName;
    return {};
}

bool IsWholeNumber(const std::string& text) {
    return !text.empty() && text.size() <= 18 && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
}

}  // namespace

const fw::RecordDecl& InstructionRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<InstructionRec>("INF")
                                        .Field("ACTION", &InstructionRec::ACTION)
                                        .Field("VERSION", &InstructionRec::VERSION)
                                        .Field("OLDFILE", &InstructionRec::OLDFILE)
                                        .Field("NEWFILE", &InstructionRec::NEWFILE)
                                        .Field("SIZE", &InstructionRec::SIZE)
                                        .Build();
    return d;
}

InstructionList ReadInstructionList(const std::string& path) {
    InstructionList list;
    fw::CsvFileOf<InstructionRec> file(InstructionRec::Decl());
    file.name = path;
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    if (fw::ERRORCODE() != 0) {
        list.problem = "the list cannot be opened: " + fw::ERROR();
        return list;
    }
    fw::SET(file);
    for (;;) {
        fw::NEXT(file);
        const int code = fw::ERRORCODE();
        if (code == 33) break;
        if (code != 0) {
            list.problem = fw::ERROR();
            break;
        }
        Instruction in;
        in.action = file.rec.ACTION.Str();
        in.version = file.rec.VERSION.Str();
        in.oldFile = file.rec.OLDFILE.Str();
        in.newFile = file.rec.NEWFILE.Str();
        in.size = file.rec.SIZE;
        in.program = fw::UPPER(in.newFile).find(".PGM") != std::string::npos;
        list.records.push_back(std::move(in));
    }
    fw::CLOSE(file);
    if (list.problem.empty() && list.records.empty()) list.problem = "the list is empty";
    return list;
}

void CheckInstructionList(InstructionList& list) {
    if (!list.problem.empty()) return;
    if (list.records.empty()) {
        list.problem = "the list is empty";
        return;
    }
    // Names no download may take: the program's own files.
    std::set<std::string> reserved = {fw::UPPER(kInstructionListFile), fw::UPPER(kProgramFile),
                                      "DIDAZAVUZEZ2O.BAK", "AUTOUPDATE.JOURNAL"};
    for (const shell::FileEntry* f : shell::DataFiles()) {
        if (f->fixedName.empty()) continue;
        const std::string upper = fw::UPPER(f->fixedName);
        reserved.insert(upper);
        reserved.insert(upper.substr(0, upper.rfind('.')) + ".BAK");
    }
    std::set<std::string> olds, news;
    for (Instruction& in : list.records) {
        const std::string oldUpper = fw::UPPER(in.oldFile), newUpper = fw::UPPER(in.newFile);
        auto fail = [&](const std::string& why) { list.problem = "\"" + in.newFile + "\": " + why; };
        if (!IsBareName(in.oldFile) || !IsBareName(in.newFile)) return fail("not a plain file name");
        for (const char* own : {".BAK", ".NEW", ".PREV", ".JOURNAL", ".DOWNLOAD"})
            if (Extension(oldUpper) == own || Extension(newUpper) == own) return fail("a name the program keeps for itself");
        if (!in.program) {
            std::string canonical = SongBaseFileNamed(in.oldFile);
            if (canonical.empty()) return fail("installs into a file that is not one of the song base's");
            in.oldFile = canonical;
        } else if (!SongBaseFileNamed(in.oldFile).empty()) {
            return fail("a program revision cannot replace a data file");
        }
        if (!olds.insert(oldUpper).second) return fail("its file is named twice");
        if (!news.insert(newUpper).second) return fail("named twice");
        if (reserved.count(newUpper)) return fail("would overwrite one of the program's files");
        if (in.size == 0 || in.size > kMaxUpdateFileBytes) return fail("its size is out of range");
    }
    for (const Instruction& in : list.records)
        if (olds.count(fw::UPPER(in.newFile))) {
            list.problem = "\"" + in.newFile + "\": would overwrite a file it installs";
            return;
        }
    if (!IsWholeNumber(list.records.front().version))
        list.problem = "the data version \"" + list.records.front().version + "\" is not a number";
}

bool IsNewerVersion(const std::string& a, const std::string& b) {
    auto parts = [](const std::string& v, std::vector<unsigned long long>& out) {
        if (v.empty()) return false;
        std::size_t i = 0;
        while (i < v.size()) {
            std::size_t j = i;
            unsigned long long n = 0;
            while (j < v.size() && v[j] >= '0' && v[j] <= '9' && j - i < 18) n = n * 10 + static_cast<unsigned>(v[j++] - '0');
            if (j == i) return false;
            out.push_back(n);
            if (j == v.size()) break;
            if (v[j] != '.') return false;
            i = j + 1;
            if (i == v.size()) return false;
        }
        return true;
    };
    std::vector<unsigned long long> pa, pb;
    if (!parts(a, pa) || !parts(b, pb)) return false;
    std::size_t n = std::max(pa.size(), pb.size());
    pa.resize(n, 0);
    pb.resize(n, 0);
    return pa > pb;
}

}  // namespace exchange
