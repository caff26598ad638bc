#include "printing/preview_report.h"

#include <QWidget>

#include <algorithm>

#include "platform/text/strings.h"
#include "platform/ui/control.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "printing/page_view.h"
#include "printing/preview_model.h"
#include "printing/report_destination.h"

namespace printing {

namespace {

constexpr int kZoomZone = 2, kMarkZone = 4, kPageZone = 5;
constexpr int kScrollDown = 51, kScrollAcross = 52;

void StartPreviewer(ReportPreviewer& p, fw::report::PageList& pages, std::string_view title) {
    p.IMAGEQUEUE = pages;
    p.RETURNVALUE = preview_result::NotPrinted;
    std::string t(title);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    p.REPORTTITLE = t;
    p.CURRENTPAGE = 1;
    p.PAGESACROSS = p.PAGESDOWN = 1;
    p.SAVELANDSCAPE = pages.Empty() ? 0 : pages.Load(0).landscape;
    p.CURRENTPRINTER = CurrentPrinterName();
    p.IMAGECOUNT = pages.Count();
    p.MARKQUEUE.assign(static_cast<std::size_t>(pages.Count()), false);
}

class PreviewWindow {
public:
    PreviewWindow(ReportPreviewer& p, std::string_view initialZoom) : p_(p), zoomText_(initialZoom) {}

    void Run() {
        fw::Window window("PreviewReport");
        window_ = &window;
        window.Use("?ZOOMSTATUS", zoomText_);
        window.Open();
        if (!p_.REPORTTITLE.empty()) fw::SetProp({}, fw::Prop::Text, p_.REPORTTITLE);
        pagesHost_ = window_->Find("?PAGES")->Widget();
        FitPageArea();
        view_ = new PageView(pagesHost_, p_.IMAGEQUEUE);
        view_->onClick = [this](int cell) {
            clickedCell_ = cell;
            window_->Queue(fw::Event::Accepted, window_->Feq("?PAGES"));
        };
        double pageWidth = view_->viewport()->width() / std::max(1.0, view_->NaturalWidth(p_.IMAGEQUEUE.Load(0)));
        model_ = std::make_unique<PreviewModel>(p_.IMAGEQUEUE.Count(), pageWidth);
        std::string rows;
        for (const ZoomRow& z : model_->ZoomRows()) rows += (rows.empty() ? "" : "|") + z.text;
        fw::SetProp("?ZOOMSTATUS", fw::Prop::From, rows);
        model_->SelectZoom(zoomText_);
        Refresh();
        while (fw::ACCEPT()) {
            HandleEvent();
            bool single = model_->SinglePageActions();
            for (const char* c : {"?PREVIEWMARK", "?PRINTSINGLE"}) single ? fw::ENABLE(c) : fw::DISABLE(c);
            single && model_->PageCount() > 1 ? fw::ENABLE("?PREVIEWDELETE") : fw::DISABLE("?PREVIEWDELETE");
        }
    }

private:
    void HandleEvent() {
        int event = fw::EVENT();
        if (event == fw::Event::Sized) {
            FitPageArea();
            Refresh();
            return;
        }
        if (event == fw::Event::AlertKey) {
            switch (fw::KEYCODE()) {
            case fw::KeyCode::PgUp: Press([this] { model_->PreviousPages(); }); break;
            case fw::KeyCode::PgDn: Press([this] { model_->NextPages(); }); break;
            case fw::KeyCode::Down: view_->ScrollBy(0, kScrollDown); break;
            case fw::KeyCode::Up: view_->ScrollBy(0, -kScrollDown); break;
            case fw::KeyCode::Right: view_->ScrollBy(kScrollAcross, 0); break;
            case fw::KeyCode::Left: view_->ScrollBy(-kScrollAcross, 0); break;
            }
            return;
        }
        auto field = fw::ACCEPTED();
        if (field == "?PRINTBUTTON") {
            p_.MARKQUEUE = model_->Marks();
            if (PrintOptionsWindow(p_) == 1) {
                p_.RETURNVALUE = preview_result::Printed;
                fw::POST(fw::Event::CloseWindow);
            } else {
                p_.RETURNVALUE = preview_result::NotPrinted;
            }
        } else if (field == "?EXITBUTTON") {
            p_.RETURNVALUE = preview_result::NotPrinted;
            p_.USERCANCELEDREPORT = 1;
            fw::POST(fw::Event::CloseWindow);
        } else if (field == "?JUMP") {
            Press([this] { model_->SetCurrentPage(JumpToPageWindow(p_, model_->CurrentPage(), model_->PageCount())); });
        } else if (field == "?PREVIEWTOP") {
            Press([this] { model_->FirstPage(); });
        } else if (field == "?PREVIOUS") {
            Press([this] { model_->PreviousPages(); });
        } else if (field == "?NEXT") {
            Press([this] { model_->NextPages(); });
        } else if (field == "?PREVIEWBOTTOM") {
            Press([this] { model_->LastPage(); });
        } else if (field == "?PRINTSINGLE") {
            p_.SAVEIMAGEQUEUE = p_.IMAGEQUEUE.Select({model_->CurrentPage() - 1});
            PrintSelectedPages(p_);
            Refresh();  // the page text again, after the printing progress
        } else if (field == "?CHANGEDISPLAY") {
            int across = model_->Across(), down = model_->Down();
            DisplayLayoutWindow(p_, across, down);
            model_->SetLayout(across, down);
            Press([this] { model_->SelectZoom(kNoZoom); });
        } else if (field == "?ZOOMSTATUS") {
            Press([this] { model_->SelectZoom(zoomText_); });
        } else if (field == "?PREVIEWDELETE") {
            if (model_->PageCount() > 1) {
                int i = model_->CurrentPage() - 1;
                view_->Forget(p_.IMAGEQUEUE.At(i).file);
                p_.IMAGEQUEUE.Delete(i);
                model_->DeleteCurrent();
                p_.IMAGECOUNT = p_.IMAGEQUEUE.Count();
                Refresh();
            }
        } else if (field == "?PREVIEWMARK") {
            model_->ToggleMark();
            ShowMarkState();
        } else if (field == "?PAGES") {
            Press([this] { model_->ClickCell(clickedCell_); });
        }
    }

