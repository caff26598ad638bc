// Every number, date and spin entry of every window layout takes exactly
// what it can store and refuses the rest: each end of its range, one past
// each end, letters, a sign and an empty field, typed into the entry as the
// layout has it (picture, range) bound to a variable of the program's type.
// A refused text gives a message naming the range, keeps the focus on the
// entry with the text selected, and leaves the variable as it was.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/text/numbers.h"
#include "platform/text/strings.h"
#include "platform/text/picture.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

namespace {

// The type of the variable the program binds to the entry.
enum class VarType { UShort, ULong, Long32, Long64, Int };

struct NumberEntry {
    const char* window;
    const char* equate;
    VarType type;
    double low, high;  // what it takes
    bool date = false;
    bool readOnly = false;  // shows a value; takes no typing
};

using KarTrack = decltype(shell::KaraokeRec::DiskTrackNo);
using SbkTrack = decltype(shell::SongBookRec::DISKTRACKNO);
static_assert(std::is_same_v<KarTrack, std::uint16_t> && std::is_same_v<SbkTrack, std::uint32_t>);

// Variables: track numbers are the records' own types; the print settings
// and request-card settings are longs, the previewer's ints, the
// MultiTag start number an unsigned 32-bit.
const NumberEntry kEntries[] = {
    {"DisplayLayoutWindow", "?PAGESACROSS", VarType::Int, 1, 10},
    {"DisplayLayoutWindow", "?PAGESDOWN", VarType::Int, 1, 10},
    {"JumpToPageWindow", "?PAGE", VarType::Int, 1, 999999},
    {"P1$ADDSONGTRACKS", "?SBK:DISKTRACKNO", VarType::ULong, 0, 999999},
    {"P1$ADDSONGTRACKS", "?SBK:DISKTRACKNO:2", VarType::ULong, 0, 999999},
    {"P1$CORRECTIMPORTCONFLICT", "?BAD:DISKTRACKNO", VarType::ULong, 0, 4294967295.0},
    {"P1$DESIGNER", "?STARTINGPAGENUMBER", VarType::Long64, 0, 65535},
    {"P1$DESIGNER", "?OFFSET", VarType::Long64, 0, 500},
    {"P1$DESIGNER", "?GLO:PAGEBREAKOFFSET", VarType::Long64, -5, 5, false, true},
    {"P1$DESIGNER", "?STARTDATE", VarType::Long64, 4, 437929, true},
    {"P1$DESIGNER", "?ENDDATE", VarType::Long64, 4, 437929, true},
    {"P1$LISTINGFORM", "?SBK:DISKTRACKNO", VarType::ULong, 0, 4294967295.0},
    {"P1$LISTINGFORM", "?SBK:DATEADDED", VarType::Long32, -1e300, 1e300, true},
    {"P1$MULTITAGOPTIONS", "?BATCHSTARTINGNUMBER", VarType::ULong, 0, 999999999},
    {"P1$PAGEBREAKOFFSET", "?GLO:PAGEBREAKOFFSET", VarType::Long64, -5, 5},
    {"P1$REQUESTCARDSETUP", "?NUMBEROFSLIPS", VarType::Long64, 1, 999},
    {"P1$SONGBASETRACKFORM", "?KAR:DISKTRACKNO", VarType::UShort, 0, 65535},
    {"PrintOptionsWindow", "?PAGEFROM", VarType::Int, 1, 999},
    {"PrintOptionsWindow", "?PAGETO", VarType::Int, 1, 999},
    {"PrintOptionsWindow", "?PRINTCOPIES", VarType::Int, 1, 100},
    {"ReportDestinationWindow", "?PRINTCOPIES", VarType::Int, 1, 100},
};

bool IsNumberControl(const fw::ControlLayout& c) {
    if (c.kind != fw::ControlKind::Entry && c.kind != fw::ControlKind::Spin) return false;
    return c.picture.size() < 2 || (c.picture[1] != 's' && c.picture[1] != 'S');
}

std::string Whole(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.0f", v);
    return text;
}

// The entry alone in a window, as its layout has it, with a second entry
// to move on to and a default OK button.
fw::WindowLayout Alone(const fw::ControlLayout& c) {
    std::string text = "window NUMBERTEST\ncaption \"Numbers\"\nat 0 0 240 80\n";
    text += "control " + c.equate + " " + std::string(fw::ControlKindName(c.kind)) + "\n  at 10 10 80 12\n";
    if (!c.picture.empty()) text += "  picture " + c.picture + "\n";
    if (c.rangeLow && c.rangeHigh) text += "  range " + Whole(*c.rangeLow) + " " + Whole(*c.rangeHigh) + "\n";
    if (c.Has("readonly")) text += "  attr readonly\n";
    text += "control ?NEXT entry\n  at 10 30 80 12\n  picture @s10\n";
    text += "control ?OK button\n  text \"OK\"\n  at 100 50 40 14\n  attr default\n";
    return fw::ParseLayout(text, c.equate);
}

struct Vars {
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0;
    std::int32_t l32 = 0;
    long l64 = 0;
    int i = 0;
    double Get(VarType t) const {
        switch (t) {
        case VarType::UShort: return u16;
        case VarType::ULong: return u32;
        case VarType::Long32: return l32;
        case VarType::Long64: return static_cast<double>(l64);
        case VarType::Int: return i;
        }
        return 0;
    }
    void Set(VarType t, double v) {
        switch (t) {
        case VarType::UShort: u16 = static_cast<std::uint16_t>(v); break;
        case VarType::ULong: u32 = static_cast<std::uint32_t>(v); break;
        case VarType::Long32: l32 = static_cast<std::int32_t>(v); break;
        case VarType::Long64: l64 = static_cast<long>(v); break;
        case VarType::Int: i = static_cast<int>(v); break;
        }
    }
};

void RunAlone(const fw::WindowLayout& layout, const NumberEntry& e, Vars& v, std::vector<std::string>& log) {
    fw::Window w(layout);
    switch (e.type) {
    case VarType::UShort: w.Use(e.equate, v.u16); break;
    case VarType::ULong: w.Use(e.equate, v.u32); break;
    case VarType::Long32: w.Use(e.equate, v.l32); break;
    case VarType::Long64: w.Use(e.equate, v.l64); break;
    case VarType::Int: w.Use(e.equate, v.i); break;
    }
    w.Open();
    while (fw::ACCEPT()) {
        const int ev = fw::EVENT();
        if (ev == fw::Event::Accepted) log.push_back("Accepted " + std::string(fw::ACCEPTED() == e.equate ? e.equate : "other"));
        if (ev == fw::Event::Rejected) log.push_back("Rejected");
    }
}

// The text the focused entry has selected ("" when the focus is elsewhere).
std::string SelectedIn(QWidget* widget) {
    QWidget* focus = QApplication::focusWidget();
    if (!widget || !focus || (focus != widget && !widget->isAncestorOf(focus))) return "(not focused)";
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit) edit = widget->findChild<QLineEdit*>();
    return edit ? edit->selectedText().toStdString() : "(no text)";
}

