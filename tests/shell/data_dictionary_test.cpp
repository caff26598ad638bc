#include "shell/data_dictionary.h"
#include "shell/data_dictionary_prefixes.h"

#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// "Title STRING(40), Track USHORT, ..." in declaration order.
std::string Fields(const fw::RecordDecl& d) {
    std::string s;
    for (const fw::FieldDecl& f : d.fields) {
        if (!s.empty()) s += ", ";
        s += f.name + " " + fw::FieldTypeName(f.type);
        if (f.type == fw::FieldType::String) s += "(" + std::to_string(f.size) + ")";
    }
    return s;
}

// "KTITLE(Title,Artist)" with " unique" for unique keys.
std::string Keys(const shell::FileEntry& f) {
    std::string s;
    for (const shell::KeyPlan& k : f.keys) {
        if (!s.empty()) s += " ";
        s += k.name + "(";
        for (std::size_t i = 0; i < k.components.size(); ++i) s += (i ? "," : "") + k.components[i];
        s += ")";
        if (k.unique) s += "!";
    }
    return s;
}

struct FileCase {
    const char* label;
    const char* prefix;
    const char* name;  // fixed name or extension
    bool create;
    bool reclaim;
    std::size_t bytes;
    const char* fields;
    const char* keys;  // "!" marks a unique key
};

const FileCase kFiles[] = {
    {"KARAOKE", "KAR", "MAIN.TPS", true, true, 111,
     "Title STRING(40), Artist STRING(40), DISKID STRING(10), DiskTrackNo USHORT, MAKEID LONG, UnqDiskID STRING(15)",
     "KTITLE(Title) KUNQDISKID(UnqDiskID) KARTIST(Artist) KDISK(UnqDiskID,DiskTrackNo) KMAKE(MAKEID)"},
    {"Discs", "DIS", "DISCS.TPS", true, false, 29, "MakeID LONG, DISKID STRING(10), UnqDiskID STRING(15)",
     "KMAKEID(MakeID,DISKID) KUNQDISKID(UnqDiskID) KDISKID(DISKID)"},
    {"DMake", "BRA", "DMAKE.TPS", true, true, 44, "MAKE STRING(40), MakeID LONG", "KMAKE(MAKE) KMAKEID(MakeID)"},
    {"MAKEID", "MAK", "MAKEID.TPS", false, false, 32, "MAKEID STRING(2), MAKEDESC STRING(30)",
     "KMAKEID(MAKEID) KMAKEDESC(MAKEDESC)"},
    {"sArtist", "SAR", "SARTIST.TPS", true, false, 25, "Artist STRING(25)", "KARTIST(Artist)"},
    {"sTitle", "STI", "STITLE.TPS", true, false, 40, "Title STRING(40)", "KTITLE(Title)"},
    {"Genre", "GEN", "GENRE.TPS", true, false, 40, "GENRE STRING(40)", "KGENRE(GENRE)"},
    {"SongBook", "SBK", ".2bk", true, false, 167,
     "Title STRING(40), Artist STRING(40), UnqDiskID STRING(15), DISKTRACKNO ULONG, GENRE STRING(40), "
     "Duet STRING(1), PRINT STRING(1), DateAdded DATE, LOCATION STRING(20), MAKEID STRING(2)",
     "KTITLE(Title,Artist,DISKTRACKNO,DateAdded) KGENRE(GENRE) KMATCHSONG(Title,Artist) KDISKID(UnqDiskID) "
     "ARTISTKEY(Artist) TITLEKEY(Title) KDATEADDED(DateAdded) KLOCATION(LOCATION) "
     "KARTIST(Artist,Title,DISKTRACKNO,DateAdded) KUnqDiskID(UnqDiskID,DISKTRACKNO)!"},
    {"SBDiscs", "SBD", ".2bd", true, false, 36,
     "UNQDISKID STRING(15), MAKETYPE STRING(2), MakeID LONG, ALTDISKID STRING(15)",
     "KUNQDISKID(UNQDISKID) KMAKEID(MakeID) KALTDISKID(ALTDISKID)!"},
};

