#pragma once
// An update channel as the server keeps it: the instruction list (LF line
// ends, as the program expects from the server) and every file it names,
// by their paths under the server's root.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace release {

inline constexpr const char* kListPath = "/update/01/autoupdate2b.inf";
inline constexpr const char* kFilesPath = "/update/01/";

struct DataFile {
    std::string oldFile;  // the installed name, "MAIN.TPS"
    std::string newFile;  // the name on the server, "MAIN.Z"
    std::string content;  // the file's bytes as installed
};

struct ProgramRevision {
    std::string version;  // "2.6.2300"
    std::string oldFile;  // "DIDAZAVUZEZ2O.EXE"
    std::string newFile;  // "DIDAZAVUZEZ2O.PGM"
    std::string content;  // the program's bytes
};

struct Channel {
    std::string dataVersion;  // the records MAIN.TPS holds after the update
    std::vector<DataFile> data;
    std::optional<ProgramRevision> program;
    std::size_t blockData = 61000;
};

// Server path -> bytes. A program revision is signed with secretKey (64
// bytes); without a key it gets no signature file.
std::map<std::string, std::string> BuildChannel(const Channel& channel, const std::string& secretKey = {});

// One record of the list, LF-ended.
std::string InstructionLine(const std::string& action, const std::string& version, const std::string& oldFile,
                            const std::string& newFile, std::uint64_t size);

}  // namespace release
