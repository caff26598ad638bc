#pragma once
// The comma-delimited text file driver: a file of one record layout in the
// format of csv_format.h, read in order (SET, NEXT), by record number (GET,
// counting from 1) and written at its end (APPEND).
//
//   fw::CsvFileOf<BasRec> ExportFile(BasDecl(), fw::kCsvOem);
//   ExportFile.name = ExportFileName.Str();
//   fw::CREATE(ExportFile); fw::OPEN(ExportFile, 0x22);
//   ... fw::APPEND(ExportFile); ... fw::CLOSE(ExportFile);
//
// Reading is lenient where nothing is lost: LF alone also ends a line, the
// last line needs no line end, a quoted text may hold commas and line ends,
// blanks around a quoted text are dropped; with kCsvShortRows a line may
// stop before its last fields. Anything else that does not fit
// the layout (a quote inside unquoted text, text after a closing quote, a
// text left open, a lone CR, another number of fields, a number field that
// holds no number or one too large for it) is a read error: ERRORCODE 90,
// ERROR() and FILEERROR() "Read error in line N: ...", the record buffer
// unchanged; the next NEXT goes on with the line after it.
//
// CLOSE of a file written to syncs it to the disk; a failure there, as any
// failed write, is reported (90 with the system's text).
//
// Errors: 2, 3, 5 from the file system; 33 at the end (NEXT); 35 for a
// record number that does not exist (GET); 37 not open; 45 a blank name;
// 52 already open (OPEN, CREATE); 90 a read error or another system error.

#include "platform/data/record.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

inline constexpr unsigned kCsvOem = 1;          // texts are code page 437 in the file
inline constexpr unsigned kCsvUtf8 = 2;         // texts are UTF-8 in the file; a byte-order mark at its start is passed over
inline constexpr unsigned kCsvSkipEmptyLines = 4;  // a line with nothing on it is no record (spreadsheets end files so)
inline constexpr unsigned kCsvShortRows = 8;   // a line may leave out trailing fields, which are then empty
// Without kCsvOem or kCsvUtf8 texts are the program's own Windows-1252 bytes.

// Whether the file starts with the UTF-8 byte-order mark (EF BB BF); false
// when it cannot be read.
bool StartsWithUtf8Mark(const std::string& name);

class CsvFile {
public:
    CsvFile(const RecordDecl& decl, void* record, unsigned attributes = 0);
    ~CsvFile();
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    // The file's name (program text), read by CREATE, OPEN and REMOVE.
    std::string name;

    const RecordDecl& Decl() const { return decl_; }
    void* Record() const { return record_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Line of the last read error, 0 after a good read.
    long ErrorLine() const { return errorLine_; }
    // The line the record last read begins on.
    long RecordLine() const { return recordLine_; }
    // The characters the last record read or appended could not carry as
    // they stand, each once ("U+2500 0xE9", codepage.h): read, they became
    // '?'; written in code page 437, they took a near form. Empty when none.
    const std::string& Unstorable() const { return unstorable_; }

    void Create();
    void Open(int mode);
    void Close();
    void Append();
    void Set();
    void Next();
    void Get(long recordNumber);
    long Records();
    void Remove();
    std::string Name() const;

private:
    struct Mark {
        std::uint64_t offset;
        long line;
    };
    class Reader;
    enum class Parsed { Record, End, Error };

    bool Flush();
    void SeekTo(Mark m, long recordNumber);
    Parsed ParseNext(std::string& problem, long& startLine);
    bool ReadNext(bool fill);  // the next record into the buffer (or only past it)
    bool CheckOpen();

    void SkipEmptyLines();

    RecordDecl decl_;
    void* record_;
    unsigned attributes_;
    std::uint64_t dataStart_ = 0;   // past a byte-order mark
    bool wrote_ = false;
    int fd_ = -1;
    bool readOnly_ = false;
    std::string path_;  // native, as opened
    std::unique_ptr<Reader> reader_;
    long line_ = 1;                 // line of the reader's position
    long next_ = 1;                 // record number NEXT reads
    std::vector<Mark> starts_;      // where records 1.. begin, as far as read
    std::vector<std::string> fields_;
    std::string pending_;           // appended lines not yet written
    bool checkedEnding_ = false;    // whether the file's last line end was checked before appending
    long errorLine_ = 0;
    long recordLine_ = 0;
    std::string unstorable_;
};

template <class R>
struct CsvRecord {
    R rec{};
};
// A comma-delimited file that holds its own record buffer `rec`.
template <class R>
class CsvFileOf : public CsvRecord<R>, public CsvFile {
public:
    explicit CsvFileOf(const RecordDecl& decl, unsigned attributes = 0) : CsvFile(decl, &this->rec, attributes) {}
};

// The framework's operations; each sets ERRORCODE.
void CREATE(CsvFile& f);
void OPEN(CsvFile& f, int mode = 0x22);
void CLOSE(CsvFile& f);
void APPEND(CsvFile& f);
void SET(CsvFile& f);
void NEXT(CsvFile& f);
void GET(CsvFile& f, long recordNumber);
long RECORDS(CsvFile& f);
void REMOVE(CsvFile& f);
std::string NAME(const CsvFile& f);

}  // namespace fw
