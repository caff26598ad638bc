#include "songbook/converted_book.h"

#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_files.h"
#include "songbook/book_paths.h"
#include "songbook/song_book_lists.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <filesystem>
#include <system_error>

namespace songbook {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNewSuffix = ".cv-import";

// The new file under the book's declaration; while it is loaded, without its
// keys, which are built once at the end (far quicker than kept row by row).
std::unique_ptr<fw::File> NewFile(const shell::FileEntry& plan, const std::string& path, bool withKeys) {
    fw::FileDecl d = shell::FileDeclOf(plan);
    d.name = fw::FixedName(path);
    if (!withKeys) d.keys.clear();
    return std::make_unique<fw::File>(std::move(d));
}

void RemoveQuietly(const std::string& programPath) {
    std::error_code ec;
    fs::remove(DiskPath(programPath), ec);
}

}  // namespace

ConvertedBook::ConvertedBook(std::string listingsPath, std::string discsPath)
    : listingsPath_(std::move(listingsPath)), discsPath_(std::move(discsPath)),
      newListings_(NewName(listingsPath_)), newDiscs_(discsPath_.empty() ? std::string() : NewName(discsPath_)) {}

ConvertedBook::~ConvertedBook() {
    if (!placed_) Abandon();
}

std::string ConvertedBook::NewName(const std::string& finalPath) const { return finalPath + std::string(kNewSuffix); }

bool ConvertedBook::Fail(std::string what) {
    error_ = std::move(what);
    if (fw::ERRORCODE() != 0) error_ += " (" + std::string(fw::ERROR()) + ")";
    return false;
}

bool ConvertedBook::Begin() {
    RemoveQuietly(newListings_);  // what an earlier attempt left
    if (!newDiscs_.empty()) RemoveQuietly(newDiscs_);
    listingFile_ = NewFile(shell::SongBookFile(), newListings_, false);
    if (!newDiscs_.empty()) discFile_ = NewFile(shell::SBDiscsFile(), newDiscs_, false);
    for (fw::File* f : Files()) {
        fw::CREATE(*f);
        if (fw::ERRORCODE() != 0) return Fail("Cannot create " + fw::NAME(*f));
        fw::OPEN(*f, fw::ReadWrite | fw::DenyAll);
        if (fw::ERRORCODE() != 0) return Fail("Cannot open " + fw::NAME(*f));
        fw::STREAM(*f);
    }
    open_ = true;
    return true;
}

bool ConvertedBook::HasDisc(std::string_view unqDiskId) const { return discIds_.count(FoldedId(unqDiskId)) != 0; }

void ConvertedBook::Note(Change kind, const std::string& text) {
    static constexpr const char* kWords[] = {"Renumbered", "Merged", "Dropped", "Repaired"};
    notes_.push_back(std::string(kWords[static_cast<int>(kind)]) + ": " + text);
}

void ConvertedBook::AddDisc(shell::SBDiscsRec disc) {
    if (!discFile_ || !discIds_.insert(FoldedId(disc.UNQDISKID.View())).second) return;
    const bool discless = disc.UNQDISKID.Clip() == kDisclessDiscId;
    // Every disc is in the custom-ID key, so the disc list shows it; "*"
    // stays the discless tracks' own.
    const auto taken = [&](const fw::FString<15>& id) {
        const std::string folded = FoldedId(id.View());
        return customIds_.count(folded) != 0 || (!discless && folded == kDisclessDiscId);
    };
    if (discless) {
        disc.ALTDISKID = kDisclessDiscId;
    } else if (disc.ALTDISKID.Blank() || taken(disc.ALTDISKID)) {
        const std::string wanted(disc.ALTDISKID.Clip());
        disc.ALTDISKID = disc.UNQDISKID;
        for (int n = 2; taken(disc.ALTDISKID); ++n) {
            const std::string suffix = "-" + std::to_string(n);
            disc.ALTDISKID = std::string(disc.UNQDISKID.Clip()).substr(0, 15 - suffix.size()) + suffix;
        }
        Note(Change::Repaired, "disc " + std::string(disc.UNQDISKID.Clip()) +
                                   (wanted.empty() ? std::string(": its custom ID was blank")
                                                   : ": custom ID " + wanted + " is used by another disc") +
                                   ", so it is now " + std::string(disc.ALTDISKID.Clip()) + ".");
    }
    customIds_.insert(FoldedId(disc.ALTDISKID.View()));
    discFile_->Rec<shell::SBDiscsRec>() = disc;
    fw::APPEND(*discFile_);
    ++discs_;
}

