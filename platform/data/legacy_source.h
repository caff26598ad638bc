#pragma once
// Files from the program's earlier installs are in another storage format.
// A reader of such a format registers here; when OPEN meets a file that is
// not ours but whose first bytes a registered format recognises, the file
// is converted once: its records are read through the reader into a new
// file of ours, which takes the old file's place, and the original is kept
// beside it with ".orig" appended. From then on the file opens as ours.

#include "platform/data/record.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

// Reads the records of one legacy file, read-only.
class LegacyReader {
public:
    virtual ~LegacyReader() = default;
    // The next record into rec (a buffer of the declaration's layout):
    // 1 read, 0 at the end, -1 the file cannot be read (conversion fails).
    virtual int Next(void* rec) = 0;
};

struct LegacyFormat {
    std::string name;  // "TopSpeed"
    // Whether the file's first bytes (up to 512 of them) are this format's.
    std::function<bool(std::string_view head)> recognises;
    // A reader of the file's records in decl's layout; nullptr when the
    // file does not hold records of that layout (OPEN then gives 47).
    std::function<std::unique_ptr<LegacyReader>(const std::string& path, const RecordDecl& decl)> open;
};

void RegisterLegacyFormat(LegacyFormat format);
// The registered format that recognises the file at path; nullptr if none.
const LegacyFormat* FindLegacyFormat(const std::string& path);

}  // namespace fw
