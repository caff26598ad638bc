#include "songbook/convert_books.h"

#include "platform/data/file_ops.h"
#include "platform/data/names/name_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "platform/ui/message.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"
#include "songbook/book_journal.h"
#include "songbook/book_paths.h"
#include "songbook/converted_book.h"
#include "songbook/earlier_layouts.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kKeptSuffix = ".tps-original";
constexpr long kSbkRecordBytes = 121;
constexpr long kSbkSliceBytes = 1000;

void Refuse(const std::string& text) {
    fw::MESSAGE(text, kConversionFailedCaption, fw::Icon::Exclamation, fw::Button::Ok);
}

void CannotConvert(const std::string& reason) {
    Refuse("The SongBook could not be converted.|" + reason + "||No file was changed.");
}

long FileBytes(const std::string& programPath) {
    std::error_code ec;
    const auto size = fs::file_size(DiskPath(programPath), ec);
    return ec ? 0 : static_cast<long>(size);
}

// The Main SongBase's discs, for the brand code of each converted disc.
class SongBaseDiscs {
public:
    SongBaseDiscs() {
        if (!shell::DiscsName.Blank() && fw::EXISTS(shell::DiscsName.Clip())) use_.emplace(shell::DiscsFile(), false);
    }
    // The first two characters of the disc ID when the song base has the disc.
    std::string BrandCode(const fw::FString<15>& unqDiskId) {
        const std::string key = FoldedId(unqDiskId.View());
        auto it = known_.find(key);
        if (it == known_.end()) {
            bool found = false;
            if (use_ && fw::IsOpen(shell::Discs())) {
                DIS.UnqDiskID = unqDiskId;
                fw::GET(shell::Discs(), shell::Discs().FindKey("DIS:KUNQDISKID"));
                found = fw::ERRORCODE() == 0;
                fw::SetError(0);
            }
            it = known_.emplace(key, found).first;
        }
        return it->second ? std::string(unqDiskId.Clip()).substr(0, 2) : std::string();
    }

private:
    std::optional<shell::FileUse> use_;
    std::unordered_map<std::string, bool> known_;
};

// Opens an older file read-only; false (said so) when it cannot be read.
bool OpenOlder(fw::File& f) {
    fw::OPEN(f, fw::ReadOnly | fw::DenyNone);
    if (fw::ERRORCODE() == 0) return true;
    CannotConvert(fw::NAME(f) + ": " + std::string(fw::ERROR()));
    return false;
}

// The pass over the old listings, ending, once completed, with the new
// files' keys built under `buildingText` while the window is still shown.
// False (the new files removed, a failure said) when it did not complete.
bool RunPass(shell::ProgressPlan& desc, ConvertedBook& book, std::string buildingText) {
    bool finished = false;
    desc.atEnd = [&](shell::ProgressWindow& window) {
        if (window.Pass().State() != shell::PassState::Completed) return;
        window.ShowText(buildingText);
        finished = book.Finish();
    };
    const shell::PassState state = shell::RunProgressProcess(desc);
    const bool writeFailed = state == shell::PassState::Failed && !book.Error().empty();
    if (state == shell::PassState::Completed && !finished) CannotConvert(book.Error());
    if (writeFailed) CannotConvert(book.Error());
    if (state == shell::PassState::Completed && finished) return true;
    book.Abandon();
    shell::ActionOutcome() = shell::outcome::Cancelled;
    return false;
}

// The log's heading: which book became which, and when.
std::string ConversionHeading(const std::string& from, const std::string& to) {
    const long today = fw::TODAY();
    const long clock = fw::CLOCK();
    char when[64];
    std::snprintf(when, sizeof when, "%04ld-%02ld-%02ld %02ld:%02ld", static_cast<long>(fw::YEAR(today)),
                  static_cast<long>(fw::MONTH(today)), static_cast<long>(fw::DAY(today)), clock / 360000,
                  clock / 6000 % 60);
    return std::string(when) + " " + FileNameOf(from) + " converted to " + FileNameOf(to) + ":";
}

