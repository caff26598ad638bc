// A book made by the data layer itself, with its keys in our collations,
// survives a backup and a restore and opens again with every record.
#include "songbook/book_backup.h"

#include "book_fixture.h"
#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/os/archive/archive.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbook.h"

#include <memory>

namespace {

using namespace book_test;

std::unique_ptr<fw::File> BookFile(const shell::FileEntry& desc, const fs::path& path) {
    fw::FileDecl d;
    d.label = desc.label;
    d.record = desc.record;
    for (const shell::KeyPlan& k : desc.keys) d.keys.push_back({k.name, k.components, k.unique, k.optional, k.caseInsensitive});
    d.create = true;
    d.name = fw::FixedName(path.string());
    return std::make_unique<fw::File>(std::move(d));
}

// The titles of a listings file in its title key's order.
std::string Titles(const fs::path& path) {
    auto f = BookFile(shell::SongBookFile(), path);
    fw::OPEN(*f, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    std::string out;
    fw::SET(f->FindKey("SBK:KTITLE"));
    for (fw::NEXT(*f); fw::ERRORCODE() == 0; fw::NEXT(*f)) out += f->Rec<shell::SongBookRec>().Title.Str() + ";";
    fw::CLOSE(*f);
    return out;
}

class DataFileBackupTest : public BookFolderTest {};

TEST_F(DataFileBackupTest, BookOfTheDataLayerRoundTrips) {
    fw::zCloseZipFile();
    {
        auto listings = BookFile(shell::SongBookFile(), books() / "Party.2bk");
        auto discs = BookFile(shell::SBDiscsFile(), books() / "Party.2bd");
        for (fw::File* f : {listings.get(), discs.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        const char* titles[] = {"danny boy", "Blue Moon", "\xC9t\xE9 Indien"};
        std::uint32_t track = 0;
        for (const char* title : titles) {
            auto& r = listings->Rec<shell::SongBookRec>();
            fw::ClearRecord(&r, shell::SongBookRec::Decl());
            r.Title = title;
            r.UnqDiskID = "AV4127";
            r.DISKTRACKNO = ++track;
            fw::ADD(*listings);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        auto& d = discs->Rec<shell::SBDiscsRec>();
        fw::ClearRecord(&d, shell::SBDiscsRec::Decl());
        d.UNQDISKID = "AV4127";
        fw::ADD(*discs);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::CLOSE(*listings);
        fw::CLOSE(*discs);
    }
    const std::string titles = Titles(books() / "Party.2bk");
    ASSERT_EQ(titles, "Blue Moon;danny boy;\xC9t\xE9 Indien;");

    ASSERT_EQ(songbook::BackupBook((books() / "Party.2bk").string(), other().string()).status, songbook::BookStatus::Done);
    fs::create_directory(root() / "restore");
    const auto r = songbook::RestoreBooks((other() / "Party.bkp").string(), (root() / "restore").string(), {});
    ASSERT_EQ(r.status, songbook::BookStatus::Done) << r.message;
    EXPECT_EQ(Titles(root() / "restore" / "Party.2bk"), titles);
}

}  // namespace
