#pragma once
// The CSV listing file: one record per listing, no header line, written
// and read through the comma-delimited driver with texts in code page 437.
// The export writes it, the import reads it back; these are the one place
// that knows its columns, its file name rule and how a row becomes a
// listing.
//
//   fw::CsvFileOf<exchange::ListingFileRec> file(exchange::ListingFileRec::Decl(), exchange::kListingFileWrite);
//   exchange::FillFromBook(file.rec);   // from SBK and SBD
//   fw::APPEND(file);

#include "platform/data/csv/csv_file.h"
#include "platform/data/record.h"
#include "platform/text/codepage.h"
#include "platform/text/fixed_string.h"
#include "shell/data_dictionary_queues.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace exchange {

// ExportFile and ImportFile (BAS), in column order.
struct ListingFileRec {
    fw::FString<40> TITLE;
    fw::FString<40> ARTIST;
    fw::FString<15> ALTDISKID;  // the custom disc ID of the listing's disc
    std::uint32_t DISKTRACKNO;
    fw::FString<15> UNQDISKID;  // the manufacturer's disc ID
    fw::FString<40> GENRE;
    fw::FString<1> DUET;
    fw::FString<2> SBKMAKEID;   // the listing's brand code
    std::int32_t MAKEID;        // the disc's brand number
    fw::FString<2> MAKETYPE;    // the disc's brand code
    fw::FString<40> DATEADDED;  // @D1, mm/dd/yy
    static const fw::RecordDecl& Decl();
};

inline constexpr std::string_view kDatePicture = "@D1";

// The attributes of the file written: code page 437.
inline constexpr unsigned kListingFileWrite = fw::kCsvOem;

// How a file is read, as the host's spreadsheet saved it: UTF-8 when it
// starts with UTF-8's byte-order mark or is well-formed UTF-8 throughout,
// otherwise code page 437 or Windows-1252 as fw::FileTextGuess finds; a
// line may leave out its trailing fields (they are empty) and a line with
// nothing on it (a spreadsheet's last line) is no row.
struct ListingFileReading {
    unsigned attributes = 0;
    fw::FileText text = fw::FileText::Oem;
    bool ascii = true;  // nothing above 127: every reading agrees
};
ListingFileReading HowToReadListingFile(const std::string& fileName);
unsigned ListingFileReadAttributes(const std::string& fileName);
// "UTF-8", "Windows-1252" or "code page 437" (MS-DOS).
std::string FileTextName(fw::FileText text);

// The export's file name: ".csv" added unless the name already ends in it,
// in any letter case ("Book" -> "Book.csv", "Book.CSV" stays).
std::string ExportFileNameFor(std::string_view name);

// The row of the listing in SBK, on the disc in SBD (blank fields and brand
// 0 for a listing whose disc the book lacks).
void FillFromBook(ListingFileRec& row);

// The day numbers of @D1 date texts, each distinct text read once: reading
// one asks the clock for the century window, which costs more than the
// rest of a row, and a file holds few distinct dates.
class DateReading {
public:
    std::int32_t Of(std::string_view text);

private:
    std::unordered_map<std::string, std::int32_t> days_;
};

// The import's row of a file record: texts as they stand, the whole track
// number, the date read through @D1 (a two-digit year by the century
// window; a blank or unreadable date gives 0).
void ToImportRow(const ListingFileRec& file, shell::ImportQueRec& row, DateReading& dates);
void ToImportRow(const ListingFileRec& file, shell::ImportQueRec& row);

// The fields the import queue and the conflict queue share, copied from one
// to the other.
template <class From, class To>
void CopyImportRow(const From& from, To& to) {
    to.TITLE = from.TITLE;
    to.ARTIST = from.ARTIST;
    to.ALTDISKID = from.ALTDISKID;
    to.DISKTRACKNO = from.DISKTRACKNO;
    to.UNQDISKID = from.UNQDISKID;
    to.GENRE = from.GENRE;
    to.DUET = from.DUET;
    to.SBKMAKEID = from.SBKMAKEID;
    to.MAKEID = from.MAKEID;
    to.MAKETYPE = from.MAKETYPE;
    to.DATEADDED = from.DATEADDED;
}

}  // namespace exchange