// Runs the steps that put the converted book in place under a journal: all
// of them, or none (the new pair is then removed).
bool Place(ConvertedBook& book, std::vector<JournalStep> steps, const std::string& heading) {
    AddAsideRemovals(steps);
    const JournalResult r = RunJournaled(steps);
    if (!r.done) {
        book.Abandon();
        CannotConvert(r.error);
        return false;
    }
    book.Placed();
    // The converted book is in place; only a file moved aside may be left.
    if (!r.error.empty()) Refuse("The SongBook has been converted, but a replaced file is left over.|" + r.error);
    if (!book.Notes().empty()) {
        const std::string log = ConversionLogPath(shell::SongBookName.Clip());
        std::string logError;
        WriteConversionLog(log, heading, book.Notes(), logError);
        fw::MESSAGE(ConversionNotesText(book.Notes().size(), log, logError), kConvertedCaption, fw::Icon::Asterisk,
                    fw::Button::Ok);
    }
    shell::ActionOutcome() = shell::outcome::Completed;
    return true;
}

}  // namespace

bool ConvertSbkSongBook() {
    const std::string oldListings(shell::SongBookName.Clip());
    const std::string oldDiscs(shell::SBDiscsName.Clip());
    const std::string folder = FolderOf(oldListings);
    const std::string base = BookNameOf(oldListings);
    const auto named = [&](std::string_view ext) {
        const std::string name = base + std::string(ext);
        return folder.empty() ? name : JoinPath(folder, name);
    };
    const std::string renamedListings = named(".sxk"), renamedDiscs = named(".sxd");
    shell::SongBook11Name = renamedListings;
    shell::SBDiscs11Name = renamedDiscs;
    shell::SongBookName = named(".2bk");
    shell::SBDiscsName = named(".2bd");
    shell::ActionOutcome() = shell::outcome::Cancelled;
    const bool hasDiscs = fw::EXISTS(oldDiscs);

    // The old pair keeps its names until the new pair is in place, and never
    // takes the names of files an earlier conversion left.
    for (const std::string& taken : {renamedListings, renamedDiscs}) {
        if (fw::EXISTS(taken)) {
            Refuse("The older SongBook cannot be renamed to " + taken +
                   ": a file of that name already exists.||No file was changed.");
            return false;
        }
    }
    if (fw::EXISTS(shell::SongBookName.Clip()) || fw::EXISTS(shell::SBDiscsName.Clip())) {
        if (fw::MESSAGE(kOverwriteQuestion, kOverwriteCaption, fw::Icon::Hand, fw::Button::Yes + fw::Button::No,
                        fw::Button::No) != fw::Button::Yes)
            return true;  // the existing book is opened
    }

    auto listings = EarlierFile("SongBook11", SongBook11Rec::Decl(), oldListings);
    if (!OpenOlder(*listings)) return false;
    std::unordered_map<std::string, SBDiscs11Rec> oldDiscRecords;
    if (hasDiscs) {
        auto discs = EarlierFile("SBDiscs11", SBDiscs11Rec::Decl(), oldDiscs);
        if (!OpenOlder(*discs)) return false;
        fw::SET(*discs);
        for (fw::NEXT(*discs); fw::ERRORCODE() == 0; fw::NEXT(*discs)) {
            const SBDiscs11Rec& d = discs->Rec<SBDiscs11Rec>();
            oldDiscRecords.emplace(FoldedId(d.UNQDISKID.View()), d);
        }
        const bool readAll = fw::ERRORCODE() == fw::RecordNotAvailable;
        fw::CLOSE(*discs);
        if (!readAll) {
            CannotConvert(oldDiscs + ": " + std::string(fw::ERROR()));
            return false;
        }
    }

    ConvertedBook book(shell::SongBookName.Str(), shell::SBDiscsName.Str());
    if (!book.Begin()) {
        CannotConvert(book.Error());
        return false;
    }
    SongBaseDiscs songBase;
    const long bytes = FileBytes(oldListings);

    shell::ProgressPlan desc(shell::ViewSource(*listings, fw::Key{}, shell::ActionMovesKey::No));
    desc.texts.caption = std::string(kConvertingCaption);
    // Progress by the bytes read, of the old file's size; a slice ends once
    // 1000 bytes of old listings have been read (nine records).
    desc.measure = shell::ByBytes(*listings, kSbkSliceBytes);
    desc.estimate = [bytes] { return bytes; };
    desc.action = [&]() -> shell::PassState {
        const SongBook11Rec& old = listings->Rec<SongBook11Rec>();
        auto disc = oldDiscRecords.find(FoldedId(old.UNQDISKID.View()));
        const SBDiscs11Rec* oldDisc = disc == oldDiscRecords.end() ? nullptr : &disc->second;
        MappedListing m = MapSbkListing(old, oldDisc, old.DISKTRACKNO == 0 ? "" : songBase.BrandCode(old.UNQDISKID));
        if (!m.repaired.empty()) book.Note(ConvertedBook::Change::Repaired, m.repaired);
        book.AddDisc(m.disc);
        return book.AddListing(m.listing) ? shell::PassState::Running : shell::PassState::Failed;
    };
    const bool completed = RunPass(desc, book, "Building Index, Please wait...");
    fw::CLOSE(*listings);
    if (!completed) return false;

    // The new pair takes the book's names; the older pair keeps its own
    // under new names beside it.
    std::vector<JournalStep> steps;
    book.PlaceSteps(steps);
    steps.push_back({JournalStep::Rename, DiskPath(oldListings), DiskPath(renamedListings), {}});
    if (hasDiscs) steps.push_back({JournalStep::Rename, DiskPath(oldDiscs), DiskPath(renamedDiscs), {}});
    return Place(book, std::move(steps), ConversionHeading(oldListings, shell::SongBookName.Str()));
}

