#pragma once
// The previewer under the test driver: a synthetic report of n pages (each
// page shows "Sheet <n>"), print jobs caught by a recording sink.

#include <QWidget>

#include <memory>

#include "platform/report/print_sink.h"
#include "platform/report/report.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "printing/page_view.h"
#include "printing/preview_report.h"
#include "printing/report_destination.h"

class PreviewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        printing::SetPrintSinkFactory([this] {
            struct Forward : fw::report::PrintSink {
                explicit Forward(fw::report::RecordingSink& to) : to(to) {}
                bool BeginJob(const std::string& t, const fw::report::Page& p) override { return to.BeginJob(t, p); }
                bool AddPage(const fw::report::Page& p, int n) override { return to.AddPage(p, n); }
                bool EndJob() override { return to.EndJob(); }
                fw::report::RecordingSink& to;
            };
            return std::make_unique<Forward>(sink);
        });
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        printing::SetPrintSinkFactory(nullptr);
    }

    static fw::report::PageList Pages(int count) {
        using namespace fw::report;
        static const BandRow bands[] = {{"SHEET", BandRole::Detail, 0, 0, 1000}};
        Element text;
        text.name = "SHEET";
        text.rect = {1000, 1000, 6000, 600};
        text.font.size = 36;
        text.font.style = 700;
        const ElementRow elements[] = {{"SHEET", text}};
        Report r(BuildDefinition({}, bands, elements));
        r.SetRowsPerPage(1);
        for (int i = 1; i <= count; ++i) {
            r.Element("SHEET").text = "Sheet " + std::to_string(i);
            r.Print("SHEET");
        }
        return r.Finish();
    }

    // Opens the preview on n pages; the result lands in `result`.
    void OpenPreview(int count, const char* zoom = "No Zoom") {
        pages = Pages(count);
        driver->Start([this, zoom] { result = printing::PreviewReport(previewer, pages, false, "SongBook Preview", zoom); });
    }

    printing::PageView* View() const {
        fw::Window* w = driver->FindWindow("PreviewReport");
        return w ? w->Find("?PAGES")->Widget()->findChild<printing::PageView*>() : nullptr;
    }
    // The page numbers printed on the pages of each job.
    std::vector<std::vector<int>> Jobs() const {
        std::vector<std::vector<int>> out;
        for (const auto& j : sink.jobs) out.push_back(j.pages);
        return out;
    }
    std::string Zone(int zone) const {
        return driver->FindWindow("PreviewReport")->Get(fw::Prop::StatusText, 0, zone).Str();
    }

    std::unique_ptr<fw::testing::Driver> driver;
    fw::report::RecordingSink sink;
    printing::ReportPreviewer previewer;
    fw::report::PageList pages;
    int result = -1;
};
