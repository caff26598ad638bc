// A report whose temporary folder is full, or cannot be used: the report
// stops with a message naming the folder and the cause, its pages go, and
// the program thread that made it goes on.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "tests/platform/report/report_fixture.h"

namespace {

using namespace reporttest;
namespace fs = std::filesystem;

ReportDefinition OneRowPerPage() {
    static const BandRow bands[] = {{"DETAIL", BandRole::Detail, 0, 0, 300}};
    static const ElementRow elements[] = {{"DETAIL", Text("NAME", {0, 0, 3000, 200})}};
    ReportDefinition def = BuildDefinition({}, bands, elements);
    def.detailArea = {500, 1000, 7500, 300};
    return def;
}

// Page folders of this process in the folder.
int PageFoldersIn(const std::string& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().starts_with("cv-report-")) ++n;
    return n;
}

class ReportTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cv-fulldisk-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        if (const char* t = std::getenv("TMPDIR")) savedTmp_ = t, hadTmp_ = true;
    }
    void TearDown() override {
        if (hadTmp_) ::setenv("TMPDIR", savedTmp_.c_str(), 1);
        else ::unsetenv("TMPDIR");
        if (mounted_) ::umount2(root_.c_str(), MNT_DETACH);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    // The temporary folder becomes a tmpfs of that many kilobytes.
    bool MountSmallDisk(int kilobytes) {
        if (::geteuid() != 0) return false;
        const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0700";
        mounted_ = ::mount("tmpfs", root_.c_str(), "tmpfs", 0, options.c_str()) == 0;
        return mounted_;
    }
    void UseAsTemporaryFolder(const std::string& folder) { ::setenv("TMPDIR", folder.c_str(), 1); }

    // Makes a report of `pages` pages on a program thread; its pages.
    int RunReport(fw::testing::Driver& d, int pages, bool& wentOn) {
        int made = -1;
        d.Start([&] {
            {
                Report r(OneRowPerPage());
                for (int i = 1; i <= pages && !r.Failed(); ++i) {
                    r.Element("NAME").text = "Row " + std::to_string(i);
                    r.Print("DETAIL");
                }
                PageList list = r.Finish();
                made = list.Count();
                inside_ = PageFoldersIn(root_);
                if (inside_ > 0) {
                    for (const auto& e : fs::directory_iterator(root_))
                        if (e.is_directory())
                            for (const auto& f : fs::directory_iterator(e.path())) filesLeft_ += f.is_regular_file();
                }
            }
            wentOn = true;
        });
        return made;
    }

    std::string root_, savedTmp_;
    bool hadTmp_ = false, mounted_ = false;
    int inside_ = 0, filesLeft_ = 0;
};

TEST_F(ReportTempFolderTest, AFullDiskStopsTheReportWithAMessageAndRemovesItsPages) {
    if (!MountSmallDisk(64)) GTEST_SKIP() << "a full disk is a small tmpfs, which only root can mount here";
    UseAsTemporaryFolder(root_);
    fw::testing::Driver d(fw::testing::GTestFailures());
    d.AnswerMessage("there is no room left on its disk", fw::Button::Ok);
    bool wentOn = false;
    EXPECT_EQ(RunReport(d, 400, wentOn), 0);
    EXPECT_TRUE(wentOn);
    EXPECT_FALSE(d.Halted()) << d.HaltText();
    ASSERT_EQ(d.Messages().size(), 1u);
    EXPECT_NE(d.Messages()[0].find("cannot be written in the temporary folder " + root_ + "/cv-report-"),
              std::string::npos)
        << d.Messages()[0];
    EXPECT_NE(d.Messages()[0].find("the pages made so far have been removed"), std::string::npos);
    EXPECT_EQ(filesLeft_, 0);             // removed as soon as it failed
    EXPECT_EQ(PageFoldersIn(root_), 0);   // and the folder with the report
    // The disk has room again once the report is gone: the next one prints.
    EXPECT_GT(RunReport(d, 3, wentOn), 0);
}

TEST_F(ReportTempFolderTest, APageFolderThatCannotBeMadeStopsTheReportTheSameWay) {
    // A temporary folder no folder can be made in: for root a read-only
    // disk (root writes anywhere else), for others a folder without write
    // permission.
    if (MountSmallDisk(64)) {
        ASSERT_EQ(::mount(nullptr, root_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else {
        fs::permissions(root_, fs::perms::owner_read | fs::perms::owner_exec);
    }
    UseAsTemporaryFolder(root_);
    fw::testing::Driver d(fw::testing::GTestFailures());
    d.AnswerMessage("The report's page folder cannot be made in the temporary folder " + root_, fw::Button::Ok);
    bool wentOn = false;
    EXPECT_EQ(RunReport(d, 5, wentOn), 0);
    if (!mounted_) fs::permissions(root_, fs::perms::owner_all);
    EXPECT_TRUE(wentOn);
    EXPECT_FALSE(d.Halted()) << d.HaltText();
    EXPECT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

}  // namespace