bool ConvertSongBookFile() {
    const std::string path(shell::SongBookName.Clip());
    shell::SongBook15Name = path;
    shell::ActionOutcome() = shell::outcome::Cancelled;
    const std::string kept = path + std::string(kKeptSuffix);
    if (fw::EXISTS(kept)) {
        Refuse("The SongBook's earlier file cannot be kept as " + kept +
               ": a file of that name already exists.||No file was changed.");
        return false;
    }
    auto older = EarlierFile("SongBook15", SongBook15Rec::Decl(), path);
    if (!OpenOlder(*older)) return false;
    ConvertedBook book(path);
    if (!book.Begin()) {
        fw::CLOSE(*older);
        CannotConvert(book.Error());
        return false;
    }
    const long records = fw::RECORDS(*older);

    shell::ProgressPlan desc(shell::ViewSource(*older, fw::Key{}, shell::ActionMovesKey::No));
    desc.texts.caption = std::string(kLayoutConversionCaption);
    desc.texts.user = "SongBook File Conversion";
    desc.texts.lines = {"To be compatible with this revision, your SongBook", "data files must be converted.",
                        "Depending on the number of listings, this process", "may take a few minutes."};
    desc.measure = shell::ByRecords(25);
    desc.estimate = [records] { return records; };
    desc.action = [&]() -> shell::PassState {
        return book.AddListing(MapSongBook15Listing(older->Rec<SongBook15Rec>())) ? shell::PassState::Running
                                                                                   : shell::PassState::Failed;
    };
    const bool completed = RunPass(desc, book, "Rebuilding Indexes...");
    fw::CLOSE(*older);
    if (!completed) return false;

    std::vector<JournalStep> steps;
    book.PlaceSteps(steps, kKeptSuffix);
    return Place(book, std::move(steps), ConversionHeading(kept, path));
}

}  // namespace songbook
