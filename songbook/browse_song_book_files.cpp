#include "songbook/browse_song_book_files.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"

namespace songbook::book_files {

int ShareListings() {
    fw::SHARE(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
    return fw::ERRORCODE();
}
int ShareDiscs() {
    fw::SHARE(shell::SBDiscs(), fw::ReadWrite | fw::DenyNone);
    return fw::ERRORCODE();
}
int CreateListings() {
    fw::CREATE(shell::SongBook());
    return fw::ERRORCODE();
}
int CreateDiscs() {
    fw::CREATE(shell::SBDiscs());
    return fw::ERRORCODE();
}
void CloseBookPair() {
    fw::CLOSE(shell::SongBook());
    fw::CLOSE(shell::SBDiscs());
}
long ListingCount() { return fw::RECORDS(shell::SongBook()); }

bool BookIsEmpty() {
    fw::SET(shell::SongBook());
    fw::NEXT(shell::SongBook());
    const bool empty = fw::ERRORCODE() != 0;
    fw::SetError(0);
    return empty;
}

std::unique_ptr<fw::BackgroundCheck> StartBookCheck() {
    return std::make_unique<fw::BackgroundCheck>(std::vector<fw::File*>{&shell::SongBook(), &shell::SBDiscs()},
                                                 fw::BackgroundCheck::Begin::Later);
}

bool DiscBrandsNeedUpdate() {
    fw::File& discs = shell::SBDiscs();
    SBD.MakeID = 1;
    fw::GET(discs, discs.FindKey("SBD:KMAKEID"));
    return fw::ERRORCODE() != 0;
}

void RewriteDiscBrands() {
    fw::File& discs = shell::SBDiscs();
    fw::SET(discs);
    for (;;) {
        fw::NEXT(discs);
        if (fw::ERRORCODE() != 0) break;
        if (SBD.MakeID == 0) {
            SBD.MakeID = 1;
            fw::PUT(discs);
        }
    }
    fw::SetError(0);
}

BrandList::BrandList() {
    fw::File& brands = shell::DMake();
    if (fw::IsOpen(brands)) {
        usable_ = true;
        return;
    }
    fw::OPEN(brands, fw::ReadWrite | fw::DenyWrite);
    usable_ = openedHere_ = fw::ERRORCODE() == 0;
}

BrandList::~BrandList() {
    if (openedHere_) fw::CLOSE(shell::DMake());
    fw::SetError(0);
}

bool BrandList::NeedsUpdate() {
    if (!usable_) return false;
    fw::File& brands = shell::DMake();
    BRA.MakeID = 1;
    fw::GET(brands, brands.FindKey("BRA:KMAKEID"));
    return fw::ERRORCODE() != 0;
}

void BrandList::Rewrite() {
    fw::File& brands = shell::DMake();
    fw::SET(brands);
    for (;;) {
        fw::NEXT(brands);
        if (fw::ERRORCODE() != 0) break;
        if (BRA.MakeID == 0) {
            BRA.MakeID = 1;
            fw::PUT(brands);
        }
    }
    fw::SetError(0);
}

void BindWindowFiles() {
    fw::BIND(shell::Genre());
    fw::BIND(shell::SBDiscs());
    fw::BIND(shell::SongBook());
}

void PushBindScope() { fw::PUSHBIND(); }
void PopBindScope() { fw::POPBIND(); }

}  // namespace songbook::book_files
