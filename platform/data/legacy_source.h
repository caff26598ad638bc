#pragma once
// Files from the program's earlier installs are in another storage format.
// A reader of such a format registers here; when OPEN meets a file that is
// not ours but whose first bytes a registered format recognises, the file
// is converted once: its records are read through the reader into a new
// file of ours, which is checked and then takes the old file's place; the
// original is kept beside it with the format's suffix appended (".orig"
// unless the format names its own: ".tps-original" for TopSpeed). From
// then on the file opens as ours. A file of one of the program's earlier
// record layouts (RegisterEarlierLayout) is not converted: it opens
// read-only where it is, for the program's own conversion to read.
// The TopSpeed format registers itself on first use (RegisterTopSpeedFormat).

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
    // 0 while the file can be read; else the error OPEN gives (47 for a
    // file of another layout, 90 for one that cannot be read) with Failure()
    // saying why. A reader may fail before its first record.
    virtual int FailureCode() const { return 0; }
    virtual std::string Failure() const { return {}; }
    // How many records Next will deliver, when the reader knows; -1 if not.
    // The conversion checks the new file against it.
    virtual long Count() const { return -1; }
};

struct LegacyFormat {
    std::string name;  // "TopSpeed"
    // Whether the file's first bytes (up to 512 of them) are this format's.
    std::function<bool(std::string_view head)> recognises;
    // A reader of the file's records in decl's layout; nullptr when the
    // file does not hold records of that layout (OPEN then gives 47).
    std::function<std::unique_ptr<LegacyReader>(const std::string& path, const RecordDecl& decl)> open;
    // Appended to the original's name when it is kept beside the new file.
    std::string keptSuffix = ".orig";
};

// Registers a format; one registered before under the same name is replaced.
void RegisterLegacyFormat(LegacyFormat format);
// The registered format that recognises the file at path; nullptr if none.
const LegacyFormat* FindLegacyFormat(const std::string& path);

// Declares a record layout of the program's earlier versions. A legacy
// file opened under it is never converted: it opens read-only, as it is.
void RegisterEarlierLayout(const RecordDecl& layout);
bool IsEarlierLayout(const RecordDecl& layout);

// The TopSpeed format (platform/data/tps); registered by the first
// FindLegacyFormat, and harmless to call again.
void RegisterTopSpeedFormat();

}  // namespace fw
