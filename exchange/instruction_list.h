#pragma once
// The AutoUpdate instruction list (autoupdate.lst): one comma-delimited
// record per file to install, read through the comma-delimited driver.
//
//   "DATA","251234","MAIN.TPS","MAIN.Z",1234567
//   "PGM","2.6.2300","DIDAZAVUZEZ2O.EXE","DIDAZAVUZEZ2O.PGM",2345678
//
// The first record's VERSION is the data version: the number of records
// MAIN.TPS holds once the update is installed. A record whose NEWFILE,
// upper-cased, contains ".PGM" is the program revision.
//
// The names come from a server, so a list is used only when every name is
// a bare file name of the install folder and nothing in it could make one
// download overwrite another file of the program.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

namespace exchange {

struct InstructionRec {  // prefix INF
    fw::FString<20> ACTION;
    fw::FString<20> VERSION;
    fw::FString<20> OLDFILE;
    fw::FString<20> NEWFILE;
    std::uint32_t SIZE = 0;
    static const fw::RecordDecl& Decl();
};

struct Instruction {
    std::string action;
    std::string version;
    std::string oldFile;  // the installed file, spelt as the program spells it when it is one of its own
    std::string newFile;  // the compressed file on the server, spelt as listed
    std::uint64_t size = 0;
    bool program = false;
};

struct InstructionList {
    std::vector<Instruction> records;
    // Empty when the list may be used; else what is wrong with it.
    std::string problem;
};

inline constexpr const char* kInstructionListFile = "autoupdate.lst";
inline constexpr const char* kProgramFile = "DIDAZAVUZEZ2O.EXE";
// The largest compressed file a list may name.
inline constexpr std::uint64_t kMaxUpdateFileBytes = 1ull << 31;

// Reads the list file (a program path). A record the driver cannot read,
// like an empty list, makes the list unusable: it may have been cut short.
InstructionList ReadInstructionList(const std::string& path);

// Checks the records and spells each OLDFILE as the program does:
// - every OLDFILE and NEWFILE is 1 to 20 characters of A-Z, a-z, 0-9, ".",
//   "_" and "-", holds no "..", and none is "." (so no folder, drive or
//   absolute path can be named);
// - a data record's OLDFILE is one of the Main SongBase's files;
// - no OLDFILE is named twice, nor any NEWFILE, letter case ignored;
// - a NEWFILE is no OLDFILE and none of the program's own files (the data
//   files, their backups, the program, the list, the install journal);
// - every SIZE is above 0 and at most kMaxUpdateFileBytes;
// - the first record's VERSION is a whole number.
// Sets list.problem on the first fault found.
void CheckInstructionList(InstructionList& list);

// The dotted version a is newer than b ("2.6.2300" > "2.6.2232"), compared
// part by part as numbers; false when either is not a dotted number.
bool IsNewerVersion(const std::string& a, const std::string& b);

}  // namespace exchange
