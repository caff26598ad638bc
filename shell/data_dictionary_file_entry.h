#pragma once
// The neutral description of a data file: its label, record declaration,
// name, attributes, keys and the use counter that guards it. The data
// layer's file declarations are made from these, so the dictionary states
// every file exactly once.

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct CallingState;

// A key: components most significant first, all ascending.
struct KeyPlan {
    std::string name;                     // without prefix: "KTITLE" is SBK:KTITLE
    std::vector<std::string> components;  // field names without prefix
    bool unique = false;                  // false: duplicates allowed
    bool optional = true;                 // a record whose key fields are all blank or zero is not in the key
    bool caseInsensitive = true;
};

struct FileEntry {
    std::string label;                  // the file's label, also its name in messages: "KARAOKE"
    const fw::RecordDecl* record;       // fields and prefix
    std::string fixedName;              // the Main SongBase's file name in the install folder ("MAIN.TPS"); empty for a book's files
    std::string extension;              // a book's files: ".2bk", ".2bd"
    fw::FString<128>* nameVariable;     // the shared variable that holds the full path
    bool create = false;                // made empty when missing
    bool reclaim = false;               // the driver reuses deleted space (nothing to do on SQLite)
    bool thread = true;                 // each thread its own buffer and file state
    std::size_t designedBytes = 0;      // the record's size as designed (field bytes, no alignment)
    std::int32_t CallingState::*useCounter = nullptr;  // this thread's count of procedures holding it open
    std::vector<KeyPlan> keys;

    std::string_view Prefix() const { return record->prefix; }
    // Key by name, with or without "PRE:" / "PRE.", case-insensitive; nullptr if none.
    const KeyPlan* FindKey(std::string_view name) const;
};

// Sum of the declared fields' sizes: the record's size without alignment.
std::size_t DeclaredBytes(const fw::RecordDecl& decl);

// Every data file of the dictionary: the seven Main SongBase files, then
// SongBook and SBDiscs.
const std::vector<const FileEntry*>& DataFiles();
// By label, case-insensitive; nullptr if none.
const FileEntry* FindDataFile(std::string_view label);

}  // namespace shell
