#include "exchange/listing_file.h"

#include "platform/data/names/path_names.h"
#include "platform/data/names/plain_files.h"
#include "platform/text/codepage.h"
#include "platform/text/picture.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"

#include <fstream>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace exchange {

const fw::RecordDecl& ListingFileRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<ListingFileRec>("BAS")
                                        .Field("TITLE", &ListingFileRec::TITLE)
                                        .Field("ARTIST", &ListingFileRec::ARTIST)
                                        .Field("ALTDISKID", &ListingFileRec::ALTDISKID)
                                        .Field("DISKTRACKNO", &ListingFileRec::DISKTRACKNO)
                                        .Field("UNQDISKID", &ListingFileRec::UNQDISKID)
                                        .Field("GENRE", &ListingFileRec::GENRE)
                                        .Field("DUET", &ListingFileRec::DUET)
                                        .Field("SBKMAKEID", &ListingFileRec::SBKMAKEID)
                                        .Field("MAKEID", &ListingFileRec::MAKEID)
                                        .Field("MAKETYPE", &ListingFileRec::MAKETYPE)
                                        .Field("DATEADDED", &ListingFileRec::DATEADDED)
                                        .Build();
    return d;
}

ListingFileReading HowToReadListingFile(const std::string& fileName) {
    ListingFileReading how;
    fw::FileTextGuess guess;
    if (!fw::BlankFileName(fileName)) {
        std::ifstream in(fw::ResolvePath(fileName), std::ios::binary);
        std::vector<char> chunk(64 * 1024);
        while (in) {
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            guess.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
        }
    }
    how.ascii = guess.Ascii();
    how.text = fw::StartsWithUtf8Mark(fileName) ? fw::FileText::Utf8 : guess.Result();
    const unsigned text = how.text == fw::FileText::Utf8 ? fw::kCsvUtf8 : how.text == fw::FileText::Oem ? fw::kCsvOem : 0;
    how.attributes = text | fw::kCsvSkipEmptyLines | fw::kCsvShortRows;
    return how;
}

unsigned ListingFileReadAttributes(const std::string& fileName) { return HowToReadListingFile(fileName).attributes; }

std::string FileTextName(fw::FileText text) {
    switch (text) {
    case fw::FileText::Utf8: return "UTF-8";
    case fw::FileText::Ansi: return "Windows-1252";
    default: return "code page 437 (MS-DOS)";
    }
}

std::string ExportFileNameFor(std::string_view name) {
    std::string out(name);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    constexpr std::string_view ext = ".csv";
    if (out.size() >= ext.size() && fw::CompareFolded(std::string_view(out).substr(out.size() - ext.size()), ext) == 0)
        return out;
    return out + std::string(ext);
}

void FillFromBook(ListingFileRec& row) {
    fw::ClearRecord(&row, ListingFileRec::Decl());
    row.TITLE = SBK.Title;
    row.ARTIST = SBK.Artist;
    row.ALTDISKID = SBD.ALTDISKID;
    row.DISKTRACKNO = SBK.DISKTRACKNO;
    row.UNQDISKID = SBK.UnqDiskID;
    row.GENRE = SBK.GENRE;
    row.DUET = SBK.Duet;
    row.SBKMAKEID = SBK.MAKEID;
    row.MAKEID = SBD.MakeID;
    row.MAKETYPE = SBD.MAKETYPE;
    row.DATEADDED = fw::FORMAT(SBK.DateAdded, kDatePicture);
}

std::int32_t DateReading::Of(std::string_view text) {
    if (const auto it = days_.find(std::string(text)); it != days_.end()) return it->second;
    constexpr std::size_t kKept = 4096;  // distinct dates kept; more start the memory again
    if (days_.size() >= kKept) days_.clear();
    const auto day = static_cast<std::int32_t>(fw::DeformatValue(text, kDatePicture));
    days_.emplace(text, day);
    return day;
}

void ToImportRow(const ListingFileRec& file, shell::ImportQueRec& row) {
    DateReading dates;
    ToImportRow(file, row, dates);
}

void ToImportRow(const ListingFileRec& file, shell::ImportQueRec& row, DateReading& dates) {
    fw::ClearRecord(&row, shell::ImportQueRec::Decl());
    row.TITLE = file.TITLE;
    row.ARTIST = file.ARTIST;
    row.ALTDISKID = file.ALTDISKID;
    row.DISKTRACKNO = file.DISKTRACKNO;
    row.UNQDISKID = file.UNQDISKID;
    row.GENRE = file.GENRE;
    row.DUET = file.DUET;
    row.SBKMAKEID = file.SBKMAKEID;
    row.MAKEID = file.MAKEID;
    row.MAKETYPE = file.MAKETYPE;
    row.DATEADDED = dates.Of(file.DATEADDED.Clip());
}

}  // namespace exchange
