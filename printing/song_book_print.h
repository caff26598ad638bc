#pragma once
// One run of a song-book report, free of windows and files: the listings
// go in through the song queue's rules, are laid out in rows (the line
// queue, or the song queue itself for the paper-saver flat layouts), and
// come out as pages on the report engine, a row at a time.
//
//   SongBookPrint run(SongBookLayout::ArtistGrouped, PrintSettings(), PlainRows());
//   for (each listing in the report's key order) run.Add(listing);
//   for (each disc) run.AddDisc(unqDiskId, altDiskId);
//   run.Lay(records);                     // sorts, lays out, opens the report
//   while (run.Next() == 0) run.PrintRow();  // the print loop, 25 rows a tick
//   run.PrintTrailingRows();              // binding offsets only
//   fw::report::PageList pages = run.Finish();
//
// The settings are read as the run needs them: most once when the report
// is set up, ShowMake, CaseStyle and the plain-rows flag for every row, so
// a change made in the designer meanwhile reaches the rows printed after it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/report/report.h"
#include "platform/report/report_fonts.h"
#include "printing/line_queue.h"
#include "printing/print_settings.h"
#include "printing/song_book_report_layouts.h"
#include "printing/song_queue.h"

namespace printing {

// The loading rules of the settings.
SongQueueRules QueueRulesOf(const PrintSetup& settings, SongBookLayout layout);

class SongBookPrint {
public:
    // lines: the lines per column or page; 0 takes them from the settings.
    SongBookPrint(SongBookLayout layout, const PrintSetup& settings, const unsigned char& plainRows, int lines = 0);
    ~SongBookPrint();

    void Add(const SongListing& listing) { loader_.Add(listing); }
    void AddDisc(std::string_view unqDiskId, std::string_view altDiskId);
    // Sorts the queue and lays out its rows; with rows to print the report
    // is opened and set up. records: the book's listings (the single-column
    // layouts' progress base).
    void Lay(long records);
    bool Empty() const { return rows_.empty(); }

    // Prepares the next row (both columns in the two-column layouts): 0, or
    // 33 past the end.
    int Next();
    // Prints the row prepared last.
    void PrintRow();
    // With binding offsets: blank rows, twice as many as the last finished
    // page took, so the book ends on whole sheets.
    void PrintTrailingRows();
    fw::report::PageList Finish();

    int Lines() const { return lines_; }
    // The progress percentage's base and what each printed row adds to it.
    long ProgressBase() const { return progressBase_; }
    long ProgressPerRow() const { return twoColumns_ ? 2 : 1; }
    fw::report::Report* ReportOf() { return report_.get(); }

    // One line per printed band and per page start (tests compare them).
    void SetRowLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

private:
    enum class Rule { None, Full, Indented };
    enum class Kind { Normal, Filler, Continuation };
    struct Cell {
        bool present = false;
        std::string title, artist, songNo, mfr;
        Rule rule = Rule::None;
        Kind kind = Kind::Normal;
    };
    // What a column remembers between its rows.
    struct ColumnState {
        std::string lastName;
        bool afterFiller = false;
        bool nameShown = false;  // the entry's first row printed the group name
    };
    // Texts are fitted in the renderer's text space.
    static constexpr double kLayoutDpi = fw::report::kTextUnitsPerInch;
    int BodySize() const;
    fw::report::TextFont BodyFont(int style) const;
    RowFit FitOf() const;
    std::string SongNumberOf(std::string_view unqDiskId, std::string_view track) const;

    void SetUpReport();
    void OnPageStart(int seq, int number);
    Cell Fill(const LineRow& row, ColumnState& column, bool firstOnPage);
    Cell Filler(const LineRow& row, Rule rule);
    Cell FillGrouped(const LineRow& row);
    Cell FillBanded(const LineRow& row);
    Cell FillTwoColumnFlat(const LineRow& row, ColumnState& column);
    Cell FillShortLong(const LineRow& row, ColumnState& column, bool firstOnPage);
    void FinishCell(Cell& cell, const LineRow& row, bool songNumber);
    void Apply(const Cell& cell, int column);
    void PrintBand();
    std::string LogLine() const;
    std::string& GroupOf(Cell& c) const { return byArtist_ ? c.artist : c.title; }
    const std::string& GroupOf(const LineRow& r) const { return byArtist_ ? r.artist : r.title; }

    SongBookLayout layout_;
    LayoutTraits traits_;
    const PrintSetup& settings_;
    const unsigned char& plainRows_;
    SongQueueLoader loader_;
    std::unordered_map<std::string, std::string> altDiskIds_;  // by folded disc ID
    LineQueue rows_;
    bool fromSongQueue_ = false;
    bool byArtist_ = false;
    bool twoColumns_ = false;
    int lines_ = 0;
    int paperType_ = 1;
    long progressBase_ = 0;

    std::unique_ptr<fw::report::Report> report_;
    struct ColumnElements {
        fw::report::Element *title = nullptr, *artist = nullptr, *songNo = nullptr, *mfr = nullptr, *rule = nullptr;
    };
    ColumnElements elements_[2];
    ColumnPlaces places_;
    SongBookGeometry geometry_;
    bool offsetPages_ = false;
    int offset_ = 0;
    std::size_t pointer_ = 0;
    int columnRow_ = 0;
    ColumnState columns_[2];
    Cell prepared_[2];
    bool bandShaded_ = true;  // the first row to flip gets no band
    bool rightRanOut_ = false;
    int rowsOnPage_ = 0;
    int lastPageRows_ = 0;
    std::function<void(const std::string&)> log_;
};

}  // namespace printing