class NumberEntries : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }
};

TEST_F(NumberEntries, TheTableHoldsEveryNumberEntryOfEveryLayout) {
    std::set<std::string> listed, found;
    for (const NumberEntry& e : kEntries) listed.insert(std::string(e.window) + " " + e.equate);
    for (const std::string& label : fw::LayoutLabels()) {
        const fw::WindowLayout w = fw::LoadLayout(label);
        for (const fw::ControlLayout& c : w.controls)
            if (IsNumberControl(c)) found.insert(w.label + " " + c.equate);
    }
    EXPECT_EQ(found, listed);
}

TEST_F(NumberEntries, EachTakesWhatItCanStoreAndRefusesTheRestWithItsRange) {
    for (const NumberEntry& e : kEntries) {
        SCOPED_TRACE(std::string(e.window) + " " + e.equate);
        const fw::WindowLayout real = fw::LoadLayout(e.window);
        const fw::ControlLayout* c = real.Find(e.equate);
        ASSERT_NE(c, nullptr);
        const fw::WindowLayout layout = Alone(*c);
        fw::testing::Driver d(fw::testing::GTestFailures());
        Vars v;
        std::vector<std::string> log;
        d.Start([&] { RunAlone(layout, e, v, log); });
        fw::Window* w = d.FindWindow("NUMBERTEST");
        ASSERT_NE(w, nullptr);
        const int feq = w->Feq(e.equate);
        if (e.readOnly) {
            EXPECT_TRUE(w->Get(fw::Prop::ReadOnly, feq).Bool());
            d.CloseWindow("NUMBERTEST");
            continue;
        }
        const double kept = e.date ? 80000 : std::floor((e.low + e.high) / 2) == 0 ? 1 : std::floor((e.low + e.high) / 2);
        struct Typed {
            std::string text;
            bool taken;
            double value;
        };
        std::vector<Typed> cases;
        std::string range;
        if (e.date) {
            const std::string picture = c->picture;
            cases = {{fw::CLIP(fw::FORMAT(4.0, picture)), true, 4},
                     {fw::CLIP(fw::FORMAT(437929.0, picture)), true, 437929},
                     {"12x", false, 0},
                     {"-1", false, 0},
                     {"", e.low <= 0, 0}};
            range = "Please enter a date such as ";
        } else {
            cases = {{Whole(e.low), true, e.low},          {Whole(e.high), true, e.high},
                     {Whole(e.low - 1), false, 0},         {Whole(e.high + 1), false, 0},
                     {"12x", false, 0},                    {"abc", false, 0},
                     {"-1", e.low <= -1, -1},              {"", e.low <= 0 && e.high >= 0, 0}};
            range = "Please enter a number from " + Whole(e.low) + " to " + Whole(e.high) + ".";
        }
        for (const Typed& t : cases) {
            SCOPED_TRACE("typed \"" + t.text + "\"");
            v.Set(e.type, kept);
            w->Display();
            log.clear();
            if (!t.taken) d.AnswerMessage(range, fw::Button::Ok);
            d.Type(e.equate, t.text);
            EXPECT_EQ(d.UnusedAnswers(), 0u);
            if (t.taken) {
                EXPECT_EQ(v.Get(e.type), t.value);
                EXPECT_EQ(log, (std::vector<std::string>{std::string("Accepted ") + e.equate}));
                continue;
            }
            EXPECT_EQ(v.Get(e.type), kept) << "nothing is stored";
            EXPECT_EQ(log, (std::vector<std::string>{"Rejected"}));
            ASSERT_FALSE(d.Messages().empty());
            EXPECT_NE(d.Messages().back().find(range), std::string::npos) << d.Messages().back();
            EXPECT_EQ(w->Focus(), feq);
            EXPECT_EQ(SelectedIn(w->Find(feq)->Widget()), t.text.empty() ? "" : t.text);
            EXPECT_EQ(d.Text(e.equate), t.text) << "the typing is kept";
        }
        d.CloseWindow("NUMBERTEST");
    }
}

}  // namespace
