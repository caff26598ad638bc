#pragma once
// The exchange's tests: the song book "Party" of a temporary folder (the
// song-book tests' folder), its files open on the test's thread or on a
// program thread of the test driver, and CSV files beside it.

#include "exchange/import_session.h"

#include "platform/ui/testing/gtest_driver.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "platform/config/config_folder.h"
#include "platform/text/dates.h"
#include "platform/ui/message.h"
#include "shell/window_runtime.h"

#include "song_book_fixture.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace exchange_test {

using song_book_test::Disc;
using song_book_test::Listing;

// A listing's date.
inline std::int32_t Day(int month, int day, int year) { return static_cast<std::int32_t>(fw::DATE(month, day, year)); }

class ExchangeTest : public song_book_test::SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        fw::SetConfigFolder(Path("config"));  // the export's notes, private to the test
        shell::ConnectWindowRuntime();
    }
    void TearDown() override {
        uses_.clear();
        driver_.reset();
        shell::DisconnectWindowRuntime();
        fw::SetConfigFolder("");
        SongBookFolder::TearDown();
    }

    fw::testing::Driver& d() {
        if (!driver_) driver_ = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
        return *driver_;
    }

    // The book "Party" made and named as the open book.
    void Book(const std::vector<Disc>& discs, const std::vector<Listing>& listings, const std::string& base = "Party") {
        MakeBook(base, discs, listings);
        Name(base);
    }
    void Name(const std::string& base) {
        shell::SongBookName = Path(base + ".2bk");
        shell::SBDiscsName = Path(base + ".2bd");
    }
    // Both book files open on the test's own thread (for the analysis).
    void OpenHere() {
        uses_.push_back(std::make_unique<shell::FileUse>(shell::SBDiscsFile()));
        uses_.push_back(std::make_unique<shell::FileUse>(shell::SongBookFile()));
    }
    void CloseHere() { uses_.clear(); }

    // Runs a procedure on a program thread with the book files open, as
    // the song-book window calls it.
    void Run(std::function<void()> procedure) {
        d().Start([procedure] {
            const shell::FileUse discs(shell::SBDiscsFile());
            const shell::FileUse book(shell::SongBookFile());
            procedure();
        });
    }
    // Ticks until no window of that label is open.
    bool TickUntilClosed(const char* label) {
        return d().TickUntil([&] { return !d().IsOpen(label); });
    }
    bool Said(const std::string& text) {
        const auto& m = d().Messages();
        return std::any_of(m.begin(), m.end(), [&](const std::string& s) { return s.find(text) != std::string::npos; });
    }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // One line of a listing file: title, artist, custom ID, track, Mfg. ID,
    // then the rest blank, brand 0.
    static std::string Line(const std::string& title, const std::string& alt, unsigned track, const std::string& unq,
                            const std::string& rest = "\"Rock\",\"\",\"SC\",0,\"\",\"\"") {
        return "\"" + title + "\",\"Artist\",\"" + alt + "\"," + std::to_string(track) + ",\"" + unq + "\"," + rest +
               "\r\n";
    }

    template <class R>
    static std::vector<std::string> Titles(const fw::QueueOf<R>& q) {
        std::vector<std::string> out;
        for (std::size_t i = 1; i <= q.Records(); ++i) out.push_back(static_cast<const R*>(q.Entry(i))->TITLE.Str());
        return out;
    }

private:
    std::unique_ptr<fw::testing::Driver> driver_;
    std::vector<std::unique_ptr<shell::FileUse>> uses_;
};

}  // namespace exchange_test
