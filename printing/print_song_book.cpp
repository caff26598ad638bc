#include "printing/print_song_book.h"

#include <optional>

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/data/view.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "printing/preview_report.h"
#include "printing/report_destination.h"
#include "printing/song_book_print.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_prefixes.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"
#include "shell/wait_screen.h"
#include "shell/warnings.h"

namespace printing {

unsigned char& PlainRows() {
    static unsigned char plainRows = 0;
    return plainRows;
}

std::vector<std::string> UnprintableSettings(const PrintSetup& s) {
    std::vector<std::string> problems;
    if (s.PrintSort != 1 && s.PrintSort != 2)
        problems.push_back("The sort order (" + std::to_string(s.PrintSort) + ") is neither by title nor by artist.");
    if (s.PrintFormat < 1 || s.PrintFormat > 6)
        problems.push_back("The style (" + std::to_string(s.PrintFormat) + ") is not one of the styles 1 to 6.");
    if (s.SetFonts < 1 || s.SetFonts > 3)
        problems.push_back("The font size (" + std::to_string(s.SetFonts) + ") is not Small, Medium or Large.");
    return problems;
}

std::string SongBookFilterText(const PrintSetup& s) {
    std::string filter;
    if (s.FilterReport == 1) filter = "SBK:DateAdded >= startdate AND SBK:DateAdded <= enddate";
    if (s.FilterDuets == 1) filter += filter.empty() ? "SBK:Duet = Xchar" : " AND SBK:Duet=Xchar";
    return filter;
}

void PrintSongBook() {
    const PrintSetup& s = PrintSettings();
    const std::vector<std::string> problems = UnprintableSettings(s);
    SongBookLayout layout{};
    if (!problems.empty() || !LayoutFor(static_cast<int>(s.PrintSort), static_cast<int>(s.PrintFormat), layout)) {
        std::string text = "The SongBook cannot be printed with these settings:";
        for (const std::string& p : problems) text += "|" + p;
        text += "||Choose them again in the SongBook Designer.";
        fw::MESSAGE(text, "Print SongBook", fw::Icon::Exclamation);
        return;
    }
    if (s.PrintFormat == 1) PlainRows() = 1;
    if (s.PrintFormat == 2) PlainRows() = 0;
    using Procedure = void (*)();
    static constexpr Procedure kByLayout[] = {
        PrintTitleBanded,     PrintArtistBanded,    PrintTitleShortLong,        PrintArtistShortLong,
        PrintTitleGrouped,    PrintArtistGrouped,   PrintTitleTwoColumn,        PrintArtistTwoColumn,
        PrintTitleTwoColumnGrouped, PrintArtistTwoColumnGrouped};
    kByLayout[static_cast<int>(layout)]();
}

void PrintTitleBanded() { RunSongBookReport(SongBookLayout::TitleBanded); }
void PrintArtistBanded() { RunSongBookReport(SongBookLayout::ArtistBanded); }
void PrintTitleShortLong() { RunSongBookReport(SongBookLayout::TitleShortLong); }
void PrintArtistShortLong() { RunSongBookReport(SongBookLayout::ArtistShortLong); }
void PrintTitleGrouped() { RunSongBookReport(SongBookLayout::TitleGrouped); }
void PrintArtistGrouped() { RunSongBookReport(SongBookLayout::ArtistGrouped); }
void PrintTitleTwoColumn() { RunSongBookReport(SongBookLayout::TitleTwoColumn); }
void PrintArtistTwoColumn() { RunSongBookReport(SongBookLayout::ArtistTwoColumn); }
void PrintTitleTwoColumnGrouped() { RunSongBookReport(SongBookLayout::TitleTwoColumnGrouped); }
void PrintArtistTwoColumnGrouped() { RunSongBookReport(SongBookLayout::ArtistTwoColumnGrouped); }

namespace {

// Reads the book in the report's key order through the print filters into
// the run, and lays it out ("Selecting and Formatting Song Listings...").
void LoadSongQueue(SongBookPrint& run, SongBookLayout layout) {
    shell::WaitScreen formatting("P1$FORMATWINDOW");
    const PrintSetup& s = PrintSettings();
    const LayoutTraits traits = TraitsOf(layout);
    fw::File& book = shell::SongBook();
    fw::File& discs = shell::SBDiscs();
    const long records = fw::RECORDS(book);

    // Every printed row looks its disc up: the book's discs once, in memory.
    fw::SET(discs);
    while (fw::NEXT(discs), fw::ERRORCODE() == 0) run.AddDisc(SBD.UNQDISKID.Clip(), SBD.ALTDISKID.Clip());

    fw::PUSHBIND();
    std::int32_t startdate = static_cast<std::int32_t>(s.StartDate), enddate = static_cast<std::int32_t>(s.EndDate);
    fw::FString<40> printqenre;
    printqenre = s.PrintGenre;
    fw::FString<1> Xchar;
    Xchar = "X";
    fw::BIND("startdate", startdate);
    fw::BIND("enddate", enddate);
    fw::BIND("printqenre", printqenre);
    fw::BIND("Xchar", Xchar);
    fw::BIND(book);
    if (traits.family == ReportFamily::TwoColumn) fw::BIND(discs);
    {
        fw::View view(book);
        view.Join(discs.FindKey("SBD:KUNQDISKID"), {"SBK:UnqDiskID"});
        fw::SET(book.FindKey(traits.sort == ReportSort::Artist ? "SBK:KARTIST" : "SBK:KTITLE"));
        if (const std::string filter = SongBookFilterText(s); !filter.empty()) {
            view.SetFilter(filter);
            if (fw::ERRORCODE() != 0) shell::ShowWarningNoText(36);
        }
        fw::OPEN(view, fw::ReadWrite | fw::DenyWrite);
        if (fw::ERRORCODE() != 0) shell::ShowWarningNoText(36);
        std::string previous;
        SongListing listing;
        while (fw::NEXT(view), fw::ERRORCODE() == 0) {
            // A listing whose disc ID two discs share is joined twice: once is its print.
            std::string position = fw::POSITION(book);
            if (position == previous) continue;
            previous = std::move(position);
            listing.title = SBK.Title.Clip();
            listing.artist = SBK.Artist.Clip();
            listing.unqDiskId = SBK.UnqDiskID.Clip();
            listing.genre = SBK.GENRE.Clip();
            listing.makeId = SBK.MAKEID.Clip();
            listing.track = SBK.DISKTRACKNO;
            listing.omitted = SBK.PRINT.Clip() == "X";
            run.Add(listing);
        }
        fw::CLOSE(view);
    }
    fw::POPBIND();
    run.Lay(records);
}

}  // namespace

void RunSongBookReport(SongBookLayout layout) {
    ReportPreviewer previewer;
    if (ReportDestinationWindow(previewer) == 1) {
        shell::ActionOutcome() = shell::outcome::Cancelled;
        return;
    }
    shell::RequestedAction() = shell::action::None;
    shell::ActionOutcome() = shell::outcome::None;
    const bool twoColumns = TraitsOf(layout).family == ReportFamily::TwoColumn;
    // The two-column family opens the discs first, the others the book first.
    std::optional<shell::FileUse> first, second;
    first.emplace(twoColumns ? shell::SBDiscsFile() : shell::SongBookFile());
    second.emplace(twoColumns ? shell::SongBookFile() : shell::SBDiscsFile());

    SongBookPrint run(layout, PrintSettings(), PlainRows());
    shell::StepSource rows([&run] { return run.Next(); }, "SongBook");
    rows.start = [&run, layout] { LoadSongQueue(run, layout); };
    shell::ProgressPlan plan(rows);
    plan.action = [&run](shell::ProgressPass& pass) {
        run.PrintRow();
        pass.Advance(run.ProgressPerRow());
    };
    plan.measure = shell::ByRecords(25);
    plan.measure.perRead = [] { return 0L; };
    plan.estimate = [&run] { return run.ProgressBase(); };
    plan.texts.user = "Generating SongBook";
    plan.texts.completed.clear();
    plan.quickScan = twoColumns ? std::vector<fw::File*>{&shell::SBDiscs(), &shell::SongBook()}
                                : std::vector<fw::File*>{&shell::SongBook()};
    fw::report::PageList pages;
    plan.atEnd = [&run, &pages](shell::ProgressWindow& window) {
        if (window.Pass().State() != shell::PassState::Completed) return;
        run.PrintTrailingRows();
        shell::WaitScreen finishing("P1$FINISHSCREEN");
        pages = run.Finish();
    };
    const shell::PassState state = shell::RunProgressProcess(plan);
    if (state == shell::PassState::NothingToDo) {
        fw::MESSAGE("No song listings match the print settings, so there is nothing to print.", "Print SongBook",
                    fw::Icon::Exclamation);
    }
    if (state != shell::PassState::Completed || pages.Empty()) {
        shell::ActionOutcome() = shell::outcome::Cancelled;  // a cancelled run's pages go with it
        return;
    }
    PreviewReport(previewer, pages, previewer.PREVIEWOPTION == preview_option::Print, "SongBook Preview", "No Zoom");
    shell::ActionOutcome() = shell::outcome::Completed;
}

}  // namespace printing
