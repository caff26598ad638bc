#include "songbook/browse_song_book_lists.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "shell/browse_page.h"
#include "shell/data_files.h"
#include "shell/warnings.h"

#include <array>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

fw::File& FileLabelled(std::string_view label) {
    return label == "SBDiscs" ? shell::SBDiscs() : shell::SongBook();
}

// "PRE:Field" of the book's two files: its file and field index.
struct FieldRef {
    fw::File* file;
    int field;
};
FieldRef Resolve(std::string_view name) {
    fw::File& file = name.substr(0, 4) == "SBD:" ? shell::SBDiscs() : shell::SongBook();
    return {&file, file.Record().Find(name)};
}

// Reads the listing whose disc ID and track SBK holds (watched, so a change
// written back later notices another station's change first), then its disc
// (blank when the book has none).
bool ReadListingByDiscAndTrack(std::string_view warningFile) {
    fw::File& book = shell::SongBook();
    fw::WATCH(book);
    fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
    if (fw::ERRORCODE() != 0) {
        shell::ShowWarningOneText(35, warningFile);
        return false;
    }
    SBD.UNQDISKID = SBK.UnqDiskID;
    fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KUNQDISKID"));
    if (fw::ERRORCODE() != 0) fw::ClearRecord(&SBD, shell::SBDiscs().Record());
    return true;
}

shell::BrowsePlan SpecFor(const SongBookListDecl& decl, bool selectMode, const std::function<void()>& form,
                          shell::PagedBrowse** self) {
    shell::BrowsePlan desc;
    fw::File& primary = FileLabelled(decl.primaryFile);
    desc.primary = &primary;
    desc.orders = {{primary.FindKey(decl.orderKey)}};
    const bool discList = decl.kind == SongBookListKind::Disc;
    fw::File& joined = FileLabelled(decl.joinedFile);
    const std::string joinKey(decl.joinKey);
    desc.joins = [&joined, joinKey, discList](fw::View& view) {
        // Listings join their disc, discs their listings, by the unique disc ID.
        if (discList) view.Join(joined.FindKey(joinKey), {"SBD:UNQDISKID"});
        else view.Join(joined.FindKey(joinKey), {"SBK:UnqDiskID"});
    };
    std::vector<FieldRef> fields;
    for (std::string_view name : decl.rowFields) fields.push_back(Resolve(name));
    desc.columns = [fields] {
        fw::ui::ListRow row;
        for (const FieldRef& f : fields) {
            const fw::RecordDecl& rec = f.file->Record();
            row.push_back(f.field < 0 ? std::string()
                                      : fw::GetText(f.file->Buffer(), rec.fields[static_cast<std::size_t>(f.field)]));
        }
        return row;
    };
    const std::string warningFile(decl.warningFile);
    const bool byDiscAndTrack = decl.lookup == ListingLookup::ByDiscAndTrack;
    desc.lookup = [self, warningFile, byDiscAndTrack] {
        // The highlighted row again: an insert starts from a copy of it, and
        // the new disc takes the brand of its disc, which the insert's
        // clearing of the disc list's own record would lose; a blank record
        // when the book is empty.
        shell::PagedBrowse& browse = **self;
        if (browse.RowsLoaded() == 0) return true;
        browse.RereadHighlighted();
        return !byDiscAndTrack || ReadListingByDiscAndTrack(warningFile);
    };
    desc.form = form;
    desc.selectMode = selectMode;
    return desc;
}

shell::BrowseButtons ButtonsOf(const SongBookListDecl& decl) {
    return {std::string(decl.insertButton), std::string(decl.changeButton), std::string(decl.deleteButton),
            std::string(decl.selectButton)};
}

}  // namespace

struct SongBookBrowses::Lists {
    struct One {
        One(const SongBookListDecl& decl, bool selectMode, const std::function<void()>& form)
            : list(std::string(decl.listControl), ButtonsOf(decl)),
              browse(SpecFor(decl, selectMode, form, &self), list) {
            self = &browse;
        }
        shell::PagedBrowse* self = nullptr;  // the lookup's way back to its browse
        shell::WindowBrowseList list;
        shell::PagedBrowse browse;
    };
    std::array<std::unique_ptr<One>, 3> all;
    shell::PagedBrowse& Of(SongBookListKind kind) { return all[static_cast<std::size_t>(kind) - 1]->browse; }
};

SongBookBrowses::SongBookBrowses(bool selectMode, std::function<void()> form)
    : lists_(std::make_unique<Lists>()) {
    for (const SongBookListDecl* decl : SongBookLists())
        lists_->all[static_cast<std::size_t>(decl->kind) - 1] = std::make_unique<Lists::One>(*decl, selectMode, form);
}

SongBookBrowses::~SongBookBrowses() = default;

void SongBookBrowses::Show(SongBookListKind kind) {
    visible_ = kind;
    lists_->Of(kind).RequestResync();
}

bool SongBookBrowses::TakeEvent(int event, int field, int keyCode) {
    return lists_->Of(visible_).TakeEvent(event, field, keyCode);
}

void SongBookBrowses::RequestResync() { lists_->Of(visible_).RequestResync(); }

void SongBookBrowses::Sync() { lists_->Of(visible_).SyncBrowse(); }

void SongBookBrowses::RereadHighlighted() { lists_->Of(visible_).RereadHighlighted(); }

void SongBookBrowses::ReloadVisible() { lists_->Of(visible_).ReloadPage(shell::ReloadKind::Keep); }

bool SongBookBrowses::HasRows() const { return lists_->all[static_cast<std::size_t>(visible_) - 1]->browse.RowsLoaded() > 0; }

Highlighted SongBookBrowses::FetchHighlighted() {
    shell::PagedBrowse& browse = lists_->Of(visible_);
    if (browse.RowsLoaded() == 0) return Highlighted::None;
    browse.RereadHighlighted();
    const SongBookListDecl& decl = SongBookList(visible_);
    if (visible_ == SongBookListKind::Disc && SBK.UnqDiskID.Blank() && SBK.DISKTRACKNO == 0) return Highlighted::DiscOnly;
    return ReadListingByDiscAndTrack(decl.warningFile) ? Highlighted::Listing : Highlighted::Failed;
}

SearchResult SongBookBrowses::Search(std::string_view text, SearchMode mode, std::string_view after) {
    Lists::One& shown = *lists_->all[static_cast<std::size_t>(visible_) - 1];
    shown.browse.RereadHighlighted();
    SearchResult result;
    {
        SearchingScreen searching;  // gone before the hit is shown or "not found" is said
        result = SearchSongBookList(visible_, text, mode, after);
    }
    if (!result.found) return result;
    // The page starts at the hit's own row (a disc's later track included)
    // and highlights it.
    const bool standing = StandOnHit(visible_, shown.browse.View());
    shown.browse.ReloadPage(standing ? shell::ReloadKind::FromView : shell::ReloadKind::FromBottom);
    shown.list.PostNewSelection();
    return result;
}

}  // namespace songbook
