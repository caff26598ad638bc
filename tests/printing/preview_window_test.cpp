// The preview window: cells, paging, zoom, marks, deletes, printing the
// current page, and a picture of it.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "platform/ui/events.h"

#include <cstdlib>
#include <functional>
#include <filesystem>

#include "tests/printing/previewer_fixture.h"

namespace {

class PreviewWindowTest : public PreviewerTest {
protected:
    void SetLayout(int across, int down) {
        driver->Press("?CHANGEDISPLAY");
        ASSERT_EQ(driver->Caption("DisplayLayoutWindow"), "Change the Report Display");
        driver->Type("?PAGESACROSS", std::to_string(across));
        driver->Type("?PAGESDOWN", std::to_string(down));
        driver->Press("?OK", "DisplayLayoutWindow");
    }
    void Jump(int page) {
        driver->Press("?JUMP");
        driver->Type("?PAGE", std::to_string(page));
        driver->Press("?OK", "JumpToPageWindow");
    }
    void ClickCell(int cell) {
        QRect r = View()->CellRects().at(static_cast<std::size_t>(cell - 1));
        driver->ClickAt("?PAGES", r.center().x(), r.center().y());
    }
    std::vector<int> Cells() const { return View()->CellPages(); }
};

TEST_F(PreviewWindowTest, OpensOnPageOneInOneCell) {
    OpenPreview(3);
    ASSERT_TRUE(driver->IsOpen("PreviewReport"));
    EXPECT_EQ(driver->Caption("PreviewReport"), "SongBook Preview");
    EXPECT_EQ(Cells(), (std::vector<int>{1}));
    EXPECT_EQ(Zone(5), "Page 1 of 3");
    EXPECT_EQ(Zone(2), "No Zoom");
    EXPECT_EQ(driver->Rows("?ZOOMSTATUS"),
              (std::vector<std::string>{"No Zoom", "Page Width", "Zoom (50%)", "Zoom (75%)", "Zoom (100%)",
                                        "Zoom (200%)", "Zoom (300%)"}));
    EXPECT_FALSE(driver->Enabled("?PREVIOUS"));
    EXPECT_TRUE(driver->Enabled("?NEXT"));
    driver->Press("?EXITBUTTON");
    EXPECT_FALSE(driver->IsOpen("PreviewReport"));
    EXPECT_EQ(result, printing::preview_result::NotPrinted);
    EXPECT_EQ(previewer.USERCANCELEDREPORT, 1);
}

TEST_F(PreviewWindowTest, PagingThroughCells) {
    OpenPreview(10);
    SetLayout(2, 2);
    EXPECT_EQ(Cells(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Zone(5), "Pages 1-4 of 10");
    EXPECT_FALSE(driver->Enabled("?PREVIEWMARK"));  // one page at a time only
    EXPECT_FALSE(driver->Enabled("?PREVIEWDELETE"));
    EXPECT_FALSE(driver->Enabled("?PRINTSINGLE"));
    driver->Press("?NEXT");
    EXPECT_EQ(Cells(), (std::vector<int>{5, 6, 7, 8}));
    driver->Key("?PAGES", fw::KeyCode::PgDn);
    EXPECT_EQ(Cells(), (std::vector<int>{9, 10, 0, 0}));  // the last two cells hidden
    EXPECT_EQ(Zone(5), "Pages 9-10 of 10");
    EXPECT_FALSE(driver->Enabled("?NEXT"));
    driver->Press("?PREVIOUS");
    EXPECT_EQ(Cells().front(), 5);
    Jump(3);
    driver->Key("?PAGES", fw::KeyCode::PgUp);
    EXPECT_EQ(Cells().front(), 1);
    driver->Press("?PREVIEWBOTTOM");
    EXPECT_EQ(Cells(), (std::vector<int>{10, 0, 0, 0}));
    EXPECT_EQ(Zone(5), "Page 10 of 10");
    driver->Press("?PREVIEWTOP");
    EXPECT_EQ(Cells().front(), 1);
    SetLayout(10, 10);
    EXPECT_EQ(Cells().size(), 100u);
    EXPECT_EQ(Zone(5), "Pages 1-10 of 10");
    driver->Press("?EXITBUTTON");
}

TEST_F(PreviewWindowTest, ClickingACellZoomsAndClickingThePageGoesBack) {
    OpenPreview(10);
    SetLayout(2, 2);
    driver->Press("?NEXT");
    ClickCell(3);
    ASSERT_TRUE(View()->Zoomed());
    EXPECT_EQ(Cells(), (std::vector<int>{7}));
    EXPECT_EQ(Zone(2), "Page Width");
    EXPECT_EQ(Zone(5), "Page 7 of 10");
    EXPECT_TRUE(driver->Enabled("?PREVIEWMARK"));
    double pageWidth = View()->Factor();
    EXPECT_GT(pageWidth, 0.3);
    // Page Width keeps the factor it had when the window opened.
    QWidget* root = driver->FindWindow("PreviewReport")->Root();
    root->resize(root->width() + 200, root->height());
    driver->Settle();
    EXPECT_DOUBLE_EQ(View()->Factor(), pageWidth);
    // Zoomed paging goes one page at a time.
    driver->Press("?NEXT");
    EXPECT_EQ(Cells(), (std::vector<int>{8}));
    ClickCell(1);
    EXPECT_FALSE(View()->Zoomed());
    EXPECT_EQ(Cells(), (std::vector<int>{8, 9, 10, 0}));
    EXPECT_EQ(Zone(2), "No Zoom");
    driver->Press("?EXITBUTTON");
}

TEST_F(PreviewWindowTest, ZoomListAndScrollKeys) {
    OpenPreview(2);
    driver->Choose("?ZOOMSTATUS", 7);  // Zoom (300%)
    ASSERT_TRUE(View()->Zoomed());
    EXPECT_DOUBLE_EQ(View()->Factor(), 3.0);
    EXPECT_EQ(Zone(2), "Zoom (300%)");
    driver->Key("?PAGES", fw::KeyCode::Down);
    driver->Key("?PAGES", fw::KeyCode::Down);
    driver->Key("?PAGES", fw::KeyCode::Right);
    EXPECT_EQ(View()->verticalScrollBar()->value(), 102);
    EXPECT_EQ(View()->horizontalScrollBar()->value(), 52);
    driver->Press("?NEXT");  // the scroll positions stay
    EXPECT_EQ(View()->verticalScrollBar()->value(), 102);
    EXPECT_FALSE(driver->Enabled("?NEXT"));
    EXPECT_FALSE(driver->Enabled("?PREVIEWBOTTOM"));
    driver->Choose("?ZOOMSTATUS", 1);
    EXPECT_FALSE(View()->Zoomed());
    driver->Press("?EXITBUTTON");
}

TEST_F(PreviewWindowTest, MarksShowInTheButtonAndTheStatusBar) {
    OpenPreview(3);
    driver->Press("?PREVIEWMARK");
    EXPECT_EQ(Zone(4), "Marked");
    EXPECT_EQ(driver->Text("?PREVIEWMARK"), "Unmark");
    EXPECT_EQ(driver->FindWindow("PreviewReport")->Find("?PREVIEWMARK")->Get(fw::Prop::Tip, 0).Str(), "Unmark Page");
    driver->Press("?NEXT");
    EXPECT_EQ(Zone(4), "");
    driver->Press("?PREVIOUS");
    EXPECT_EQ(Zone(4), "Marked");
    driver->Press("?PREVIEWMARK");
    EXPECT_EQ(Zone(4), "");
    EXPECT_EQ(driver->Text("?PREVIEWMARK"), "Mark");
    driver->Press("?EXITBUTTON");
}

TEST_F(PreviewWindowTest, DeletingPages) {
    OpenPreview(3);
    std::string first = pages.At(0).file;
    driver->Press("?PREVIEWDELETE");  // page 1 of 3: stays on page 1, the former page 2
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(Zone(5), "Page 1 of 2");
    driver->Press("?PRINTSINGLE");
    EXPECT_EQ(sink.jobs.back().seqs, (std::vector<int>{2}));
    driver->Press("?NEXT");
    driver->Press("?PREVIEWDELETE");  // the last page: back one
    EXPECT_EQ(Zone(5), "Page 1 of 1");
    EXPECT_FALSE(driver->Enabled("?PREVIEWDELETE"));  // the last page stays
    driver->Press("?EXITBUTTON");
    EXPECT_EQ(pages.Count(), 1);  // the report's own list lost them too
    EXPECT_EQ(pages.At(0).seq, 2);
}

TEST_F(PreviewWindowTest, PrintCurrentPageWithCopiesKeepsThePreviewOpen) {
    OpenPreview(5);
    previewer.PRINTCOPIES = 2;
    Jump(4);
    driver->Press("?PRINTSINGLE");
    EXPECT_TRUE(driver->IsOpen("PreviewReport"));
    EXPECT_EQ(Jobs(), (std::vector<std::vector<int>>{{4}, {4}}));
    EXPECT_EQ(sink.jobs[0].title, "SongBook Preview");
    driver->Press("?EXITBUTTON");
}

// A long job goes in slices: between them the event loop runs and the
// status bar says how far it is.
TEST_F(PreviewWindowTest, ALongJobShowsHowFarItIs) {
    std::vector<std::string> seen;
    struct Watching : fw::report::RecordingSink {
        std::function<void()> onPage;
        bool AddPage(const fw::report::Page& p, int n) override {
            onPage();
            return RecordingSink::AddPage(p, n);
        }
    };
    printing::SetPrintSinkFactory([&] {
        auto sink = std::make_unique<Watching>();
        sink->onPage = [&] { seen.push_back(Zone(5)); };
        return sink;
    });
    OpenPreview(45);
    driver->Press("?PRINTBUTTON");
    driver->Press("?PRINT");
    ASSERT_EQ(seen.size(), 45u);
    EXPECT_EQ(seen[20], "Printing page 20 of 45");
    EXPECT_EQ(seen[44], "Printing page 40 of 45");
    EXPECT_EQ(result, printing::preview_result::Printed);
}

TEST_F(PreviewWindowTest, OnlyVisiblePagesAreRendered) {
    OpenPreview(400);
    SetLayout(3, 2);
    int rendered = View()->Renders();
    EXPECT_LE(rendered, 7);  // page 1 alone, then six cells
    driver->Press("?PREVIEWBOTTOM");
    driver->Press("?PREVIEWTOP");  // back to cached pages
    EXPECT_LE(View()->Renders(), rendered + 1);
    driver->Press("?EXITBUTTON");
}

// CV_SCREENSHOT_DIR=/tmp/shots keeps a picture of the window at 2 x 2.
TEST_F(PreviewWindowTest, Screenshot) {
    OpenPreview(6);
    SetLayout(2, 2);
    std::filesystem::path dir = std::getenv("CV_SCREENSHOT_DIR") ? std::getenv("CV_SCREENSHOT_DIR")
                                                                   : std::filesystem::temp_directory_path().string();
    std::filesystem::path file = dir / "report_preview.png";
    EXPECT_TRUE(driver->Screenshot("PreviewReport", file.string()));
    EXPECT_TRUE(std::filesystem::exists(file));
    ClickCell(2);  // page 2 at Page Width
    std::filesystem::path zoomed = dir / "report_preview_zoomed.png";
    EXPECT_TRUE(driver->Screenshot("PreviewReport", zoomed.string()));
    if (!std::getenv("CV_SCREENSHOT_DIR")) {
        std::filesystem::remove(file);
        std::filesystem::remove(zoomed);
    }
    driver->Press("?EXITBUTTON");
}

}  // namespace
