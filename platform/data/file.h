#pragma once
// A keyed data file as the program declares it: its record, keys,
// attributes and the variable that holds its name. The declaration is one
// global object (the file's label); every program thread that uses it gets
// its own instance (record buffer, open state, sequence, position) on first
// use, as the THREAD attribute asks. Operations are in file_ops.h.
//
//   fw::File SongBook({.label = "SongBook", .record = &SongBookRec::Decl(),
//                      .keys = {{"KTITLE", {"Title", "Artist"}}, {"KUnqDiskID", {"UnqDiskID", "DISKTRACKNO"}, true}},
//                      .create = true,
//                      .name = fw::NameOf(SongBookName),
//                      .buffer = [] { return static_cast<void*>(&SongBookBuffer()); }});
//   fw::OPEN(SongBook, fw::ReadWrite | fw::DenyNone);
//   fw::SET(SongBook.FindKey("SBK:KTITLE"));
//   while (fw::NEXT(SongBook), fw::ERRORCODE() == 0) { ... }

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// OPEN access modes: low nibble the access, high nibble the sharing.
enum AccessMode : int {
    ReadOnly = 0x0,
    WriteOnly = 0x1,
    ReadWrite = 0x2,
    DenyAll = 0x10,
    DenyWrite = 0x20,
    DenyRead = 0x30,
    DenyNone = 0x40,
};

struct KeyDecl {
    std::string name;                     // without prefix: "KTITLE"
    std::vector<std::string> components;  // field names, most significant first, all ascending
    bool unique = false;                  // false: duplicates allowed
    bool optional = true;                 // a record whose key fields are all blank or zero is not in the key
    bool caseInsensitive = true;
};

struct FileDecl {
    std::string label;                    // "SongBook": the name in messages
    const RecordDecl* record = nullptr;
    std::vector<KeyDecl> keys;
    bool create = false;                  // OPEN's caller may CREATE it when missing
    bool reclaim = false;                 // reuse deleted space: nothing to do on our storage
    bool thread = true;                   // one instance per program thread; false: one shared instance
    std::function<std::string()> name;    // the file-name variable's current value
    std::function<void*()> buffer;        // the current thread's record buffer; empty: the file keeps its own
};

// The name function of a file whose name lives in a STRING variable.
template <std::size_t N>
std::function<std::string()> NameOf(const FString<N>& variable) {
    return [&variable] { return variable.Str(); };
}
inline std::function<std::string()> FixedName(std::string name) {
    return [name = std::move(name)] { return name; };
}

class File;

// One key of a file (SBK:KTITLE); index -1 is no key.
struct Key {
    File* file = nullptr;
    int index = -1;
    bool Valid() const { return file != nullptr && index >= 0; }
};

struct FileInstance;

class File {
public:
    explicit File(FileDecl decl);  // a key naming an unknown field is a programming error: throws
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const FileDecl& Decl() const { return decl_; }
    const RecordDecl& Record() const { return *decl_.record; }
    const std::string& Label() const { return decl_.label; }
    int KeyCount() const { return static_cast<int>(decl_.keys.size()); }
    const KeyDecl& KeyAt(int i) const { return decl_.keys[static_cast<std::size_t>(i)]; }
    // Field indexes of key i's components.
    const std::vector<int>& KeyFields(int i) const { return keyFields_[static_cast<std::size_t>(i)]; }

    // Key by name, with or without "PRE:" / "PRE.", case-insensitive; invalid if none.
    Key FindKey(std::string_view name);
    Key KeyNumber(int i) { return Key{this, i}; }

    // The current thread's record buffer.
    void* Buffer();
    template <class R>
    R& Rec() { return *static_cast<R*>(Buffer()); }

    // The current thread's instance (created on first use).
    FileInstance& Instance();

private:
    FileDecl decl_;
    std::vector<std::vector<int>> keyFields_;
    std::unique_ptr<FileInstance> shared_;  // for a file without THREAD
    // The instance last looked up, for the thread context and the
    // registry's age (instances gone, a fork) it was found under.
    const void* lastContext_ = nullptr;
    unsigned lastAge_ = 0;
    FileInstance* lastInstance_ = nullptr;
};

}  // namespace fw
