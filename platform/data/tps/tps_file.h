#pragma once
// Read-only access to a TopSpeed file: its tables, their definitions, rows
// and memos. The whole file is read at once; a file that cannot be read
// gives a TpsError with the reason, never a partial result.
//
//   const fw::tps::TpsFile file = fw::tps::TpsFile::Read("/songs/MAIN.TPS");
//   const fw::tps::Table& t = file.Tables().front();
//   for (std::size_t i = 0; i < t.RowCount(); ++i)
//       fw::tps::Value title = t.Get(i, t.FindField("TITLE"));

#include "platform/data/tps/tps_definition.h"
#include "platform/data/tps/tps_error.h"
#include "platform/data/tps/tps_header.h"
#include "platform/data/tps/tps_values.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fw::tps {

// A value that could not be read whole: its table's record number, the
// field (a memo's name) and why. Such a value is never given as if whole.
struct DamagedValue {
    std::uint32_t record = 0;
    std::string field;
    std::string what;
};

class Table {
public:
    std::uint32_t number = 0;  // the file's own table number
    std::string name;          // as stored; the number in decimal when the file names none
    Definition definition;

    // Rows in record-number order, one copy per record number.
    std::size_t RowCount() const { return recordNumbers_.size(); }
    std::uint32_t RecordNumber(std::size_t row) const { return recordNumbers_[row]; }
    // The row image: definition.recordLength bytes.
    std::string_view Row(std::size_t row) const {
        const std::size_t n = definition.recordLength;
        return std::string_view(rows_).substr(row * n, n);
    }
    Value Get(std::size_t row, std::size_t field, std::size_t element = 0) const {
        return DecodeField(definition.fields[field], Row(row), element);
    }
    // The field's position by name, with or without the prefix, case
    // ignored; -1 when there is none.
    int FindField(std::string_view name) const;
    // The text of a memo (trailing nulls cut) or the bytes of a BLOB; empty
    // when the row has none, or when it could not be read whole (then it is
    // among Damaged()).
    std::string Memo(std::size_t row, std::size_t memo) const;
    // The values that could not be read whole, in record order; each is in
    // the file's Warnings() too, with the table's name.
    const std::vector<DamagedValue>& Damaged() const { return damaged_; }
    bool IsDamaged(std::size_t row, std::string_view field) const;

private:
    friend class Assembler;
    std::string rows_;
    std::vector<std::uint32_t> recordNumbers_;
    std::unordered_map<std::uint64_t, std::string> memos_;  // (record number << 8) | memo
    std::vector<DamagedValue> damaged_;
};

class TpsFile {
public:
    // Throws TpsError when the file cannot be opened or read.
    static TpsFile Read(const std::string& path);
    static TpsFile Parse(std::string_view bytes);

    const FileHeader& Header() const { return header_; }
    const std::vector<Table>& Tables() const { return tables_; }  // by table number
    // By name, case ignored; nullptr when there is none.
    const Table* FindTable(std::string_view name) const;
    // What was odd but did not stop the reading (stale copies dropped, a
    // damaged page tree that made the reader scan, counts that disagree).
    const std::vector<std::string>& Warnings() const { return warnings_; }
    // True when the page tree was unusable and the pages were scanned.
    bool Scanned() const { return scanned_; }

private:
    friend class Assembler;
    FileHeader header_;
    std::vector<Table> tables_;
    std::vector<std::string> warnings_;
    bool scanned_ = false;
};

// True when the file at `path` starts with a plain TopSpeed header. An
// encrypted file does not: its header is encrypted too.
bool IsTopSpeedFile(const std::string& path);

}  // namespace fw::tps
