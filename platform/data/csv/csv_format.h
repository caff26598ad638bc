#pragma once
// The comma-delimited record format: fields separated by commas, records
// ended by CR LF; texts without their trailing blanks, in double quotes, an
// inner quote doubled; numbers as plain decimals (a "-" for negatives).
// The record's texts are Windows-1252; in the file they are the same bytes,
// code page 437 (Oem) or UTF-8.

#include "platform/data/record.h"
#include "platform/text/codepage.h"

#include <string>
#include <vector>

namespace fw::csv {

using TextEncoding = FileText;

// Appends the record as one line, CR LF included. `lost` gets the names of
// the characters the file's code page could only write in a near form
// (codepage.h), each once.
void FormatRecord(const RecordDecl& decl, const void* record, TextEncoding encoding, std::string& out,
                  std::string& lost);

// Fills the record from the fields of one line. Texts longer than their
// field are cut as an assignment cuts them; a number field must hold a
// number (blank is 0) that fits its type. With `shortRows` a line may stop
// before the last fields, which are then empty (spreadsheets leave empty
// trailing cells out); more fields than the layout has are always wrong.
// `lost` becomes the names of the characters the program's text cannot
// hold, which became '?' (codepage.h), each once. Returns an empty text, or what is wrong ("field 4
// (TRACK): \"12a\" is not a number"); on failure the record is left as it was.
std::string FillRecord(const RecordDecl& decl, const std::vector<std::string>& fields, TextEncoding encoding,
                       bool shortRows, void* record, std::string& lost);

}  // namespace fw::csv
