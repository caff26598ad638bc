// OPEN of a TopSpeed data file: converted once into a file of ours when its
// table is the declaration (the original kept as NAME.tps-original), 47 for
// another layout, read-only under an earlier layout; failures leave the
// original as it was and say why.

#include "platform/data/file_ops.h"
#include "platform/data/legacy_source.h"
#include "platform/data/tps/tps_legacy_format.h"
#include "platform/runtime/error_state.h"
#include "platform/text/dates.h"
#include "tests/platform/data/data_test_support.h"
#include "tests/platform/data/tps/tps_fixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

using namespace tps_fixture;
using datatest::TempDir;

// A song-book listing: the current layout has a ULONG track number, the
// earlier one a USHORT, which moves every later field.
template <class Track>
struct ListingOf {
    fw::FString<40> Title;
    fw::FString<40> Artist;
    fw::FString<15> UnqDiskID;
    Track DiskTrackNo;
    fw::FString<40> Genre;
    fw::FString<1> Duet;
    fw::FString<1> Print;
    std::int32_t DateAdded;
    fw::FString<20> Location;
    fw::FString<2> MakeId;
};
using Listing = ListingOf<std::uint32_t>;
using OldListing = ListingOf<std::uint16_t>;

template <class R>
fw::RecordDecl ListingDecl(const char* prefix) {
    return fw::RecordDeclBuilder<R>(prefix)
        .Field("Title", &R::Title)
        .Field("Artist", &R::Artist)
        .Field("UnqDiskID", &R::UnqDiskID)
        .Field("DiskTrackNo", &R::DiskTrackNo)
        .Field("Genre", &R::Genre)
        .Field("Duet", &R::Duet)
        .Field("Print", &R::Print)
        .Date("DateAdded", &R::DateAdded)
        .Field("Location", &R::Location)
        .Field("MakeId", &R::MakeId)
        .Build();
}
const fw::RecordDecl& CurrentDecl() {
    static const fw::RecordDecl d = ListingDecl<Listing>("LST");
    return d;
}
const fw::RecordDecl& OldDecl() {
    static const fw::RecordDecl d = ListingDecl<OldListing>("OLD");
    return d;
}

// A song book's disc record.
struct Disc {
    fw::FString<15> UnqDiskID;
    fw::FString<2> MakeType;
    std::int32_t MakeId;
    fw::FString<15> AltDiskID;
};
const fw::RecordDecl& DiscDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Disc>("DSC")
                                        .Field("UnqDiskID", &Disc::UnqDiskID)
                                        .Field("MakeType", &Disc::MakeType)
                                        .Field("MakeId", &Disc::MakeId)
                                        .Field("AltDiskID", &Disc::AltDiskID)
                                        .Build();
    return d;
}

std::string DiscFile(int n) {
    TablePlan t;
    t.name = "SBDISCS";
    t.recordLength = 36;
    t.fields = {{STRING, "SBD:UNQDISKID", 0, 15}, {STRING, "SBD:MAKETYPE", 15, 2}, {LONG, "SBD:MAKEID", 17, 4},
                {STRING, "SBD:ALTDISKID", 21, 15}};
    for (int i = 1; i <= n; ++i)
        t.rows.emplace_back(std::uint32_t(i), Row(36)
                                                  .Text(0, 15, "SC" + std::to_string(1000 + i))
                                                  .Text(15, 2, "SC")
                                                  .Le32(17, std::uint32_t(i % 3))
                                                  .Text(21, 15, i % 2 ? "MY" + std::to_string(i) : ""));
    return Write({t});
}

std::unique_ptr<fw::File> ListingFile(const fw::RecordDecl& decl, std::string path) {
    fw::FileDecl d;
    d.label = "Listings";
    d.record = &decl;
    d.keys = {{"KTITLE", {"Title", "Artist"}}, {"KUNQDISKID", {"UnqDiskID", "DiskTrackNo"}, true}, {"KDATE", {"DateAdded"}}};
    d.create = true;
    d.name = fw::FixedName(std::move(path));
    return std::make_unique<fw::File>(std::move(d));
}

