#pragma once
// The fast text search: a condition on one text field that the storage
// tests itself while it reads a file in key order, so the records that fail
// it are passed over without being read into a buffer. The text is folded
// as every key folds (Windows-1252 upper case); trailing blanks of the
// searched text are the caller's to remove, leading ones count.
//
//   fw::View titles(STitle);
//   titles.SetTextMatch("STI:Title", "love", fw::TextMatch::Contains);
//   fw::SET(STitle.FindKey("STI:KTITLE"));
//   fw::OPEN(titles);
//   fw::NEXT(titles);   // the first title holding "love" in any case
//
// "Begins with" on the first component of the view's order key is also an
// index range, so it reads only the records that begin with the text.

#include "platform/data/file.h"

#include <string>
#include <string_view>

struct sqlite3;

namespace fw {

enum class TextMatch { None = 0, BeginsWith = 1, Contains = 2 };

// Whether a field's text holds the already folded text as the mode asks
// (an empty text holds for no field).
bool TextMatches(std::string_view field, std::string_view folded, TextMatch mode);

// The rank of the file's current record in key k's order (1 for the first
// record of the key), or 0 when there is no current record.
long KeyRank(const Key& k);
// How many records key k holds (an optional key leaves out blank ones).
long KeyRecords(const Key& k);
// Makes the rank-th record of key k's order the file's current record, in
// its buffer (as GET does); false (error 35) when the key has fewer.
bool GetAtRank(const Key& k, long rank);

}  // namespace fw

namespace fw::data {

// The SQL function the cursors use: fw_text_match(column, folded, mode).
inline constexpr const char* kTextMatchFunction = "fw_text_match";
void RegisterTextMatch(sqlite3* db);

// The range of a key's folded texts that begin with a folded prefix: every
// text t with low <= t < high (no high: up to the end). False when the
// prefix gives no range.
bool PrefixRange(std::string_view folded, std::string* low, std::string* high);

}  // namespace fw::data
