#pragma once
// Program revisions: the release signature that must come with one, and
// the check that a file is a program this machine runs.
//
// Beside the revision's update file NAME.PGM the server keeps NAME.PGM.sig,
// two lines of hexadecimal: the SHA-256 of the update file and an Ed25519
// signature by the release key over the revision's version, its file names,
// its size and that digest. A revision whose signature does not verify
// against the public key built into the program is never offered, and a
// download whose digest differs from the signed one is never installed.

#include <string>

#include "exchange/instruction_list.h"
#include "platform/os/release_signature.h"

namespace exchange {

struct RevisionSignature {
    fw::Digest digest{};    // of the compressed update file
    std::string signature;  // 64 bytes
};

// What the release key signs for a program record.
std::string RevisionMessage(const Instruction& revision, const fw::Digest& digest);
std::string FormatSignatureFile(const RevisionSignature& s);
bool ParseSignatureFile(const std::string& text, RevisionSignature& out);
// The release tool: signs a program record whose update file has this digest.
RevisionSignature SignRevision(const Instruction& revision, const fw::Digest& digest, const std::string& secretKey);
// The signature is the release key's for this record.
bool VerifyRevision(const Instruction& revision, const RevisionSignature& s);

// The release public key built into the program (32 bytes).
std::string ReleasePublicKey();
// Tests: another key (empty: the built-in one again).
void SetReleasePublicKeyForTests(std::string key);

// Empty when the file (native path) is an ELF program for this machine's
// architecture, else why not.
std::string CheckProgramFile(const std::string& nativePath);

// The installed program a revision replaces: the file this process runs
// (its real path, links followed, so the command that started it starts
// the revision), whatever name the instruction list gives it.
std::string InstalledProgramPath();
// Tests: the installed program is this file instead (empty: the real one).
void SetInstalledProgramForTests(std::string nativePath);

}  // namespace exchange
