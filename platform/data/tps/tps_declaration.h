#pragma once
// A TopSpeed table read under one of the program's record declarations:
// whether the table's definition is that declaration (the same fields in
// the same order with the same types and sizes), and its rows copied into
// record buffers of that declaration. The data layer's first-open
// conversion and the readers of older layouts go through these.

#include "platform/data/record.h"
#include "platform/data/tps/tps_file.h"

#include <string>
#include <vector>

namespace fw::tps {

// Empty when the table matches the declaration, else the first difference
// ("field 4: KAR:MAKEID is SHORT, declared LONG"). Field names are compared
// without prefix and case; GROUP fields have no storage of their own and
// are passed over. A declared DATE or TIME matches a stored DATE or TIME
// (decoded from its packed form) or a LONG (already a day number or time).
std::string DeclarationMismatch(const Table& table, const RecordDecl& decl);

// Fills the record buffer `record` (laid out by `decl`) from the row; call
// only when DeclarationMismatch is empty. A DATE or TIME that is no real
// date or time becomes 0.
void LoadRecord(const Table& table, std::size_t row, const RecordDecl& decl, void* record);

// LoadRecord for many rows of one table: the fields are matched up once.
class RecordLoader {
public:
    RecordLoader(const Table& table, const RecordDecl& decl);
    void Load(std::size_t row, void* record) const;

private:
    const Table* table_;
    const RecordDecl* decl_;
    std::vector<std::size_t> stored_;  // the stored field of each declared one
};

}  // namespace fw::tps