// The TopSpeed table of a song book in either layout, with n listings.
TablePlan BookTable(bool old, int n, int duplicateAt = -1) {
    const std::uint16_t track = old ? 2 : 4;
    const std::uint16_t at = 95 + track;  // the fields after the track number
    TablePlan t;
    t.name = "SONGBOOK";
    t.recordLength = std::uint16_t(at + 68);
    t.fields = {
        {STRING, "SBK:TITLE", 0, 40},          {STRING, "SBK:ARTIST", 40, 40},
        {STRING, "SBK:UNQDISKID", 80, 15},     {old ? USHORT : ULONG, "SBK:DISKTRACKNO", 95, track},
        {STRING, "SBK:GENRE", at, 40},         {STRING, "SBK:DUET", std::uint16_t(at + 40), 1},
        {STRING, "SBK:PRINT", std::uint16_t(at + 41), 1}, {DATE, "SBK:DATEADDED", std::uint16_t(at + 42), 4},
        {STRING, "SBK:LOCATION", std::uint16_t(at + 46), 20}, {STRING, "SBK:MAKEID", std::uint16_t(at + 66), 2},
    };
    t.keys = {{"SBK:KTITLE", {0, 1}}};
    for (int i = 1; i <= n; ++i) {
        Row r(t.recordLength);
        const int disc = (i == duplicateAt ? i - 1 : i) / 10;
        r.Text(0, 40, i % 7 == 0 ? "Caf\xE9 Ol\xE9 " + std::to_string(i) : "Song " + std::to_string(i))
            .Text(40, 40, "Artist " + std::to_string(i % 13))
            .Text(80, 15, "SC" + std::to_string(1000 + disc))
            .Text(at, 40, "Pop")
            .Text(at + 40, 1, i % 2 ? "Y" : "N")
            .Text(at + 41, 1, "Y")
            .Date(at + 42, 2020 + i % 5, i % 12 + 1, i % 28 + 1)
            .Text(at + 46, 20, "Shelf " + std::to_string(i % 4))
            .Text(at + 66, 2, "SC");
        const unsigned number = unsigned((i == duplicateAt ? i - 1 : i) % 10 + 1);
        old ? r.Le16(95, number) : r.Le32(95, number);
        t.rows.emplace_back(std::uint32_t(i), r);
    }
    return t;
}

std::string BookFile(bool old, int n, int duplicateAt = -1) {
    Options o;
    o.leafBytes = 2000;  // many leaves under an inner root page
    return Write({BookTable(old, n, duplicateAt)}, o);
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool IsSqlite(const std::string& path) { return Slurp(path).rfind("SQLite format 3", 0) == 0; }

template <class R>
void ExpectListing(const R& rec, int i) {
    EXPECT_EQ(rec.Title.Str(), i % 7 == 0 ? "Caf\xE9 Ol\xE9 " + std::to_string(i) : "Song " + std::to_string(i));
    EXPECT_EQ(rec.Artist.Str(), "Artist " + std::to_string(i % 13));
    EXPECT_EQ(rec.DiskTrackNo, unsigned(i % 10 + 1));
    EXPECT_EQ(rec.DateAdded, fw::DATE(i % 12 + 1, i % 28 + 1, 2020 + i % 5));
    EXPECT_EQ(rec.Location.Str(), "Shelf " + std::to_string(i % 4));
    EXPECT_EQ(rec.Duet.Str(), i % 2 ? "Y" : "N");
}

class TpsConvert : public ::testing::Test {
protected:
    std::string Book(const std::string& bytes) {
        datatest::WriteText(path, bytes);
        return bytes;
    }
    TempDir dir;
    const std::string path = dir / "PARTY.2BK";
    const std::string kept = path + ".tps-original";
};

TEST_F(TpsConvert, FirstOpenConvertsAndKeepsTheOriginalSecondOpenDoesNot) {
    const std::string original = Book(BookFile(false, 300));
    ASSERT_NE(fw::FindLegacyFormat(path), nullptr);  // registered without being asked
    EXPECT_EQ(fw::FindLegacyFormat(path)->name, "TopSpeed");

    auto book = ListingFile(CurrentDecl(), path);
    fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR() << " / " << fw::FILEERROR();
    EXPECT_EQ(fw::RECORDS(*book), 300);
    EXPECT_TRUE(IsSqlite(path));
    EXPECT_EQ(Slurp(kept), original);
    EXPECT_FALSE(Exists(path + ".converting"));
    EXPECT_EQ(fw::NAME(*book), path);

    // Every row in record order, with its values.
    fw::SET(*book);
    int i = 0;
    while (fw::NEXT(*book), fw::ERRORCODE() == 0) ExpectListing(book->Rec<Listing>(), ++i);
    EXPECT_EQ(i, 300);
    // The keys work, and the file takes writes like any of ours.
    Listing& rec = book->Rec<Listing>();
    rec.UnqDiskID = "sc1007";
    rec.DiskTrackNo = 71 % 10 + 1;
    fw::GET(*book, book->FindKey("KUNQDISKID"));
    ASSERT_EQ(fw::ERRORCODE(), 0);
    ExpectListing(rec, 71);
    rec.Title = "Added after the conversion";
    rec.DiskTrackNo = 99;
    fw::ADD(*book);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::CLOSE(*book);

    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*book), 301);
    fw::CLOSE(*book);
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(Slurp(kept), original);

    // The book's disc file beside it.
    const std::string discPath = dir / "PARTY.2BD";
    datatest::WriteText(discPath, DiscFile(31));
    fw::FileDecl d;
    d.label = "Discs";
    d.record = &DiscDecl();
    d.keys = {{"KUNQDISKID", {"UnqDiskID"}}, {"KALTDISKID", {"AltDiskID"}, true}};
    d.name = fw::FixedName(discPath);
    fw::File discs(std::move(d));
    fw::OPEN(discs, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    EXPECT_EQ(fw::RECORDS(discs), 31);
    discs.Rec<Disc>().AltDiskID = "my17";
    fw::GET(discs, discs.FindKey("KALTDISKID"));
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(discs.Rec<Disc>().UnqDiskID.Str(), "SC1017");
    EXPECT_EQ(discs.Rec<Disc>().MakeId, 17 % 3);
    fw::CLOSE(discs);
    EXPECT_TRUE(Exists(discPath + ".tps-original"));
}

