// Page files: the display list round trip, the folder's life, leftovers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/platform/report/report_fixture.h"

namespace {

using namespace reporttest;
namespace fs = std::filesystem;

Page Sample() {
    Page p;
    p.seq = 3;
    p.number = 7;
    p.width = 11693;
    p.height = 8268;
    p.landscape = true;
    p.Add(OpKind::Band, "DETAIL");
    Op& t = p.Add(OpKind::Text, std::string("Caf\xE9 ") + kPageCountToken);
    t.rect = {1, 2, 3, 4};
    t.font = p.InternFont(Font(12, 700));
    t.color = 0x123456;
    t.align = 2;
    t.clip = true;
    Op& b = p.Add(OpKind::Box);
    b.rect = {10, 20, 30, 40};
    b.fill = 0xC0C0C0;
    b.width = 5;
    p.Add(OpKind::Image, "logo.png").rect = {0, 0, 100, 100};
    return p;
}

TEST(PageFiles, RoundTripKeepsEveryPrimitive) {
    Page p = Sample();
    Page back = Parse(Serialize(p));
    EXPECT_EQ(DumpPage(back, 9), DumpPage(p, 9));
    EXPECT_EQ(DumpPage(back, 9),
              "page 3 number 7 11693x8268 landscape\n"
              "band DETAIL\n"
              "text 1,2,3,4 \"Arial\" 12 700 color=123456 right clip \"Caf\xE9 9\"\n"
              "box 10,20,30,40 border=000000/5 fill=C0C0C0\n"
              "image 0,0,100,100 \"logo.png\"\n");
}

TEST(PageFiles, DamagedFilesAreRefused) {
    std::string bytes = Serialize(Sample());
    EXPECT_THROW(Parse("not a page"), std::runtime_error);
    EXPECT_THROW(Parse(bytes.substr(0, bytes.size() - 3)), std::runtime_error);
    std::string badFont = bytes;
    Page p = Sample();
    p.ops[1].font = 5;
    EXPECT_THROW(Parse(Serialize(p)), std::runtime_error);
}

TEST(PageFiles, TheFolderGoesWithTheLastListAndPagesCanBeDeleted) {
    std::string folder;
    {
        PageList kept;
        {
            static const BandRow bands[] = {{"D", BandRole::Detail, 0, 0, 0}};
            ReportDefinition def = BuildDefinition({}, bands, {});
            Report r(def);
            r.SetRowsPerPage(1);
            for (int i = 0; i < 3; ++i) r.Print("D");
            PageList pages = r.Finish();
            folder = fs::path(pages.At(0).file).parent_path().string();
            EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
            kept = pages.Select({2, 0, 2});
            std::string file = pages.At(1).file;
            pages.Delete(1);
            EXPECT_FALSE(fs::exists(file));
            EXPECT_EQ(pages.Count(), 2);
            EXPECT_EQ(pages.At(1).seq, 3);
        }
        ASSERT_TRUE(fs::exists(folder));  // the selection still uses it
        EXPECT_EQ(kept.Load(0).seq, 3);
        EXPECT_EQ(kept.Load(1).seq, 1);
        EXPECT_EQ(kept.PageCount(), 3);
    }
    EXPECT_FALSE(fs::exists(folder));
}

TEST(PageFiles, AReportUnwoundByAnErrorLeavesNoFiles) {
    std::string folder;
    try {
        static const BandRow bands[] = {{"D", BandRole::Detail, 0, 0, 0}};
        Report r(BuildDefinition({}, bands, {}));
        r.SetRowsPerPage(1);
        r.Print("D");
        r.Print("D");
        folder = fs::path(r.Finish().At(0).file).parent_path().string();
        r.Print("D");  // after Finish: throws
    } catch (const std::logic_error&) {
    }
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(fs::exists(folder));
}

TEST(PageFiles, LeftoversOfDeadRunsAreCleanedAtStart) {
    fs::path tmp = fs::temp_directory_path();
    fs::path dead = tmp / "cv-report-999999999-1";  // no such process
    fs::path alive = tmp / ("cv-report-" + std::to_string(::getppid()) + "-1");
    fs::path other = tmp / "cv-reportish";
    for (const fs::path& p : {dead, alive, other}) fs::create_directories(p);
    std::ofstream(dead / "page1.cvp") << "x";
    CleanLeftoverPageFolders();
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive));
    EXPECT_TRUE(fs::exists(other));
    fs::remove_all(alive);
    fs::remove_all(other);
}

}  // namespace
