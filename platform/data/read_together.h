#pragma once
// A burst of small reads on a few files (a count over many keys) under one
// read transaction on each file's own connection, instead of one for every
// statement, while this lives:
//
//   fw::ReadTogether together({&KARAOKE(), &SongBook()});
//   for (...) fw::GET(SongBook(), key);
//
// Nothing may be written to those files meanwhile, and the thread must not
// wait for anything (no window, message or other hand-over) before it
// goes: no transaction stays open across a yield. A file in a transaction
// or a stream, or not open, reads as it always does.

#include "platform/data/file.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace fw {

namespace data {
class Database;
}

class ReadTogether {
public:
    explicit ReadTogether(const std::vector<File*>& files);
    explicit ReadTogether(std::initializer_list<File*> files) : ReadTogether(std::vector<File*>(files)) {}
    ~ReadTogether();
    ReadTogether(const ReadTogether&) = delete;
    ReadTogether& operator=(const ReadTogether&) = delete;

private:
    std::vector<std::shared_ptr<data::Database>> held_;
};

}  // namespace fw
