#pragma once
// Writes a generated song base into the seven data files of a folder: each
// file is created empty (an existing one is emptied), filled in one stream
// and closed by Finish, which also creates the files that got no records.

#include "tools/songbase_gen/generator/songbase_sink.h"

#include "platform/data/file.h"

#include <map>
#include <memory>
#include <string>

namespace songbase_gen {

class DataFileSongBase : public FileRecordSink {
public:
    // folder: program text, the song base's folder (it must exist).
    explicit DataFileSongBase(std::string folder);
    ~DataFileSongBase() override;

    // Flushes and closes every file. Empty when all went well, else the
    // first error: the file's path and the data layer's text.
    std::string Finish();

protected:
    void Write(const shell::FileEntry& file, const void* rec) override;

private:
    fw::File* Opened(const shell::FileEntry& file);
    void NoteError(fw::File& file);

    std::string folder_;
    std::map<const shell::FileEntry*, std::unique_ptr<fw::File>> files_;
    std::string error_;
};

}  // namespace songbase_gen
