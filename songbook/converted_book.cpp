#include "songbook/converted_book.h"

#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_files.h"
#include "songbook/book_paths.h"
#include "songbook/song_book_lists.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace songbook {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNewSuffix = ".cv-import";

std::string TrackKey(const shell::SongBookRec& l) { return FoldedId(l.UnqDiskID.View()) + '\x01' + std::to_string(l.DISKTRACKNO); }

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

void ConvertedBook::AddDisc(shell::SBDiscsRec disc) {
    if (!discFile_ || !discIds_.insert(FoldedId(disc.UNQDISKID.View())).second) return;
    if (!disc.ALTDISKID.Blank() && customIds_.count(FoldedId(disc.ALTDISKID.View())) != 0) {
        const std::string wanted(disc.ALTDISKID.Clip());
        disc.ALTDISKID = disc.UNQDISKID;
        for (int n = 2; customIds_.count(FoldedId(disc.ALTDISKID.View())) != 0; ++n) {
            const std::string suffix = "-" + std::to_string(n);
            disc.ALTDISKID = std::string(disc.UNQDISKID.Clip()).substr(0, 15 - suffix.size()) + suffix;
        }
        notes_.push_back("Disc " + std::string(disc.UNQDISKID.Clip()) + ": custom ID " + wanted +
                         " is used by another disc, so it is now " + std::string(disc.ALTDISKID.Clip()) + ".");
    }
    if (!disc.ALTDISKID.Blank()) customIds_.insert(FoldedId(disc.ALTDISKID.View()));
    discFile_->Rec<shell::SBDiscsRec>() = disc;
    fw::APPEND(*discFile_);
    ++discs_;
}

bool ConvertedBook::AddListing(shell::SongBookRec listing) {
    const bool discless = listing.UnqDiskID.Clip() == kDisclessDiscId;
    if (!tracks_.insert(TrackKey(listing)).second) {
        if (!discless) {
            notes_.push_back(std::string(listing.Title.Clip()) + ": disc " + std::string(listing.UnqDiskID.Clip()) +
                             " track " + std::to_string(listing.DISKTRACKNO) +
                             " is already taken, so this listing was left out.");
            return true;
        }
        const std::uint32_t was = listing.DISKTRACKNO;
        listing.DISKTRACKNO = nextDisclessTrack_;
        tracks_.insert(TrackKey(listing));
        notes_.push_back(std::string(listing.Title.Clip()) + ": discless track " + std::to_string(was) +
                         " is taken, so it is now track " + std::to_string(listing.DISKTRACKNO) + ".");
    }
    if (discless) nextDisclessTrack_ = std::max(nextDisclessTrack_, listing.DISKTRACKNO + 1);
    listingFile_->Rec<shell::SongBookRec>() = listing;
    fw::APPEND(*listingFile_);
    if (fw::ERRORCODE() != 0) return Fail("Cannot write " + fw::NAME(*listingFile_));
    ++listings_;
    return true;
}

bool ConvertedBook::Finish() {
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

std::string ConversionNotesText(const std::vector<std::string>& notes) {
    if (notes.empty()) return {};
    constexpr std::size_t kShown = 12;
    std::string text = "The SongBook has been converted, with these changes:|";
    for (std::size_t i = 0; i < notes.size() && i < kShown; ++i) text += "|" + notes[i];
    if (notes.size() > kShown) text += "|... and " + std::to_string(notes.size() - kShown) + " more.";
    return text;
}

}  // namespace songbook