TEST(DataDictionary, EveryFileIsDeclaredAsDesigned) {
    ASSERT_EQ(shell::DataFiles().size(), std::size(kFiles));
    std::set<const fw::FString<128>*> nameVariables;
    std::vector<std::int32_t shell::CallingState::*> counters;
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        const FileCase& c = kFiles[i];
        const shell::FileEntry& f = *shell::DataFiles()[i];
        SCOPED_TRACE(c.label);
        EXPECT_EQ(f.label, c.label);
        EXPECT_EQ(f.Prefix(), c.prefix);
        EXPECT_EQ(f.fixedName.empty() ? f.extension : f.fixedName, c.name);
        EXPECT_EQ(f.create, c.create);
        EXPECT_EQ(f.reclaim, c.reclaim);
        EXPECT_TRUE(f.thread);
        EXPECT_EQ(f.designedBytes, c.bytes);
        EXPECT_EQ(shell::DeclaredBytes(*f.record), c.bytes);
        EXPECT_EQ(Fields(*f.record), c.fields);
        EXPECT_EQ(Keys(f), c.keys);
        for (const shell::KeyPlan& k : f.keys) {
            EXPECT_TRUE(k.optional && k.caseInsensitive) << k.name;
            for (const std::string& part : k.components) EXPECT_GE(f.record->Find(part), 0) << k.name << " " << part;
        }
        EXPECT_EQ(shell::FindDataFile(c.label), &f);
        nameVariables.insert(f.nameVariable);
        EXPECT_NE(f.useCounter, nullptr);
        for (auto seen : counters) EXPECT_NE(seen, f.useCounter);
        counters.push_back(f.useCounter);
    }
    // No two files share a name variable or a use counter.
    EXPECT_EQ(nameVariables.size(), std::size(kFiles));
}

TEST(DataDictionary, KeysAreFoundWithOrWithoutPrefix) {
    const shell::FileEntry& book = shell::SongBookFile();
    ASSERT_NE(book.FindKey("SBK:KUnqDiskID"), nullptr);
    EXPECT_TRUE(book.FindKey("sbk.kunqdiskid")->unique);
    EXPECT_EQ(book.FindKey("KDISKID")->components.size(), 1u);
    EXPECT_EQ(book.FindKey("SBD:KDISKID"), nullptr);  // another file's prefix
    EXPECT_EQ(book.FindKey("KNOPE"), nullptr);
    EXPECT_EQ(shell::FindDataFile("nope"), nullptr);
    EXPECT_EQ(shell::FindDataFile("karaoke"), &shell::KaraokeFile());
}

TEST(DataDictionary, QueueRecordsAsDesigned) {
    EXPECT_EQ(Fields(shell::DiscTagQueueRec::Decl()),
              "QUEUNQDISKID STRING(17), DISKID STRING(17), TRACKNO USHORT, QUEGENRE STRING(40)");
    const std::string import =
        "TITLE STRING(40), ARTIST STRING(40), ALTDISKID STRING(15), DISKTRACKNO ULONG, UNQDISKID STRING(15), "
        "GENRE STRING(40), DUET STRING(1), SBKMAKEID STRING(2), MAKEID LONG, MAKETYPE STRING(2), DATEADDED DATE";
    EXPECT_EQ(Fields(shell::ImportQueRec::Decl()), import + ", STATUS BYTE");
    EXPECT_EQ(shell::ImportQueRec::Decl().prefix, "IMP");
    EXPECT_EQ(Fields(shell::ImportConflictQueueRec::Decl()), import);
    EXPECT_EQ(shell::ImportConflictQueueRec::Decl().prefix, "BAD");
    EXPECT_EQ(Fields(shell::TagPtrQueueRec::Decl()), "TAGPTR LONG");
}

