#include "exchange/import_session.h"

#include "exchange/listing_file.h"

#include "platform/data/file_ops.h"
#include "platform/data/read_together.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"

#include "shell/data_dictionary_prefixes.h"

#include <optional>

namespace exchange {
namespace {

std::string Clipped(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

// The form in which every key compares an ID: upper case, no trailing blanks.
std::string Folded(std::string_view id) { return fw::UpperText(Clipped(id)); }

std::string TrackKey(const std::string& foldedDisc, std::uint32_t track) {
    return foldedDisc + '\x01' + std::to_string(track);
}

// Keeps the thread's book buffers across the look-ups.
class KeptBuffers {
public:
    KeptBuffers() : book_(SBK), disc_(SBD), code_(fw::ERRORCODE()) {}
    ~KeptBuffers() {
        SBK = book_;
        SBD = disc_;
        fw::SetError(code_);
    }

private:
    shell::SongBookRec book_;
    shell::SBDiscsRec disc_;
    int code_;
};

}  // namespace

std::string EffectiveDiscId(std::string_view unq, std::string_view alt) {
    std::string disc = Clipped(unq);
    return disc.empty() ? Clipped(alt) : disc;
}

ImportSession::ImportSession()
    : rows(shell::ImportQueRec::Decl()), conflicts(shell::ImportConflictQueueRec::Decl()) {}

void ImportSession::Begin() {
    fw::FREE(rows);
    fw::FREE(conflicts);
    tracks_.clear();
    knownDiscs_.clear();
    newDiscIds_.clear();
    bookCustomIds_.clear();
    const KeptBuffers kept;
    bookHasListings_ = fw::RECORDS(shell::SongBook()) > 0;
    bookHasDiscs_ = fw::RECORDS(shell::SBDiscs()) > 0;
}

bool ImportSession::DiscInBook(const std::string& disc) const {
    if (!bookHasDiscs_) return false;
    fw::File& discs = shell::SBDiscs();
    SBD.UNQDISKID = disc;
    fw::GET(discs, discs.FindKey("SBD:KUNQDISKID"));
    return fw::ERRORCODE() == 0;
}

Clash ImportSession::Check(std::string_view unq, std::string_view alt, std::uint32_t track) const {
    const std::string disc = EffectiveDiscId(unq, alt);
    if (disc.empty()) return Clash::NoDiscId;
    const std::string foldedDisc = fw::UpperText(disc);
    if (tracks_.count(TrackKey(foldedDisc, track))) return Clash::TrackExists;

    const KeptBuffers kept;
    if (bookHasListings_) {
        fw::File& book = shell::SongBook();
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = track;
        fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
        if (fw::ERRORCODE() == 0) return Clash::TrackExists;
    }
    const std::string custom = Clipped(alt);
    if (custom.empty()) return Clash::None;
    const std::string foldedCustom = fw::UpperText(custom);
    if (const auto it = newDiscIds_.find(foldedCustom); it != newDiscIds_.end() && it->second != foldedDisc)
        return Clash::CustomIdTaken;
    if (bookHasDiscs_) {
        const std::string& owner = BookDiscWithCustomId(foldedCustom, custom);
        if (!owner.empty() && owner != foldedDisc) return Clash::CustomIdTaken;
    }
    return Clash::None;
}

const std::string& ImportSession::BookDiscWithCustomId(const std::string& foldedCustom, const std::string& custom) const {
    if (const auto it = bookCustomIds_.find(foldedCustom); it != bookCustomIds_.end()) return it->second;
    fw::File& discs = shell::SBDiscs();
    SBD.ALTDISKID = custom;
    fw::GET(discs, discs.FindKey("SBD:KALTDISKID"));
    std::string owner = fw::ERRORCODE() == 0 ? Folded(SBD.UNQDISKID.Clip()) : std::string();
    return bookCustomIds_.emplace(foldedCustom, std::move(owner)).first->second;
}

void ImportSession::Accept(const shell::ImportQueRec& row) {
    rows.rec = row;
    fw::ADD(rows);
    const std::string disc = EffectiveDiscId(row.UNQDISKID.Clip(), row.ALTDISKID.Clip());
    const std::string foldedDisc = fw::UpperText(disc);
    tracks_.insert(TrackKey(foldedDisc, row.DISKTRACKNO));
    if (!knownDiscs_.insert(foldedDisc).second) return;
    const KeptBuffers kept;
    if (DiscInBook(disc)) return;
    // The import adds this disc with the row's custom ID.
    if (!row.ALTDISKID.Blank()) newDiscIds_.emplace(Folded(row.ALTDISKID.Clip()), foldedDisc);
}

void ImportSession::AddConflict(const shell::ImportConflictQueueRec& row) {
    conflicts.rec = row;
    fw::ADD(conflicts, "+ALTDISKID,+DISKTRACKNO");
}

AnalysisResult AnalyzeImportFile(const std::string& fileName, ImportSession& session) {
    AnalysisResult result;
    const ListingFileReading how = HowToReadListingFile(fileName);
    result.text = how.text;
    result.ascii = how.ascii;
    fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl(), how.attributes);
    file.name = fileName;
    fw::OPEN(file, fw::ReadOnly | fw::DenyWrite);
    if (fw::ERRORCODE() != 0) {
        result.openError = fw::ERRORCODE();
        result.openText = fw::ERROR();
        return result;
    }
    session.Begin();
    shell::ImportQueRec row;
    shell::ImportConflictQueueRec conflict;
    DateReading dates;
    // The look-ups in the book share a read lock a few thousand rows at a
    // time: one lock a look-up costs most of the analysis of a large file,
    // and one for the whole file would keep other copies from writing.
    constexpr long kRowsPerReadLock = 4096;
    std::optional<fw::ReadTogether> together;
    for (;;) {
        if (result.rowsRead % kRowsPerReadLock == 0) {
            together.reset();
            session.ForgetBookAnswers();
            together.emplace({&shell::SongBook(), &shell::SBDiscs()});
        }
        fw::NEXT(file);
        if (fw::ERRORCODE() == fw::RecordNotAvailable) break;
        if (fw::ERRORCODE() != 0) {
            result.badLine = file.ErrorLine() > 0 ? file.ErrorLine() : result.rowsRead + 1;
            result.badText = fw::ERROR();
            break;
        }
        ++result.rowsRead;
        if (!file.Unstorable().empty())
            result.changed.push_back({file.RecordLine(), file.rec.TITLE.Str(), file.Unstorable()});
        ToImportRow(file.rec, row, dates);
        if (session.Check(row) == Clash::None) {
            session.Accept(row);
        } else {
            CopyImportRow(row, conflict);
            session.AddConflict(conflict);
        }
    }
    together.reset();
    session.ForgetBookAnswers();
    fw::CLOSE(file);
    fw::SetError(0);
    return result;
}

}  // namespace exchange