    template <class F>
    void Press(F&& change) {
        change();
        Refresh();
    }

    // The page area takes the window's client area below the zoom list.
    void FitPageArea() {
        QWidget* content = window_->Content();
        int top = window_->DuToPxY(16);
        pagesHost_->setGeometry(0, top, content->width(), std::max(1, content->height() - top));
    }

    void Refresh() {
        PreviewModel& m = *model_;
        if (m.zoomed()) {
            view_->ShowZoomed(m.CurrentPage(), m.Zoom().factor, m.Zoom().hscroll);
        } else {
            std::vector<int> cells;
            for (int k = 1; k <= m.Cells(); ++k) cells.push_back(m.PageInCell(k));
            view_->ShowCells(m.Across(), m.Down(), std::move(cells));
        }
        zoomText_ = m.Zoom().text;
        fw::DISPLAY("?ZOOMSTATUS");
        if (m.PageCount() > 1) {
            for (const char* c : {"?PREVIEWTOP", "?PREVIOUS"}) m.PreviousEnabled() ? fw::ENABLE(c) : fw::DISABLE(c);
            m.NextEnabled() ? fw::ENABLE("?NEXT") : fw::DISABLE("?NEXT");
            if (m.zoomed()) m.LastEnabled() ? fw::ENABLE("?PREVIEWBOTTOM") : fw::DISABLE("?PREVIEWBOTTOM");
        }
        fw::SetProp({}, fw::Prop::StatusText, m.PageText(), kPageZone);
        fw::SetProp({}, fw::Prop::StatusText, m.Zoom().text, kZoomZone);
        p_.CURRENTPAGE = m.CurrentPage();
        p_.PAGESACROSS = m.Across();
        p_.PAGESDOWN = m.Down();
        if (m.SinglePageActions()) ShowMarkState();
    }

    void ShowMarkState() {
        bool marked = model_->CurrentMarked();
        fw::SetProp("?PREVIEWMARK", fw::Prop::Text, marked ? "Unmark" : "Mark");
        fw::SetProp("?PREVIEWMARK", fw::Prop::Tip, marked ? "Unmark Page" : "Mark Page");
        fw::SetProp({}, fw::Prop::StatusText, marked ? "Marked" : "", kMarkZone);
        p_.MARKQUEUE = model_->Marks();
    }

    ReportPreviewer& p_;
    fw::Window* window_ = nullptr;
    std::string zoomText_;
    QWidget* pagesHost_ = nullptr;
    PageView* view_ = nullptr;
    std::unique_ptr<PreviewModel> model_;
    int clickedCell_ = 0;
};

}  // namespace

int PreviewReport(ReportPreviewer& p, fw::report::PageList& pages, bool printMode, std::string_view title,
                  std::string_view initialZoom) {
    fw::SETCURSOR("~wait");
    StartPreviewer(p, pages, title);
    fw::SETCURSOR();
    if (pages.Empty()) {
        fw::MESSAGE("The report has no pages to show or print.", p.REPORTTITLE, fw::Icon::Asterisk);
        return p.RETURNVALUE;
    }
    if (printMode) {
        SelectPagesToPrint(p);
        if (PrintSelectedPages(p)) {
            p.RETURNVALUE = preview_result::Printed;
            TellPagesPrinted(p, p.SAVEIMAGEQUEUE.Count() * std::max(1, p.PRINTCOPIES));
        }
        return p.RETURNVALUE;
    }
    {
        PreviewWindow window(p, initialZoom);
        window.Run();
    }
    pages = p.IMAGEQUEUE;
    return p.RETURNVALUE;
}

int JumpToPageWindow(ReportPreviewer&, int currentPage, int pageCount) {
    int page = currentPage, result = currentPage;
    fw::Window window("JumpToPageWindow");
    window.Use("?PAGE", page);
    window.Open();
    fw::SetProp("?PAGE", fw::Prop::RangeHigh, std::max(1, pageCount));
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?OK") {
            result = std::clamp(page, 1, std::max(1, pageCount));
            fw::POST(fw::Event::CloseWindow);
        } else if (fw::ACCEPTED() == "?CANCEL") {
            fw::POST(fw::Event::CloseWindow);
        }
    }
    return result;
}

void DisplayLayoutWindow(ReportPreviewer&, int& across, int& down) {
    fw::Window window("DisplayLayoutWindow");
    window.Use("?PAGESACROSS", across);
    window.Use("?PAGESDOWN", down);
    window.Open();
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?OK") fw::POST(fw::Event::CloseWindow);
    }
    across = std::clamp(across, 1, 10);
    down = std::clamp(down, 1, 10);
}

}  // namespace printing
