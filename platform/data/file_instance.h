#pragma once
// A program thread's instance of a declared file: its record buffer (or
// the one the declaration supplies), open state, sequence and current
// record. Created on first use in each thread, closed when the thread ends.

#include "platform/data/cursor.h"
#include "platform/data/database.h"
#include "platform/data/file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

struct FileInstance {
    explicit FileInstance(File& f);
    ~FileInstance();
    FileInstance(const FileInstance&) = delete;
    FileInstance& operator=(const FileInstance&) = delete;

    void* Buffer() { return external_ ? external_() : static_cast<void*>(ownStorage_.data()); }

    File* file;
    std::function<void*()> external_;
    std::vector<std::max_align_t> ownStorage_;

    bool open = false;
    int mode = 0;
    std::string openedName;                 // NAME(file): the path as opened
    std::shared_ptr<data::Database> db;

    data::Cursor sequence;                  // SET, NEXT, PREVIOUS
    std::int64_t currentId = 0;             // the current record (0: none)
    std::int64_t currentRev = 0;
    bool watchArmed = false;                // WATCH: the next read arms the check
    bool watchActive = false;               // the next PUT checks watchRev
    std::int64_t watchRev = 0;
    bool streaming = false;
    bool quickScan = false;
    int recoverSeconds = -1;                // SEND "Recover=N": lock wait for the next opens
    std::size_t lastBytes = 0;              // BYTES after a read
    bool readSinceOpen = false;

    // The statements on this file, for the schema it is reached by now.
    struct Statements {
        std::string schema, insert, update, updateWatched, byId, remove;
        // GET by key k: findId[k] reads the id alone, findRow[k] the record.
        std::vector<std::string> findId, findRow;
    } sql;

    // Takes a record read from the file as the current one (buffer, id, watch).
    void TakeRecord(const char* data, std::int64_t id, std::int64_t rev);
    // Releases the file (flushing a stream) without touching the error state.
    void Release();
};

}  // namespace fw