namespace {

std::string Described(const shell::SongBookRec& l) {
    return "\"" + std::string(l.Title.Clip()) + "\" by " + std::string(l.Artist.Clip());
}

}  // namespace

bool ConvertedBook::AddListing(shell::SongBookRec listing) {
    const bool discless = listing.UnqDiskID.Clip() == kDisclessDiscId;
    const std::optional<std::string> key = fw::RecordKeyText(shell::SongBook().FindKey("SBK:KUnqDiskID"), &listing);
    if (key) {
        auto there = tracks_.find(*key);
        if (there != tracks_.end()) {
            if (discless) {
                // Numbered once every discless track of the book is known,
                // above them all, so no listing that keeps its track is moved.
                renumber_.push_back(listing);
                return true;
            }
            const std::string at = "disc " + std::string(listing.UnqDiskID.Clip()) + " track " +
                                   std::to_string(listing.DISKTRACKNO);
            const bool same = FoldedId(listing.Title.View()) == there->second.first &&
                              FoldedId(listing.Artist.View()) == there->second.second;
            if (same)
                Note(Change::Merged, Described(listing) + ", " + at + ", is in the book once.");
            else
                Note(Change::Dropped, Described(listing) + ", " + at + " (location \"" +
                                          std::string(listing.LOCATION.Clip()) + "\"): the track is taken by another song, so this listing was left out.");
            return true;
        }
        tracks_.emplace(*key, std::pair{FoldedId(listing.Title.View()), FoldedId(listing.Artist.View())});
    }
    if (discless) {
        disclessTracks_.insert(listing.DISKTRACKNO);
        nextDisclessTrack_ = std::max<std::uint64_t>(nextDisclessTrack_, std::uint64_t{listing.DISKTRACKNO} + 1);
    }
    return WriteListing(listing);
}

bool ConvertedBook::WriteListing(const shell::SongBookRec& listing) {
    listingFile_->Rec<shell::SongBookRec>() = listing;
    fw::APPEND(*listingFile_);
    if (fw::ERRORCODE() != 0) return Fail("Cannot write " + fw::NAME(*listingFile_));
    ++listings_;
    return true;
}

// Above every discless track so far; past the highest number a track can
// have, the lowest one free.
std::uint32_t ConvertedBook::FreeDisclessTrack() {
    std::uint32_t track = 0;
    if (nextDisclessTrack_ <= UINT32_MAX) {
        track = static_cast<std::uint32_t>(nextDisclessTrack_++);
    } else {
        track = 1;
        while (disclessTracks_.count(track) != 0) ++track;
    }
    disclessTracks_.insert(track);
    return track;
}

