#pragma once
// The comma-delimited record format: fields separated by commas, records
// ended by CR LF; texts without their trailing blanks, in double quotes, an
// inner quote doubled; numbers as plain decimals (a "-" for negatives).
// The record's texts are Windows-1252; in the file they are the same bytes,
// code page 437 (Oem) or UTF-8.

#include "platform/data/record.h"

#include <string>
#include <vector>

namespace fw::csv {

enum class TextEncoding { Ansi, Oem, Utf8 };

// Appends the record as one line, CR LF included.
void FormatRecord(const RecordDecl& decl, const void* record, TextEncoding encoding, std::string& out);

// Fills the record from the fields of one line. Texts longer than their
// field are cut as an assignment cuts them; a number field must hold a
// number (blank is 0) that fits its type. Returns an empty text, or what is
// wrong ("field 4 (TRACK): \"12a\" is not a number"); on failure the record
// is left as it was.
std::string FillRecord(const RecordDecl& decl, const std::vector<std::string>& fields, TextEncoding encoding,
                       void* record);

}  // namespace fw::csv
