// The song-book window's Import and Export once the exchange's procedures
// are registered.
#include "exchange/exchange_procedures.h"
#include "exchange/export_song_listings.h"
#include "exchange/import_song_listings.h"

#include "shell/program_procedures.h"

#include "song_book_window_fixture.h"

namespace {

class SongBookExchangeCommands : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        exchange::RegisterExchangeProcedures();
    }
    void TearDown() override {
        SongBookWindowTest::TearDown();
        shell::SetProgramProcedure("ExportSongListings", nullptr);
        shell::SetProgramProcedure("ImportSongListings", nullptr);
    }
};

TEST_F(SongBookExchangeCommands, ImportAndExportComeAlive) {
    MakeBook("Party", {{"SC8101", "101", 12, "SC"}}, {{"Song", "A", "SC8101", 1}});
    Open();
    EXPECT_TRUE(d.Enabled("?IMPORT"));
    EXPECT_TRUE(d.Enabled("?EXPORT"));
    d.Press("?EXPORT");
    EXPECT_TRUE(d.IsOpen(exchange::kExportWindow));
    d.Press("?CANCELBUTTON", exchange::kExportWindow);
    EXPECT_FALSE(d.IsOpen(exchange::kExportWindow));
    d.AnswerFileDialog("");
    d.Press("?IMPORT");
    EXPECT_FALSE(d.IsOpen(exchange::kImportWindow));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

}  // namespace
