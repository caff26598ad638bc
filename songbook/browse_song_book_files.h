#pragma once
// The song-book window's work on the data files, kept apart from the
// window code (the data layer's key class and the window layer's key codes
// share the name fw::Key). Each call acts on the current thread's files and
// returns ERRORCODE where it can fail.

#include "platform/data/background_check.h"

#include <memory>
#include <string>
#include <string_view>

namespace songbook::book_files {

int ShareListings();  // SHARE(SongBook) read/write, deny none
int ShareDiscs();
int CreateListings();
int CreateDiscs();
void CloseBookPair();
long ListingCount();
// Whether the book has no listing, without counting them (the SongBook
// buffer and current record are left on the first listing).
bool BookIsEmpty();
// The open pair's count and quick check, started on a thread of their own:
// its Result() is empty when both files are sound, otherwise the damaged
// file's name and the problem.
std::unique_ptr<fw::BackgroundCheck> StartBookCheck();

// True when no disc of the open book has brand number 1 yet.
bool DiscBrandsNeedUpdate();
// Every disc of brand number 0 gets brand 1.
void RewriteDiscBrands();

// The Main SongBase's brand list, opened for the update unless it is open
// already; false when it cannot be opened (there is nothing to update).
class BrandList {
public:
    BrandList();
    ~BrandList();
    BrandList(const BrandList&) = delete;
    BrandList& operator=(const BrandList&) = delete;
    bool Usable() const { return usable_; }
    bool NeedsUpdate();  // no brand has number 1 yet
    void Rewrite();      // brand number 0 becomes 1

private:
    bool usable_ = false;
    bool openedHere_ = false;
};

// BIND of the Genre, SBDiscs and SongBook records for filters and forms.
void BindWindowFiles();
// The window's own BIND scope.
void PushBindScope();
void PopBindScope();

}  // namespace songbook::book_files
