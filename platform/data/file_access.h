#pragma once
// What the file operations, views and transactions share inside the data
// layer: reading one record by id and the checks every operation starts with.

#include "platform/data/file_instance.h"

#include <cstdint>
#include <vector>

namespace fw::data {

// The open instance of f in this thread, or nullptr with error 37 set.
FileInstance* OpenInstance(File& f);
// Same, and the open allows writing (else error 5).
FileInstance* WritableInstance(File& f);

// The file's statements for the schema it is reached by now.
const FileInstance::Statements& SqlFor(FileInstance& inst);

// Reads record id into row (the record's size); false when there is none
// (rc SQLITE_OK) or on an error.
bool ReadById(FileInstance& inst, std::int64_t id, std::vector<char>* row, std::int64_t* rev, int* rc);

// A stream's transaction is ended before a LOGOUT or BUILD on its file and
// begun again after it.
void SuspendStream(Database& db);
void ResumeStream(Database& db);

inline constexpr int kDefaultLockWaitMs = 3000;

}  // namespace fw::data
