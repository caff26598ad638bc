#include "exchange/program_revision.h"

#include <elf.h>
#include <limits.h>
#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/text/strings.h"

namespace exchange {
namespace {

// The release key of our own update channel; its secret half signs releases.
constexpr const char* kReleasePublicKeyHex = "58966df941a8952bea0877e7871801fcd53855ad53ec15e6d322a3a144aa82ee";

std::string& TestProgram() {
    static std::string path;
    return path;
}

std::string& TestKey() {
    static std::string key;
    return key;
}

constexpr int kThisMachine =
#if defined(__x86_64__)
    EM_X86_64;
#elif defined(__aarch64__)
    EM_AARCH64;
#elif defined(__i386__)
    EM_386;
#elif defined(__arm__)
    EM_ARM;
#else
    EM_NONE;
#endif

}  // namespace

std::string RevisionMessage(const Instruction& r, const fw::Digest& digest) {
    std::string m = "Cantorvale program revision 1\n";
    m += r.version + "\n" + fw::UPPER(r.oldFile) + "\n" + fw::UPPER(r.newFile) + "\n" + std::to_string(r.size) + "\n";
    m += fw::ToHex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())) + "\n";
    return m;
}

std::string FormatSignatureFile(const RevisionSignature& s) {
    return fw::ToHex(std::string_view(reinterpret_cast<const char*>(s.digest.data()), s.digest.size())) + "\n" +
           fw::ToHex(s.signature) + "\n";
}

bool ParseSignatureFile(const std::string& text, RevisionSignature& out) {
    std::istringstream in(text);
    std::string digestHex, signatureHex, digest, signature;
    if (!(in >> digestHex >> signatureHex)) return false;
    if (!fw::FromHex(digestHex, digest) || digest.size() != fw::kDigestBytes) return false;
    if (!fw::FromHex(signatureHex, signature) || signature.size() != fw::kSignatureBytes) return false;
    std::memcpy(out.digest.data(), digest.data(), digest.size());
    out.signature = signature;
    return true;
}

RevisionSignature SignRevision(const Instruction& revision, const fw::Digest& digest, const std::string& secretKey) {
    RevisionSignature s;
    s.digest = digest;
    s.signature = fw::Sign(RevisionMessage(revision, digest), secretKey);
    return s;
}

bool VerifyRevision(const Instruction& revision, const RevisionSignature& s) {
    return fw::VerifySignature(RevisionMessage(revision, s.digest), s.signature, ReleasePublicKey());
}

std::string ReleasePublicKey() {
    if (!TestKey().empty()) return TestKey();
    std::string key;
    fw::FromHex(kReleasePublicKeyHex, key);
    return key;
}

void SetReleasePublicKeyForTests(std::string key) { TestKey() = std::move(key); }

std::string CheckProgramFile(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    Elf64_Ehdr header{};
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    if (in.gcount() < static_cast<std::streamsize>(EI_NIDENT + 4)) return "too short to be a program";
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return "not a program for this system";
    const int wantClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    if (header.e_ident[EI_CLASS] != wantClass) return "a program for another kind of machine";
    // e_type and e_machine sit at the same offsets in both classes.
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN) return "not a program";
    if (header.e_machine != kThisMachine) return "a program for another kind of machine";
    return {};
}

std::string InstalledProgramPath() {
    const std::string path = TestProgram().empty() ? std::string("/proc/self/exe") : TestProgram();
    char real[PATH_MAX];
    if (::realpath(path.c_str(), real)) return real;
    return path;
}

void SetInstalledProgramForTests(std::string nativePath) { TestProgram() = std::move(nativePath); }

}  // namespace exchange
