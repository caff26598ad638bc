// The tagging scheme on a paged list of a window: the mark, the
// double-click in the Tag column, the five buttons and the show-tags cycle,
// with semantics of the test's own over a tag list.
#include "shell/tag_scheme.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/browse_codes.h"
#include "shell/browse_page.h"
#include "shell/data_files.h"
#include "shell/tag_list.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace {

using ::testing::ElementsAre;

constexpr const char* kLayout = R"(window TAGTEST
at 10 10 200 120
control ?LIST list
  at 4 4 120 100
  format "12C|M~Tag~@s1@60L|M~Title~@s40@"
  attr vscroll paged
control ?DASTAG button
  text "&Tag"
  at 130 4 60 12
control ?DASTAGALL button
  text "tag &All"
  at 130 18 60 12
control ?DASUNTAGALL button
  text "&Untag all"
  at 130 32 60 12
control ?DASREVTAG button
  text "&Rev tags"
  at 130 46 60 12
control ?DASSHOWTAG button
  text "sho&W tags"
  at 130 60 60 12
)";

// A list of listings by title, tagged by title: "tag &All" tags every
// listing, "&Untag all" empties the list, "&Rev tags" swaps.
void TagWindow(shell::TagList& tags, int& bulkRuns) {
    fw::Window w(fw::ParseLayout(kLayout, "TAGTEST"));
    w.Open();
    fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
    const auto titles = [] {
        std::vector<std::string> out;
        fw::SET(shell::SongBook().FindKey("SBK:KTITLE"));
        for (fw::NEXT(shell::SongBook()); fw::ERRORCODE() == 0; fw::NEXT(shell::SongBook())) out.push_back(SBK.Title.Str());
        return out;
    };
    shell::TagSemantics semantics;
    semantics.isTagged = [&tags] { return tags.FindDisc(SBK.Title.Clip()) != nullptr; };
    semantics.toggle = [&tags] {
        if (tags.RemoveDisc(SBK.Title.Clip()) == 0) tags.Add({SBK.Title.Str(), {}, 0, {}});
    };
    semantics.tagAll = [&] {
        ++bulkRuns;
        for (const std::string& t : titles()) if (!tags.FindDisc(t)) tags.Add({t, {}, 0, {}});
    };
    semantics.untagAll = [&] {
        ++bulkRuns;
        tags.Clear();
    };
    semantics.reverse = [&] {
        ++bulkRuns;
        shell::TagList was = tags;
        tags.Clear();
        for (const std::string& t : titles()) if (!was.FindDisc(t)) tags.Add({t, {}, 0, {}});
    };
    shell::TagScheme scheme("?LIST", {}, semantics);
    shell::BrowsePlan desc;
    desc.primary = &shell::SongBook();
    desc.orders = {{shell::SongBook().FindKey("SBK:KTITLE")}};
    desc.columns = [&scheme] { return fw::ui::ListRow{scheme.Mark(), SBK.Title.Str()}; };
    desc.check = [&scheme] { return scheme.Shows(); };
    shell::WindowBrowseList list("?LIST", {});
    {
        shell::PagedBrowse browse(desc, list);
        scheme.Attach(browse);
        scheme.Opened();
        while (w.Accept()) {
            browse.TakeEvent(w.Event(), w.Field(), w.KeyCode());
            if (scheme.TakeEvent(w.Event(), w.Field(), w.KeyCode())) continue;
            browse.SyncBrowse();
        }
    }
    fw::CLOSE(shell::SongBook());
}

class TagSchemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/cv_tag_scheme_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::SongBookName = dir + "/Party.2bk";
        fw::CREATE(shell::SongBook());
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        std::uint32_t track = 0;
        for (const char* title : {"Alpha", "Bravo", "Charlie", "Delta"}) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            SBK.Title = title;
            SBK.UnqDiskID = "D1";
            SBK.DISKTRACKNO = ++track;
            fw::ADD(shell::SongBook());
        }
        fw::CLOSE(shell::SongBook());
        d.Start([this] { TagWindow(tags, bulkRuns); });
    }
    void TearDown() override {
        if (d.IsOpen("TAGTEST")) d.CloseWindow("TAGTEST");
        std::filesystem::remove_all(dir);
        shell::SongBookName = "";
    }

    std::string dir;
    shell::TagList tags;
    int bulkRuns = 0;
    fw::testing::Driver d{fw::testing::GTestFailures()};
};

TEST_F(TagSchemeTest, TheTagColumnsDoubleClickAndTheTagButtonToggleTheRowKeepingItsHighlight) {
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Show All");
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("|Alpha", "|Bravo", "|Charlie", "|Delta"));
    d.DoubleClick("?LIST", 2, 1);
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("|Alpha", "\xBB|Bravo", "|Charlie", "|Delta"));
    EXPECT_EQ(d.Highlight("?LIST"), 2);
    d.DoubleClick("?LIST", 3, 2);  // the Title column: no toggle
    EXPECT_EQ(tags.Count(), 1);
    d.Press("?DASTAG");  // the highlighted Charlie
    d.Press("?DASTAG");
    d.Press("?DASTAG");
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("|Alpha", "\xBB|Bravo", "\xBB|Charlie", "|Delta"));
    EXPECT_EQ(d.Highlight("?LIST"), 3);
}

TEST_F(TagSchemeTest, TheShowCycleFiltersTheListAndTheBulkButtonsReloadIt) {
    d.Press("?DASTAGALL");
    EXPECT_EQ(tags.Count(), 4);
    d.Choose("?LIST", 1);
    d.Press("?DASTAG");
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Showing Tagged");
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("\xBB|Bravo", "\xBB|Charlie", "\xBB|Delta"));
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Showing UnTagged");
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("|Alpha"));
    d.Press("?DASREVTAG");
    EXPECT_THAT(d.Rows("?LIST"), ElementsAre("|Bravo", "|Charlie", "|Delta"));
    d.Press("?DASUNTAGALL");
    EXPECT_EQ(d.Rows("?LIST").size(), 4u);
    d.Press("?DASSHOWTAG");
    EXPECT_EQ(d.Text("?DASSHOWTAG"), "Show All");
    EXPECT_EQ(bulkRuns, 3);
}

}  // namespace
