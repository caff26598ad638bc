// The release tool of our update channel.
//
//   release_tool keygen SECRET_FILE
//       makes a release key pair: the secret half into SECRET_FILE (hex,
//       readable by its owner only), the public half printed, for
//       exchange/program_revision.cpp.
//   release_tool channel --data DIR --out DIR [--program FILE --version V
//                        [--program-name NAME] --key SECRET_FILE]
//       builds the channel from the Main SongBase files in --data (their
//       update files, the instruction list whose data version is MAIN.TPS's
//       record count) and, with --program, a signed program revision; the
//       files go under --out as the server serves them (update/01/...).

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "exchange/program_revision.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"
#include "tools/release_tool/channel_builder.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

long RecordsOf(const std::string& path) {
    fw::FileDecl decl = shell::FileDeclOf(shell::KaraokeFile());
    decl.name = fw::FixedName(path);
    fw::File file(decl);
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    if (fw::ERRORCODE() != 0) throw std::runtime_error(path + ": " + fw::ERROR());
    long n = fw::RECORDS(file);
    fw::CLOSE(file);
    return n;
}

int Keygen(const std::string& secretFile) {
    std::string pub, secret;
    fw::MakeSigningKeys(pub, secret);
    {
        std::ofstream out(secretFile, std::ios::binary | std::ios::trunc);
        out << fw::ToHex(secret) << "\n";
        if (!out) throw std::runtime_error("cannot write " + secretFile);
    }
    ::chmod(secretFile.c_str(), 0600);
    std::cout << fw::ToHex(pub) << "\n";
    return 0;
}

int Channel(int argc, char** argv) {
    std::string data, out, program, version, programName = exchange::kProgramFile, keyFile;
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string a = argv[i], v = argv[i + 1];
        if (a == "--data") data = v;
        else if (a == "--out") out = v;
        else if (a == "--program") program = v;
        else if (a == "--version") version = v;
        else if (a == "--program-name") programName = v;
        else if (a == "--key") keyFile = v;
        else throw std::runtime_error("unknown option " + a);
    }
    if (data.empty() || out.empty()) throw std::runtime_error("--data and --out are needed");
    release::Channel channel;
    channel.dataVersion = std::to_string(RecordsOf(data + "/MAIN.TPS"));
    for (const shell::FileEntry* f : shell::DataFiles()) {
        if (f->fixedName.empty() || !fs::exists(data + "/" + f->fixedName)) continue;
        const std::string base = f->fixedName.substr(0, f->fixedName.rfind('.'));
        release::DataFile file{f->fixedName, base + ".Z", Slurp(data + "/" + f->fixedName)};
        // MAIN.TPS first: its record carries the data version.
        if (f->fixedName == "MAIN.TPS") channel.data.insert(channel.data.begin(), std::move(file));
        else channel.data.push_back(std::move(file));
    }
    std::string secret;
    if (!program.empty()) {
        if (version.empty() || keyFile.empty()) throw std::runtime_error("--program needs --version and --key");
        std::string hex = Slurp(keyFile);
        while (!hex.empty() && (hex.back() == '\n' || hex.back() == '\r')) hex.pop_back();
        if (!fw::FromHex(hex, secret) || secret.size() != fw::kSecretKeyBytes)
            throw std::runtime_error(keyFile + " holds no release key");
        const std::string base = programName.substr(0, programName.rfind('.'));
        channel.program = release::ProgramRevision{version, programName, base + ".PGM", Slurp(program)};
        std::string why = exchange::CheckProgramFile(program);
        if (!why.empty()) throw std::runtime_error(program + ": " + why);
    }
    for (const auto& [path, bytes] : release::BuildChannel(channel, secret)) {
        fs::path target = fs::path(out) / path.substr(1);
        fs::create_directories(target.parent_path());
        std::ofstream f(target, std::ios::binary | std::ios::trunc);
        f << bytes;
        if (!f) throw std::runtime_error("cannot write " + target.string());
        std::cout << path << "  " << bytes.size() << " bytes\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::string command = argc > 1 ? argv[1] : "";
        if (command == "keygen" && argc == 3) return Keygen(argv[2]);
        if (command == "channel") return Channel(argc, argv);
        std::cerr << "usage: release_tool keygen SECRET_FILE\n"
                     "       release_tool channel --data DIR --out DIR [--program FILE --version V "
                     "[--program-name NAME] --key SECRET_FILE]\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "release_tool: " << e.what() << "\n";
        return 1;
    }
}
