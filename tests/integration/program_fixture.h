#pragma once
// The whole program as main() starts it, on a temporary install folder with
// a generated demo song base, a books folder saved as the default and a
// fresh settings store; the real windows driven through the test driver.

#include "app/program_setup.h"
#include "tests/platform/config/config_fixture.h"

#include "platform/data/sqlite_connection.h"
#include "platform/os/beep.h"
#include "platform/report/display_list.h"
#include "platform/report/print_sink.h"
#include "printing/report_previewer.h"
#include "platform/os/desktop_opener.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_layer.h"
#include "shell/program_procedures.h"
#include "shell/program_startup.h"
#include "shell/registry.h"
#include "shell/window_runtime.h"
#include "songbook/book_folder.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <QUrl>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace integration_test {

inline constexpr const char* kFrame = "P1$APPFRAME";
inline constexpr const char* kQuickStart = "P1$QUICKSTARTWINDOW";
inline constexpr const char* kExplorer = "P1$SONGBOOKEXPLORER";
inline constexpr const char* kNewName = "P1$NEWSONGBOOKNAME";
inline constexpr const char* kSongBook = "P1$BROWSEWINDOW";
inline constexpr const char* kGettingStarted = "P1$GETTINGSTARTED";
inline constexpr const char* kAddDiscs = "P1$ADDMFRDISCS";
inline constexpr const char* kCustomId = "P1$CUSTOMDISCID";
inline constexpr const char* kTagOptions = "P1$MULTITAGOPTIONS";
inline constexpr const char* kAddWorker = "P1$ADDDISCTRACKS";

// Keeps every print job's title and the dump of each of its pages.
struct RecordedJobs {
    struct Job {
        std::string title;
        std::vector<std::string> pages;
    };
    std::vector<Job> jobs;
};
class RecordingSink : public fw::report::PrintSink {
public:
    explicit RecordingSink(RecordedJobs& to) : to_(to) {}
    bool BeginJob(const std::string& title, const fw::report::Page&) override {
        to_.jobs.push_back({title, {}});
        return true;
    }
    bool AddPage(const fw::report::Page& page, int pageCount) override {
        to_.jobs.back().pages.push_back(fw::report::DumpPage(page, pageCount));
        return true;
    }
    bool EndJob() override { return true; }

private:
    RecordedJobs& to_;
};

class ProgramTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        ConfigFolderTest::SetUp();
        shell::InitialiseSharedGlobals();
        install_ = RootPath("Karaoke");
        books_ = RootPath("Books");
        std::filesystem::create_directories(books_);
        WriteFile(install_ + "/help/index.htm", "<html></html>");
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, install_);
        songbook::SaveDefaultFolder(books_);
        fw::SetDesktopOpener([this](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
        fw::SetBeepHandler([this](unsigned) { ++beeps; });
        // The program's current folder (where its tag files lie) is a folder of the test's.
        keptFolder_ = std::filesystem::current_path();
        std::filesystem::create_directories(RootPath("Run"));
        std::filesystem::current_path(RootPath("Run"));
        app::SetUpProgram();
        printing::SetPrintSinkFactory([this] { return std::make_unique<RecordingSink>(printed); });
        GenerateSongBase();
        driver_ = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        if (driver_) {
            // The host closes whatever is still open, newest first, then the frame.
            for (int guard = 0; guard < 40 && !fw::OpenWindows().empty(); ++guard) {
                const auto open = fw::OpenWindows();
                if (open.size() == 1 || !driver_->CloseWindow()) break;
            }
            if (d().IsOpen(kFrame)) d().Press("?EXIT", kFrame);
        }
        driver_.reset();
        printing::SetPrintSinkFactory(nullptr);
        std::filesystem::current_path(keptFolder_);
        fw::SetBeepHandler({});
        fw::SetDesktopOpener(nullptr);
        shell::SetBrowseSongBook(nullptr);
        shell::SetAutoUpdateWizard(nullptr);
        shell::DisconnectDataLayer();
        shell::DisconnectWindowRuntime();
        shell::InitialiseSharedGlobals();
        ConfigFolderTest::TearDown();
    }

    // The demo song base's shape at a size a test reads quickly.
    void GenerateSongBase() {
        songbase_gen::Options o;
        o.seed = 7;
        o.tracks = 1500;
        songbase_gen::DataFileSongBase base(install_);
        summary_ = songbase_gen::Generate(o, base);
        ASSERT_EQ(base.Finish(), "");
    }

    // The program started as main() starts it: the frame and Quick Start.
    void StartProgram() {
        d().Start(shell::ProgramStartup);
        ASSERT_TRUE(d().IsOpen(kFrame));
        ASSERT_TRUE(d().IsOpen(kQuickStart));
    }
    // Quick Start's SongBook File Explorer, New SongBook named `name`: the
    // song-book window on the empty book, its Getting Started page closed.
    void NewBookFromQuickStart(const std::string& name) {
        ASSERT_TRUE(d().Enabled("?BUTTON1", kQuickStart));
        ASSERT_TRUE(d().Press("?BUTTON1", kQuickStart));
        ASSERT_TRUE(d().IsOpen(kExplorer));
        NewBookInExplorer(name);
    }
    void NewBookInExplorer(const std::string& name) {
        ASSERT_TRUE(d().Press("?BUTTON5", kExplorer));
        ASSERT_TRUE(d().IsOpen(kNewName));
        d().Type("?GLO:SHORTSONGBOOKNAME", name);
        d().Press("?OKBUTTON", kNewName);
        if (d().IsOpen(kGettingStarted)) d().CloseWindow(kGettingStarted);
        ASSERT_TRUE(d().IsOpen(kSongBook));
    }
    std::string BookPath(const std::string& file) const { return books_ + "/" + file; }
    // The rows of a query on one of the books' files (or a file by its full path), read as another
    // program would read it: each row's columns joined by "|".
    std::vector<std::string> Query(const std::string& file, const std::string& sql) const {
        std::vector<std::string> out;
        sqlite3* db = nullptr;
        const std::string path = file.rfind('/', 0) == 0 ? file : BookPath(file);
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << file;
            sqlite3_close(db);
            return out;
        }
        fw::data::RegisterCollations(db);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) ADD_FAILURE() << sqlite3_errmsg(db);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* text = sqlite3_column_text(st, c);
                row += (c ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "");
            }
            out.push_back(row);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    int Count(const std::string& file) const { return std::stoi(Query(file, "SELECT count(*) FROM records").at(0)); }

    // A number as its control shows it, without the picture's blanks.
    std::string Number(const char* equate, const char* window = "") {
        std::string text = d().Text(equate, window);
        text.erase(0, text.find_first_not_of(' '));
        return text;
    }

    fw::testing::Driver& d() { return *driver_; }

    std::string install_;
    std::string books_;
    songbase_gen::Summary summary_;
    std::vector<std::string> opened;
    RecordedJobs printed;
    int beeps = 0;

private:
    std::unique_ptr<fw::testing::Driver> driver_;
    std::filesystem::path keptFolder_;
};

}  // namespace integration_test
