#pragma once
// Reports under test: pages compared as dumps (against golden files in
// goldens/, rewritten when CV_UPDATE_GOLDENS=1), print jobs caught by a
// sink that keeps every page's dump, and a song book in a temporary folder
// (which is also the current folder, where TAGFILE lies) with the report
// procedures run through the test driver.

#include <gtest/gtest.h>

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/report/display_list.h"
#include "platform/report/page_files.h"
#include "platform/report/print_sink.h"
#include "platform/ui/testing/gtest_driver.h"
#include "printing/printing_procedures.h"
#include "printing/report_previewer.h"
#include "shell/data_dictionary_globals.h"
#include "shell/window_runtime.h"
#include "song_book_fixture.h"

namespace printing_test {

inline std::string DumpAll(const fw::report::PageList& pages) {
    std::string out;
    for (int i = 0; i < pages.Count(); ++i) out += fw::report::DumpPage(pages.Load(i), pages.PageCount());
    return out;
}

// The lines of a dump that begin with `kind` ("ellipse", "band", "line").
inline std::vector<std::string> Lines(const std::string& dump, const std::string& kind) {
    std::vector<std::string> out;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(kind, 0) == 0) out.push_back(line);
    return out;
}
inline int Count(const std::string& dump, const std::string& kind) { return static_cast<int>(Lines(dump, kind).size()); }

// Compares with goldens/<name>; CV_UPDATE_GOLDENS=1 writes it instead.
inline void ExpectGolden(const std::string& name, const std::string& actual) {
    const std::filesystem::path file = std::filesystem::path(CV_PRINTING_TEST_DIR) / "goldens" / name;
    if (const char* update = std::getenv("CV_UPDATE_GOLDENS"); update && *update == '1') {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << actual;
        return;
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no golden " << file << " (CV_UPDATE_GOLDENS=1 writes it)";
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "golden " << name << " differs (CV_UPDATE_GOLDENS=1 rewrites it)";
}

// Keeps every job's title and the dump of each page it was given.
struct DumpingSink : fw::report::PrintSink {
    struct Job {
        std::string title;
        std::vector<std::string> pages;
        std::vector<fw::report::Page> raw;  // the pages as given, for the page check
        int pageCount = 0;
    };
    bool BeginJob(const std::string& title, const fw::report::Page&) override {
        jobs.push_back({title, {}});
        return true;
    }
    bool AddPage(const fw::report::Page& page, int pageCount) override {
        jobs.back().pages.push_back(fw::report::DumpPage(page, pageCount));
        jobs.back().raw.push_back(page);
        jobs.back().pageCount = pageCount;
        return true;
    }
    bool EndJob() override { return true; }
    std::vector<Job> jobs;
};

class ReportProcedureTest : public song_book_test::SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        keptFolder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(Folder()));
        shell::ConnectWindowRuntime();
        printing::RegisterPrintingProcedures();
        printing::SetPrintSinkFactory([this] {
            struct Forward : fw::report::PrintSink {
                explicit Forward(DumpingSink& to) : to(to) {}
                bool BeginJob(const std::string& t, const fw::report::Page& p) override { return to.BeginJob(t, p); }
                bool AddPage(const fw::report::Page& p, int n) override { return to.AddPage(p, n); }
                bool EndJob() override { return to.EndJob(); }
                DumpingSink& to;
            };
            return std::make_unique<Forward>(sink);
        });
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        printing::SetPrintSinkFactory(nullptr);
        shell::DisconnectWindowRuntime();
        QDir::setCurrent(keptFolder_);
        SongBookFolder::TearDown();
    }
    // The book "Party" becomes the open book.
    void OpenBook(const std::vector<song_book_test::Disc>& discs, const std::vector<song_book_test::Listing>& listings) {
        MakeBook("Party", discs, listings);
        shell::SongBookName = Path("Party.2bk");
        shell::SBDiscsName = Path("Party.2bd");
    }
    // In the destination window: print at once, or view.
    void ChooseDestination(bool print) {
        ASSERT_TRUE(d().IsOpen("ReportDestinationWindow"));
        if (print) d().Press("?PREVIEWOPTION:PRINT");
        d().Press("?OK");
    }
    // Ticks until the progress window has closed.
    void RunPass() { EXPECT_TRUE(d().TickUntil([this] { return !d().IsOpen("P1$PROGRESSWINDOW"); }, 1000)); }

    fw::testing::Driver& d() { return *driver; }
    std::unique_ptr<fw::testing::Driver> driver;
    DumpingSink sink;

private:
    QString keptFolder_;
};

}  // namespace printing_test