TEST(DataDictionary, FieldsCutOnAssignment) {
    shell::DiscTagQueueRec tag;
    tag.DISKID = "ABCDEFGHIJKLMNOPQ";  // 17
    SBD.ALTDISKID = tag.DISKID;
    EXPECT_EQ(SBD.ALTDISKID.Str(), "ABCDEFGHIJKLMNO");
    KAR.Title = std::string(41, 'x');
    EXPECT_EQ(KAR.Title.Str(), std::string(40, 'x'));
    fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
    fw::ClearRecord(&KAR, shell::KaraokeRec::Decl());
}

TEST(DataDictionary, BuffersAndCallingStateArePerThread) {
    SBK.Title = "Danny Boy";
    SBK.DISKTRACKNO = 4;
    shell::RequestedAction() = shell::action::Change;
    shell::Calling().SongBookOpenCount = 2;
    GLO.COMPANYNAME = "Shared";

    fw::ThreadContext other(2);
    fw::SetCurrentContext(&other);
    // A new thread starts with cleared buffers and zero calling state ...
    EXPECT_TRUE(SBK.Title.Blank());
    EXPECT_EQ(SBK.DISKTRACKNO, 0u);
    EXPECT_EQ(SBK.DateAdded, 0);
    EXPECT_EQ(shell::RequestedAction(), 0);
    EXPECT_EQ(shell::ActionOutcome(), 0);
    EXPECT_EQ(shell::FormNavigationRequest(), 0);
    EXPECT_EQ(shell::Calling().SongBookOpenCount, 0);
    // ... and sees the shared globals.
    EXPECT_EQ(GLO.COMPANYNAME, "Shared");
    SBK.Title = "Aura Lee";
    shell::ActionOutcome() = shell::outcome::Cancelled;

    fw::SetCurrentContext(nullptr);
    EXPECT_EQ(SBK.Title, "Danny Boy");
    EXPECT_EQ(SBK.DISKTRACKNO, 4u);
    EXPECT_EQ(shell::RequestedAction(), shell::action::Change);
    EXPECT_EQ(shell::ActionOutcome(), 0);
    EXPECT_EQ(shell::Calling().SongBookOpenCount, 2);

    shell::Calling() = shell::CallingState{};
    fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
    shell::InitialiseSharedGlobals();
}

TEST(DataDictionary, SharedGlobalsStartAsDesigned) {
    shell::FrameResized = 1;
    shell::SongBookName = "/books/party.2bk";
    shell::ProgramVersion = "9";
    shell::InitialiseSharedGlobals();
    EXPECT_EQ(shell::ProgramTitle, "Cantorvale V2 DedaDaru Virovir BASIC");
    EXPECT_EQ(shell::ProgramVersion, "2.6.2232");
    EXPECT_FALSE(GLO.COMPANYNAME.Blank());
    EXPECT_EQ(shell::FrameResized, 0);
    EXPECT_EQ(shell::SongBookName.View(), std::string(128, ' '));
    EXPECT_LE(shell::kCompanyWebAddress.size(), shell::WebAddress.Size());
}

TEST(DataDictionary, SongBaseFileNamesFollowTheInstallFolder) {
    shell::SetSongBaseFileNames("/opt/karaoke");
    EXPECT_EQ(shell::KaraokeName, "/opt/karaoke/MAIN.TPS");
    EXPECT_EQ(shell::DiscsName, "/opt/karaoke/DISCS.TPS");
    EXPECT_EQ(shell::DMakeName, "/opt/karaoke/DMAKE.TPS");
    EXPECT_EQ(shell::MakeIdName, "/opt/karaoke/MAKEID.TPS");
    EXPECT_EQ(shell::SArtistName, "/opt/karaoke/SARTIST.TPS");
    EXPECT_EQ(shell::STitleName, "/opt/karaoke/STITLE.TPS");
    EXPECT_EQ(shell::GenreName, "/opt/karaoke/GENRE.TPS");
    EXPECT_EQ(shell::AutoUpdateListName, "/opt/karaoke/autoupdate.lst");
    EXPECT_TRUE(shell::SongBookName.Blank());  // a book's names are the song-book window's
    shell::InitialiseSharedGlobals();
    EXPECT_TRUE(shell::KaraokeName.Blank());
}

}  // namespace
