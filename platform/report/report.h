#pragma once
// A report while it runs: bands in, pages out.
//
//   fw::report::Report r(def);            // a definition from the layout's tables
//   r.SetStartingPageNumber(5);
//   r.SetRowsPerPage(60);                 // stacked flow: a page after 60 rows
//   r.OnPageStart([&](int seq, int number) { r.Band("HEADER").x = seq % 2 ? 500 : 250; });
//   r.Element("TITLE").text = "Danny Boy";
//   r.Print("DETAIL");                    // a snapshot of every element as it stands now
//   r.EndPage();                          // the next band starts a new page
//   fw::report::PageList pages = r.Finish();
//
// Print resolves the band's visible elements with their current properties
// into primitives on the current page, so changing an element afterwards
// never alters a band already printed. A page starts with the first band
// placed on it: the page-start hook runs, then the form (as it stands then)
// and the header band are placed. A page ends when the next detail band
// does not fit (or the row count is reached, or the grid is full), at
// EndPage and at Finish: the footer band (as it stands then) is placed and
// the page is written to its file.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/report/page_files.h"
#include "platform/report/report_definition.h"

namespace fw::report {

class Report {
public:
    explicit Report(ReportDefinition definition);
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // By name, in any band (std::out_of_range when there is none).
    report::Element& Element(std::string_view name);
    report::Band& Band(std::string_view name);
    // Every band, for changes to all elements at once (one text colour).
    std::vector<report::Band>& Bands() { return def_.bands; }
    // The stacked flow's area, movable between pages.
    Rect& DetailArea() { return def_.detailArea; }
    const ReportDefinition& Definition() const { return def_; }

    void SetStartingPageNumber(int number) { startingNumber_ = number; }
    // Stacked flow: a new page after this many detail rows (0: only when
    // the next band does not fit).
    void SetRowsPerPage(int rows) { rowsPerPage_ = rows; }
    // Called before anything is placed on a new page, with the page's
    // place (1 for the first page made) and its printed number.
    void OnPageStart(std::function<void(int seq, int number)> hook) { onPageStart_ = std::move(hook); }

    // Places a detail band (std::out_of_range for an unknown band).
    void Print(std::string_view band);
    // Whether printing this detail band next starts a new page.
    bool StartsPage(std::string_view band) const;
    // Whether the next detail row is the first on its page.
    bool IsFirstRowOnPage() const;
    // A page could not be written (the user has been told): the report
    // makes no more pages and Finish gives none; a caller may stop early.
    bool Failed() const;
    void EndPage();
    // Ends the last page; the pages made. The report makes no more pages.
    PageList Finish();

    int PagesMade() const { return static_cast<int>(pages_.size()) + (open_ ? 1 : 0); }
    // The printed number of the current page (or of the next one).
    int PageNumber() const { return startingNumber_ + seq_ - (open_ ? 1 : 0); }

private:
    const report::Band* FindBand(std::string_view name) const;
    bool Fits(const report::Band& band) const;
    void StartPage();
    void PlaceBand(const report::Band& band, int originX, int originY);
    void PlaceElement(const report::Element& e, int originX, int originY);

    ReportDefinition def_;
    std::shared_ptr<PageFolder> folder_;
    std::vector<PageEntry> pages_;
    std::function<void(int, int)> onPageStart_;
    int startingNumber_ = 1;
    int rowsPerPage_ = 0;
    int seq_ = 0;  // pages started
    bool open_ = false;
    bool finished_ = false;
    Page page_;
    int cursorY_ = 0;  // stacked flow: where the next band goes
    int rows_ = 0;     // detail rows (or grid cells) on the current page
};

// The smallest size a shrinking text is printed at, in points.
inline constexpr int kSmallestShrunkSize = 4;
// The size a text of the font fits the width at, as the renderer draws it: the font's own size, or smaller (not below
// kSmallestShrunkSize).
int SizeThatFits(const TextFont& font, std::string_view text, int width);

// "Page: <<<#" filled with a number: the number's digits go right-aligned
// into the last run of '<' and '#'; a '<' left over is dropped and a '#'
// left over shows 0; a number longer than the run shows all its digits.
std::string FormatPageNumber(std::string_view picture, int number);

}  // namespace fw::report