bool ConvertedBook::Finish() {
    for (shell::SongBookRec& listing : renumber_) {
        const std::uint32_t was = listing.DISKTRACKNO;
        listing.DISKTRACKNO = FreeDisclessTrack();
        Note(Change::Renumbered, Described(listing) + ": discless track " + std::to_string(was) +
                                     " is taken, so it is now track " + std::to_string(listing.DISKTRACKNO) + ".");
        if (!WriteListing(listing)) return false;
    }
    renumber_.clear();
    for (fw::File* f : Files()) {
        fw::FLUSH(*f);
        if (fw::ERRORCODE() != 0) return Fail("Cannot write " + fw::NAME(*f));
        fw::CLOSE(*f);
        if (fw::ERRORCODE() != 0) return Fail("Cannot write " + fw::NAME(*f));
    }
    open_ = false;
    const struct {
        const shell::FileEntry& plan;
        const std::string& path;
        long count;
    } built[] = {{shell::SongBookFile(), newListings_, listings_}, {shell::SBDiscsFile(), newDiscs_, discs_}};
    for (const auto& b : built) {
        if (b.path.empty()) continue;
        auto keyed = NewFile(b.plan, b.path, true);
        const long dropped = fw::BUILD(*keyed);
        if (fw::ERRORCODE() != 0) return Fail("Cannot build the keys of " + fw::NAME(*keyed));
        fw::OPEN(*keyed, fw::ReadOnly | fw::DenyWrite);
        if (fw::ERRORCODE() != 0) return Fail("Cannot open " + fw::NAME(*keyed));
        const long records = fw::RECORDS(*keyed);
        fw::CLOSE(*keyed);
        if (dropped != 0 || records != b.count) return Fail(fw::NAME(*keyed) + " does not hold every record written");
    }
    return true;
}

void ConvertedBook::PlaceSteps(std::vector<JournalStep>& steps, std::string_view keptSuffix) const {
    for (const auto& [finalPath, newPath] : {std::pair{listingsPath_, newListings_}, std::pair{discsPath_, newDiscs_}}) {
        if (newPath.empty()) continue;
        const std::string target = DiskPath(finalPath);
        // The new file takes the name as the book names it, whatever the
        // letter case of the file it replaces.
        const std::string named = DiskPath(FolderOf(finalPath)) + "/" + fw::AnsiToUtf8(FileNameOf(finalPath));
        std::error_code ec;
        if (fs::exists(target, ec))
            steps.push_back({JournalStep::Rename, target,
                             keptSuffix.empty() ? AsideName(DiskPath(FolderOf(finalPath))) : target + std::string(keptSuffix),
                             {}});
        steps.push_back({JournalStep::Place, DiskPath(newPath), named, {}});
    }
}

void ConvertedBook::Abandon() {
    if (open_)
        for (fw::File* f : Files()) fw::CLOSE(*f);
    open_ = false;
    listingFile_.reset();
    discFile_.reset();
    RemoveQuietly(newListings_);
    if (!newDiscs_.empty()) RemoveQuietly(newDiscs_);
}

std::vector<fw::File*> ConvertedBook::Files() const {
    std::vector<fw::File*> files;
    if (listingFile_) files.push_back(listingFile_.get());
    if (discFile_) files.push_back(discFile_.get());
    return files;
}

std::string FoldedId(std::string_view id) {
    std::string s = fw::UpperText(id);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string ConversionLogPath(std::string_view listingsPath) {
    const std::string name = BookNameOf(listingsPath) + ".conversion.log";
    const std::string folder = FolderOf(listingsPath);
    return folder.empty() ? name : JoinPath(folder, name);
}

bool WriteConversionLog(const std::string& logPath, const std::string& heading, const std::vector<std::string>& notes,
                        std::string& error) {
    std::error_code ec;
    const bool earlier = fs::exists(DiskPath(logPath), ec);
    std::ofstream out(DiskPath(logPath), std::ios::binary | std::ios::app);
    if (out) {
        if (earlier) out << '\n';
        out << fw::AnsiToUtf8(heading) << '\n';
        for (const std::string& n : notes) out << fw::AnsiToUtf8(n) << '\n';
        out.flush();
    }
    if (out) return true;
    error = std::strerror(errno);
    return false;
}

std::string ConversionNotesText(std::size_t changes, const std::string& logPath, const std::string& logError) {
    if (changes == 0) return {};
    std::string text = "The SongBook has been converted with " + std::to_string(changes) +
                       (changes == 1 ? " change" : " changes") + " to its listings and discs.|";
    if (logError.empty()) return text + "|Every change is listed in " + logPath;
    return text + "|The list of them could not be written to " + logPath + " (" + logError + ").";
}

}  // namespace songbook
