#include "tools/release_tool/channel_builder.h"

#include "exchange/instruction_list.h"
#include "exchange/program_revision.h"
#include "exchange/update_file.h"

namespace release {
namespace {

std::string Quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

}  // namespace

std::string InstructionLine(const std::string& action, const std::string& version, const std::string& oldFile,
                            const std::string& newFile, std::uint64_t size) {
    return Quoted(action) + "," + Quoted(version) + "," + Quoted(oldFile) + "," + Quoted(newFile) + "," +
           std::to_string(size) + "\n";
}

std::map<std::string, std::string> BuildChannel(const Channel& channel, const std::string& secretKey) {
    std::map<std::string, std::string> files;
    std::string list;
    for (std::size_t i = 0; i < channel.data.size(); ++i) {
        const DataFile& f = channel.data[i];
        std::string packed = exchange::MakeUpdateFile(f.content, channel.blockData);
        list += InstructionLine("DATA", i == 0 ? channel.dataVersion : "", f.oldFile, f.newFile, packed.size());
        files[std::string(kFilesPath) + f.newFile] = std::move(packed);
    }
    if (channel.program) {
        const ProgramRevision& p = *channel.program;
        std::string packed = exchange::MakeUpdateFile(p.content, channel.blockData);
        exchange::Instruction record;
        record.version = p.version;
        record.oldFile = p.oldFile;
        record.newFile = p.newFile;
        record.size = packed.size();
        record.program = true;
        list += InstructionLine("PGM", p.version, p.oldFile, p.newFile, packed.size());
        if (!secretKey.empty()) {
            exchange::RevisionSignature s = exchange::SignRevision(record, fw::Sha256(packed), secretKey);
            files[std::string(kFilesPath) + p.newFile + ".sig"] = exchange::FormatSignatureFile(s);
        }
        files[std::string(kFilesPath) + p.newFile] = std::move(packed);
    }
    files[kListPath] = list;
    return files;
}

}  // namespace release
