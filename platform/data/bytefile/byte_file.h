#pragma once
// The byte-file driver: a file read and written as bytes at explicit
// offsets, through its record buffer.
//
//   fw::ByteFileOf<PageLine> PageFile(PageLineDecl());     // METALINE STRING(256)
//   PageFile.name = name;
//   fw::OPEN(PageFile, 0x22);
//   fw::GET(PageFile, offset, 256);  // BYTES() tells how many came, ENDOFFILE() whether that was the end
//   fw::PUT(PageFile, offset, fw::BYTES(PageFile));
//
// Offsets count from 0. A GET that starts inside the file and runs past its
// end reads what is there without an error: BYTES gives the count, the rest
// of the requested length is cleared to zeros (so stale bytes of an earlier
// read are never taken for file content) and ENDOFFILE is true. A GET at or
// past the end reads nothing and gives 33. A length beyond the record buffer
// gives 90 and moves nothing.
//
// Errors: 2, 3, 5 from the file system; 33 a read at or past the end; 37 not
// open; 45 a blank name; 52 already open; 90 another system error, or a
// length beyond the record. CLOSE reports a failure to get written bytes to
// disk.

#include "platform/data/record.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fw {

class ByteFile {
public:
    // Only the declaration's size matters here: the record is a byte buffer.
    ByteFile(const RecordDecl& decl, void* record);
    ~ByteFile();
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;

    // The file's name (program text), read by CREATE and OPEN.
    std::string name;

    void* Record() const { return record_; }
    std::size_t RecordSize() const { return size_; }
    bool IsOpen() const { return fd_ >= 0; }

    void Create();
    void Open(int mode);
    void Close();
    void Get(std::uint64_t offset, std::size_t length);
    void Put(std::uint64_t offset, std::size_t length);
    void Add(std::size_t length);
    // After OPEN the file's size; after GET the bytes read; after PUT or ADD the bytes written.
    std::uint64_t Bytes() const { return bytes_; }
    bool AtEnd() const { return atEnd_; }
    std::string Name() const;

private:
    bool CheckOpen();
    bool CheckLength(std::size_t length);

    void* record_;
    std::size_t size_;
    int fd_ = -1;
    bool readOnly_ = false;
    bool written_ = false;
    std::string path_;
    std::uint64_t bytes_ = 0;
    bool atEnd_ = false;
};

template <class R>
struct ByteRecord {
    R rec{};
};
// A byte file that holds its own record buffer `rec`.
template <class R>
class ByteFileOf : public ByteRecord<R>, public ByteFile {
public:
    explicit ByteFileOf(const RecordDecl& decl) : ByteFile(decl, &this->rec) {}
};

// The framework's operations; each sets ERRORCODE.
void CREATE(ByteFile& f);
void OPEN(ByteFile& f, int mode = 0x22);
void CLOSE(ByteFile& f);
void GET(ByteFile& f, std::uint64_t offset, std::size_t length);
void PUT(ByteFile& f, std::uint64_t offset, std::size_t length);
void ADD(ByteFile& f, std::size_t length);
std::uint64_t BYTES(const ByteFile& f);
// The framework's EOF(file); named so because EOF is a macro of the C library.
bool ENDOFFILE(const ByteFile& f);
std::string NAME(const ByteFile& f);

}  // namespace fw
