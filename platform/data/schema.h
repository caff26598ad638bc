#pragma once
// How a declared file is laid out in its SQLite database: the records
// table (a row id, a revision and one column per field), one index per
// key with our collation and, for optional keys, the predicate that leaves
// out records whose key fields are all blank or zero; and the stored
// layout that OPEN compares with the declaration.

#include "platform/data/file.h"
#include "platform/data/sqlite_connection.h"

#include <string>
#include <string_view>

namespace fw::data {

inline constexpr const char* kRecordsTable = "records";
inline constexpr const char* kLayoutTable = "fw_layout";

// Field names (upper case), types and sizes: what a declaration must match.
std::string LayoutSignature(const RecordDecl& d);

std::string ColumnList(const File& f);                  // "Title","Artist",...
std::string KeyColumn(const File& f, int key, int comp);  // "Title" (COLLATE FWEXACT for a case-sensitive key)
std::string KeyPredicate(const File& f, int key);       // ("Title" <> '' OR "Track" <> 0); empty for a key that is not optional
std::string IndexName(const File& f, int key);           // "key_KTITLE"
// The key's CREATE INDEX; with a schema, made there unless it is (SQLite
// stores the same text either way, so the layout check takes both).
std::string IndexSql(const File& f, int key, std::string_view schema = {});

enum class LayoutCheck { Ok, NotOurs, OtherLayout, KeysDiffer, Busy, Error };
// Compares the database's schema with the declaration exactly before
// anything else is read: only our tables (and SQLite's own sequence table)
// with exactly the declared columns, and indexes; a trigger, a view, any
// other table or a missing or extra column is NotOurs.
LayoutCheck CheckLayout(Connection& c, const File& f, int* rc);
// True when the database holds our layout table (of any declaration).
bool IsOurDatabase(Connection& c);

// Makes the file's tables and indexes, dropping what was there (CREATE).
int CreateSchema(Connection& c, const File& f);
// Drops every index, removes later duplicates of unique keys (the first
// in insertion order stays) and creates the declared indexes (BUILD).
int RebuildKeys(Connection& c, const File& f, long* removed);

}  // namespace fw::data