TEST_F(TpsConvert, AnotherLayoutGives47AndOpensReadOnlyUnderTheEarlierLayout) {
    const std::string original = Book(BookFile(true, 40));
    auto current = ListingFile(CurrentDecl(), path);
    fw::OPEN(*current, fw::ReadWrite | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), fw::InvalidFileErr);
    EXPECT_EQ(fw::ERROR(), "Invalid Record Declaration");
    EXPECT_NE(fw::FILEERROR().find("field 4: SBK:DISKTRACKNO is USHORT, declared ULONG"), std::string::npos)
        << fw::FILEERROR();

    fw::RegisterEarlierLayout(OldDecl());
    auto old = ListingFile(OldDecl(), path);
    fw::OPEN(*old, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    EXPECT_EQ(fw::RECORDS(*old), 40);
    EXPECT_EQ(fw::NAME(*old), path);
    fw::SET(old->FindKey("KTITLE"));
    fw::NEXT(*old);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    ExpectListing(old->Rec<OldListing>(), 14);  // "Café Olé 14" sorts first
    fw::ADD(*old);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    fw::PUT(*old);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);

    // A second thread's worth of the same file, while the first is open.
    auto again = ListingFile(OldDecl(), path);
    fw::OPEN(*again, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*again), 40);
    fw::CLOSE(*again);
    fw::CLOSE(*old);

    // The file is as it was, and still the earlier layout for the current one.
    EXPECT_EQ(Slurp(path), original);
    EXPECT_FALSE(Exists(kept));
    fw::OPEN(*current, fw::ReadWrite | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), fw::InvalidFileErr);
}

struct FailureCase {
    const char* what;
    std::function<std::string()> bytes;
    int code;
    std::string reason;  // part of ERROR() and FILEERROR()
    std::string keptBefore = "";  // a file already under NAME.tps-original
};

