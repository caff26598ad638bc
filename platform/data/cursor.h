#pragma once
// A read position in one file, in the order of one key (or in record
// order), that reads ahead in small batches and finds its place again by
// the key values and row id of the last record read, so that writes,
// deletes and other threads' changes never lose it. The file's own
// sequence (SET, NEXT, PREVIOUS) and every level of a view use one each.

#include "platform/data/database.h"
#include "platform/data/file.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fw::data {

// A key component's value as the index compares it.
struct KeyValue {
    enum Kind { Int, Real, Text } kind = Int;
    std::int64_t i = 0;
    double r = 0;
    std::string s;
};
using KeyValues = std::vector<KeyValue>;

KeyValue FieldValue(const void* rec, const FieldDecl& f);
// The values of key k's components in a record buffer.
KeyValues KeyValuesOf(const File& f, int key, const void* rec);
// Binds a value for a comparison with the column of field f.
void BindKeyValue(sqlite3_stmt* s, int index, const KeyValue& v, const FieldDecl& f);
// Binds every field of a record buffer to parameters first, first+1, ...;
// the texts are read from the buffer when the statement steps, so it stays
// as it is until then.
void BindRecord(sqlite3_stmt* s, int first, const RecordDecl& d, const void* rec);
// Fills a record buffer from the columns first, first+1, ... of a result row.
void ReadRecord(sqlite3_stmt* s, int first, const RecordDecl& d, void* rec);

enum class Dir { Forward, Backward };

struct Anchor {
    enum Kind {
        None,         // nothing set: a read is refused
        Begin,        // SET(key): NEXT gives the first record, PREVIOUS the last
        PastEnd,      // after the last record: NEXT ends, PREVIOUS gives the last
        BeforeStart,  // before the first: PREVIOUS ends, NEXT gives the first
        Values,       // SET(key, key): NEXT the first record >= values, PREVIOUS the last <= them
        At,           // RESET: the record (values, id) itself or its neighbour
        After,        // the last record read: the next one in the reading direction
    } kind = None;
    KeyValues values;  // every component of the key
    std::int64_t id = 0;
};

class Cursor {
public:
    // key -1 is record order. fixed: values of the key's leading components
    // that every record read must equal (a join or a filter's range).
    void Configure(const File* f, int key, KeyValues fixed = {});
    int KeyIndex() const { return key_; }
    const KeyValues& Fixed() const { return fixed_; }

    void SetAnchor(Anchor a);
    // Where the cursor stands (after a read: that record's values and id).
    const Anchor& GetAnchor();
    Anchor::Kind AnchorKind() const { return anchor_.kind; }
    // A text condition the storage tests on every record (TextMatch mode,
    // the field's index in the record, the folded text); mode 0: none. A
    // "begins with" on the key's first component also bounds the index range.
    void SetTextCondition(int mode, int field, std::string folded);
    // Read-ahead: the first batch after a repositioning holds this many rows.
    void SetFirstBatch(int rows) { firstBatch_ = rows < 1 ? 1 : rows; }

    // The next record in direction d: true with it in RowData(); false at
    // the end (rc SQLITE_OK) or on an error (rc set).
    bool Read(Database& db, Dir d, int* rc);
    std::int64_t RowId() const { return rowId_; }
    std::int64_t RowRev() const { return rowRev_; }
    const char* RowData() const { return row_.data(); }

private:
    int Query(Database& db, Dir d, int phase, int limit, int* rc);
    void DropBatch() { batchIds_.clear(); batchPos_ = 0; }

    const File* file_ = nullptr;
    int key_ = -1;
    KeyValues fixed_;
    int textMode_ = 0;
    int textField_ = -1;
    std::string textFolded_;
    Anchor anchor_;
    bool anchorValuesPending_ = false;  // anchor_.values still to be taken from row_
    int firstBatch_ = 4;
    int nextBatch_ = 4;

    // The statements' texts, built once for each shape of query.
    struct SqlShape {
        const File* file;
        const Connection* conn;
        std::string schema;
        int key, nfixed;
        bool text, prefixRange, prefixHigh;
        int phase;
        bool forward, withId, inclusive;
        bool operator==(const SqlShape&) const = default;
    };
    std::vector<std::pair<SqlShape, std::string>> sql_;

    // read-ahead
    std::vector<char> batchRows_;
    std::vector<std::int64_t> batchIds_, batchRevs_;
    std::size_t batchPos_ = 0;
    bool batchComplete_ = false;  // the query had no more rows
    Dir batchDir_ = Dir::Forward;
    std::uint64_t batchGeneration_ = 0;
    const Database* batchDb_ = nullptr;

    std::vector<char> row_;
    std::int64_t rowId_ = 0, rowRev_ = 0;
};

}  // namespace fw::data
