#pragma once
// The two label reports for the discs in TAGFILE: PrintCdLabels, one
// full-size CD label per tagged disc (two to a Letter sheet, each on its
// circle), and PrintMiniLabels, one mini-label per disc (80 to a sheet in
// a 4 by 20 grid). Every tag record gets its own label, with the custom
// disc ID of the tag, so two discs that share a manufacturer's ID each get
// theirs.
//
// The sheets can be made without the procedures, for a list of discs:
//   printing::CdLabelSheets sheets(2);       // the number of labels to come
//   sheets.Print({.brand = "Sound Choice", .unq = "SC8125", .alt = "101", .tracks = {...}});
//   fw::report::PageList pages = sheets.Finish();

#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "platform/report/page_files.h"
#include "platform/report/report.h"
#include "printing/cd_label_tracks.h"

namespace printing {

// One disc's label: blank fields for a disc or brand the files lack.
struct LabelDisc {
    std::string brand;
    std::string unq;  // manufacturer's disc ID
    std::string alt;  // custom disc ID
    std::vector<LabelTrack> tracks;  // in track order
};

// Full-size labels: a circle is filled with the background colour exactly
// when a label is printed on it, so the count of labels is given first.
class CdLabelSheets {
public:
    explicit CdLabelSheets(int labels);
    void Print(const LabelDisc& disc);
    fw::report::PageList Finish() { return report_.Finish(); }

private:
    fw::report::Report report_;
    int labels_;
    int printed_ = 0;
};

class MiniLabelSheets {
public:
    MiniLabelSheets();
    void Print(const LabelDisc& disc);
    fw::report::PageList Finish() { return report_.Finish(); }

private:
    fw::report::Report report_;
};

// The by-line under every full-size label.
std::string LabelByLine();

void PrintCdLabels();
void PrintMiniLabels();
// The same, saying whether the labels went to the printer: printed from
// the preview, or printed at once after the host said the labels are
// loaded, and the printer took the job.
bool PrintLabelsOfType(int labelType);

}  // namespace printing