TEST_F(TpsConvert, AFailedConversionLeavesTheOriginalAndSaysWhy) {
    const std::string good = BookFile(false, 30);
    const std::vector<FailureCase> cases = {
        {"truncated", [&] { return good.substr(0, good.size() - 512); }, fw::FileSystemErr, "truncated file"},
        {"page past the end",
         [] {
             Options o;
             o.compress = false;
             Layout l = WriteLayout({BookTable(false, 5)}, o);
             SetLe16(l.bytes, l.leafOffsets[0] + 4, 0xFFFF);
             return l.bytes;
         },
         fw::FileSystemErr, "page at 0x200 runs past the end of the file"},
        {"damaged compression run",
         [] {
             Layout l = WriteLayout({BookTable(false, 30)});
             l.bytes[l.leafOffsets[0] + 13] = 0;
             return l.bytes;
         },
         fw::FileSystemErr, "page at 0x200: damaged compression run"},
        {"encrypted",
         [] {
             Options o;
             o.password = "owner";
             return Write({BookTable(false, 30)}, o);
         },
         fw::FileSystemErr, "password-protected or not a TopSpeed file"},
        {"encrypted, 60 KB over many page ranges",
         [] {
             Options o;
             o.password = "owner";
             o.unitsPerRange = 4;
             std::string bytes = Write({BookTable(false, 700)}, o);
             EXPECT_GT(bytes.size(), 60000u);
             return bytes;
         },
         fw::FileSystemErr, "password-protected or not a TopSpeed file"},
        {"two listings with one disc and track", [] { return BookFile(false, 30, 25); }, fw::FileSystemErr,
         "two records have the same LST:KUNQDISKID, a unique key"},
        {"another file kept under the original's name", [&] { return good; }, fw::FileSystemErr,
         "PARTY.2BK.tps-original already exists and holds another file", "an older original"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string original = Book(c.bytes());
        std::filesystem::remove(kept);
        if (!c.keptBefore.empty()) datatest::WriteText(kept, c.keptBefore);
        auto book = ListingFile(CurrentDecl(), path);
        fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
        EXPECT_EQ(fw::ERRORCODE(), c.code);
        EXPECT_EQ(fw::ERROR(), fw::FILEERROR());
        EXPECT_EQ(fw::FILEERRORCODE(), "TopSpeed");
        EXPECT_EQ(fw::FILEERROR().rfind(path + ": ", 0), 0u) << fw::FILEERROR();
        EXPECT_NE(fw::FILEERROR().find(c.reason), std::string::npos) << fw::FILEERROR();
        EXPECT_FALSE(fw::IsOpen(*book));
        EXPECT_EQ(Slurp(path), original);
        EXPECT_EQ(Exists(kept), !c.keptBefore.empty());
        if (!c.keptBefore.empty()) {
            EXPECT_EQ(Slurp(kept), c.keptBefore);
        }
        EXPECT_FALSE(Exists(path + ".converting"));
    }
}

TEST_F(TpsConvert, AFileOfNoKnownFormatStaysNotOurs) {
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919) % 251);
    std::string text;
    while (text.size() < 4096) text += "Song Title,Artist,SC1234,1,Pop,N,Y,2024-05-01,Shelf 2,SC\r\n";
    Options o;
    o.unitsPerRange = 4;
    std::string unsigned_ = Write({BookTable(false, 400)}, o);  // plain, but without its signature
    unsigned_[0x0E] = 'x';
    for (const std::string& bytes :
         {noise, std::string(4096, '\0'), std::string(2048, char(0xB0)), text, unsigned_}) {
        Book(bytes);
        EXPECT_FALSE(fw::tps::LooksEncrypted(bytes));
        auto book = ListingFile(CurrentDecl(), path);
        fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
        EXPECT_EQ(fw::ERRORCODE(), fw::InvalidFileErr);
        EXPECT_EQ(Slurp(path), bytes);
    }
}

// A conversion may stop anywhere; the file's name always holds either the
// original or the finished file, and the next open finishes the work.
TEST_F(TpsConvert, AConversionCutShortLeavesTheOriginalUsable) {
    const std::string original = Book(BookFile(false, 200));
    {
        datatest::Child child([&](datatest::Child&) -> char {
            // In the child only: a reader that dies half way through.
            struct Dying : fw::LegacyReader {
                std::unique_ptr<fw::LegacyReader> inner;
                int left = 100;
                int Next(void* rec) override {
                    if (--left == 0) raise(SIGKILL);
                    return inner->Next(rec);
                }
            };
            fw::LegacyFormat f = fw::tps::TopSpeedLegacyFormat();
            auto open = f.open;
            f.open = [open](const std::string& p, const fw::RecordDecl& d) -> std::unique_ptr<fw::LegacyReader> {
                auto r = std::make_unique<Dying>();
                r->inner = open(p, d);
                return r;
            };
            fw::RegisterLegacyFormat(f);
            auto book = ListingFile(CurrentDecl(), path);
            fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
            return 'x';  // not reached
        });
        EXPECT_EQ(child.Receive(), 0);  // died without a word
    }
    EXPECT_EQ(Slurp(path), original);
    EXPECT_FALSE(Exists(kept));

    // Cut short after the original was kept but before the new file took its name.
    ASSERT_EQ(link(path.c_str(), kept.c_str()), 0);
    auto book = ListingFile(CurrentDecl(), path);
    fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    EXPECT_EQ(fw::RECORDS(*book), 200);
    fw::CLOSE(*book);
    EXPECT_EQ(Slurp(kept), original);
    EXPECT_FALSE(Exists(path + ".converting"));
}

}  // namespace
