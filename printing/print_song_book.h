#pragma once
// Printing the song book: PrintSongBook (STARTed by the designer's Print
// SongBook) picks one of the ten report procedures by the sort and the
// style, and each procedure runs the shared report: the destination, the
// listings read and formatted, the rows printed 25 a timer tick under
// "Generating SongBook", then the preview ("SongBook Preview", "No Zoom")
// or the printer.

#include <string>
#include <vector>

#include "printing/print_settings.h"
#include "printing/song_book_layouts.h"

namespace printing {

// 1: plain rows, 0: alternating shaded and white rows (the banded layouts
// read it as they print each row).
unsigned char& PlainRows();

// The settings that keep the book from printing, each as a sentence; empty
// when it can print.
std::vector<std::string> UnprintableSettings(const PrintSetup& settings);

// The view's filter for the date and duet settings, over the names the
// report binds (startdate, enddate, Xchar); empty for none.
std::string SongBookFilterText(const PrintSetup& settings);

void PrintSongBook();

// The ten report procedures.
void PrintTitleBanded();
void PrintArtistBanded();
void PrintTitleShortLong();
void PrintArtistShortLong();
void PrintTitleGrouped();
void PrintArtistGrouped();
void PrintTitleTwoColumn();
void PrintArtistTwoColumn();
void PrintTitleTwoColumnGrouped();
void PrintArtistTwoColumnGrouped();

// The report of a layout, from the destination to the preview.
void RunSongBookReport(SongBookLayout layout);

}  // namespace printing
