#pragma once
// The framework's operations on keyed data files. Each acts on the current
// program thread's instance of the file and leaves its outcome in the
// thread's error state (ERRORCODE(), ERROR(), FILEERRORCODE(), FILEERROR()):
//   2 File Not Found, 3 Path Not Found, 5 Access Denied (a read-only or
//   unreadable file, or a write through a read-only open), 32 File Is Already
//   Locked, 33 Record Not Available (the end of a sequence; no current
//   record), 35 Record Not Found, 37 File Not Open, 40 Creates Duplicate Key,
//   45 a blank file name, 46 Key File Must Be Rebuilt, 47 Invalid Record
//   Declaration (another layout, or not a file of ours), 52 File Already
//   Open, 89 Record Changed By Another Station, 90 File System Error with
//   the storage's own code and text.

#include "platform/data/file.h"

#include <optional>
#include <string>
#include <string_view>

namespace fw {

void OPEN(File& f, int mode = ReadWrite | DenyWrite);
void SHARE(File& f, int mode = ReadWrite | DenyNone);
void CLOSE(File& f);  // harmless on a file that is not open
void CREATE(File& f);  // an empty file; an existing one is emptied
// Rebuilds every key. A unique key's later duplicates (in insertion order)
// are removed; returns how many, or -1 on an error.
long BUILD(File& f);
// "Recover=N": wait up to N seconds for another holder's lock on the next
// opens. "QUICKSCAN=on"/"off": read ahead more on sequential reads.
std::string SEND(File& f, std::string_view command);

void SET(File& f);                          // record order from the start
void SET(const Key& k);                     // key order from the start
void SET(const Key& order, const Key& start);  // from the buffer's values of the key
void RESET(const Key& k, std::string_view position);
void RESET(File& f, std::string_view position);
void NEXT(File& f);
void PREVIOUS(File& f);

void GET(File& f, const Key& k);   // the first record whose key equals the buffer's (ignoring case)
void GET(File& f, long pointer);   // 0: no current record (before an ADD)
void REGET(File& f, std::string_view position);
void REGET(const Key& k, std::string_view position);
std::string POSITION(File& f);     // the current record
std::string POSITION(const Key& k);  // the buffer's key values and the current record

void ADD(File& f);
void APPEND(File& f);  // a unique key's clash does not stop it: the file then needs BUILD
void PUT(File& f);
void DELETE(File& f);
bool DUPLICATE(const Key& k);  // would the buffer duplicate another record in this unique key?
bool DUPLICATE(File& f);       // ... in any unique key?
// The record's value in the key as the key compares it (texts upper-cased,
// trailing blanks dropped; fields joined by \x01); nullopt when the record
// is not in the key (an optional key leaves out records whose key fields
// are all blank or zero). Two records clash in a unique key exactly when
// both have a value and the values are equal.
std::optional<std::string> RecordKeyText(const Key& k, const void* record);

long RECORDS(File& f);
// The storage's quick check of an open file (every page and record read,
// indexes not compared): empty when the file is sound, otherwise the first
// problem found. Cheap enough for a book on every open.
std::string QuickCheck(File& f);
long BYTES(File& f);  // before a read: the file's size; after: the record's
std::string NAME(File& f);
void WATCH(File& f);   // the next read arms the check for the PUT after it
void STREAM(File& f);  // batch the writes in one transaction ...
void FLUSH(File& f);   // ... until FLUSH or CLOSE

bool IsOpen(File& f);

}  // namespace fw
