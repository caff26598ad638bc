// The report engine at the size of a big song book: 100,000 detail rows
// (about 2,000 pages of 50 rows, four texts a row and a rule every fifth
// row, header and footer on every page) laid out into page files, written
// to PDF through the renderer, and opened in the preview window.
//   pages_per_s        pages laid out and written to their files a second
//   pdf_vs_bare_ratio  our PDF of those pages / a bare QPdfWriter loop that
//                      draws the same texts at the same places (same run)
//   first_page_ms      the preview opened until its first page is painted
//   cells_100_ms       the preview switched to 10 x 10 cells and painted, and
//   next_100_ms        the next hundred pages painted in them
//   peak_rss_mb        the run's peak memory
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/report/print_sink.h"
#include "platform/report/report.h"
#include "platform/report/report_fonts.h"
#include "platform/ui/testing/driver.h"
#include "printing/page_view.h"
#include "printing/preview_report.h"

namespace {

using namespace fw::report;

constexpr int kRows = 100000;
constexpr int kRowsPerPage = 50;

Element TextAt(std::string name, Rect r, int size = 9, int style = 400) {
    Element e;
    e.name = std::move(name);
    e.rect = r;
    e.font.size = size;
    e.font.style = style;
    return e;
}

ReportDefinition BookDefinition() {
    static const BandRow bands[] = {
        {"HEADER", BandRole::Header, 500, 300, 0},
        {"DETAIL", BandRole::Detail, 0, 0, 180},
        {"FOOTER", BandRole::Footer, 500, 10400, 0},
    };
    Element rule;
    rule.name = "RULE";
    rule.kind = ElementKind::Line;
    rule.rect = {0, 170, 7500, 0};
    Element pageNo = TextAt("PAGENO", {0, 0, 2000, 200});
    pageNo.source = TextSource::PageNumber;
    pageNo.text = "Page: <<<#";
    Element pageOf = TextAt("PAGEOF", {5500, 0, 2000, 200});
    pageOf.source = TextSource::PageOfCount;
    pageOf.text = "Page {page} of {pages}";
    pageOf.align = Align::Right;
    const ElementRow elements[] = {
        {"HEADER", TextAt("TITLE", {0, 0, 7500, 300}, 14, 700)},
        {"HEADER", TextAt("HEAD1", {0, 350, 3000, 200}, 9, 700)},
        {"HEADER", TextAt("HEAD2", {3100, 350, 2500, 200}, 9, 700)},
        {"DETAIL", TextAt("SONG", {0, 0, 3000, 170})},
        {"DETAIL", TextAt("ARTIST", {3100, 0, 2500, 170})},
        {"DETAIL", TextAt("DISC", {5700, 0, 1200, 170})},
        {"DETAIL", TextAt("TRACK", {6900, 0, 600, 170})},
        {"DETAIL", rule},
        {"FOOTER", pageNo},
        {"FOOTER", pageOf},
    };
    ReportDefinition def = BuildDefinition({}, bands, elements);
    def.detailArea = {500, 1000, 7500, 9300};
    return def;
}

std::string Song(int i) { return "Song title number " + std::to_string(i) + " of the book"; }
std::string Artist(int i) { return "Artist " + std::to_string(i % 997) + " and Band"; }
std::string Disc(int i) { return "SC" + std::to_string(8000 + i / 15); }
std::string Track(int i) { return std::to_string(i % 15 + 1); }

PageList MakeBook() {
    Report r(BookDefinition());
    r.SetRowsPerPage(kRowsPerPage);
    r.Element("TITLE").text = "Karaoke Song Book";
    r.Element("HEAD1").text = "Song";
    r.Element("HEAD2").text = "Artist";
    for (int i = 0; i < kRows; ++i) {
        r.Element("SONG").text = Song(i);
        r.Element("ARTIST").text = Artist(i);
        r.Element("DISC").text = Disc(i);
        r.Element("TRACK").text = Track(i);
        r.Element("RULE").hidden = i % 5 != 4;
        r.Print("DETAIL");
    }
    return r.Finish();
}

PageList& Book() {
    static std::optional<PageList> book;
    if (!book) book = MakeBook();
    return *book;
}

std::string TempPdf(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()) + ".pdf")).string();
}

void LayOut(benchmark::State& state) {
    int pages = 0;
    for (auto _ : state) {
        PageList list = MakeBook();
        pages = list.Count();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(static_cast<double>(pages) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(LayOut)->Unit(benchmark::kMillisecond)->Iterations(2);

// The bare loop: the same texts at the same places with the same fonts,
// straight from memory, no page files and no renderer.
double BarePdfSeconds() {
    std::string path = TempPdf("cv-bare-");
    QElapsedTimer t;
    t.start();
    {
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        const double k = 600 / 1000.0;
        QFont body = QtFont(TextFont{"Arial", 9, 400, 0}, 9 * 600 / 72.0);
        QFont head = QtFont(TextFont{"Arial", 14, 700, 0}, 14 * 600 / 72.0);
        QFont bold = QtFont(TextFont{"Arial", 9, 700, 0}, 9 * 600 / 72.0);
        QFontMetricsF fm(body, &writer);
        int pages = (kRows + kRowsPerPage - 1) / kRowsPerPage;
        for (int p = 0; p < pages; ++p) {
            if (p > 0) writer.newPage();
            painter.setPen(Qt::black);
            painter.setFont(head);
            painter.drawText(QPointF(500 * k, 300 * k + QFontMetricsF(head, &writer).ascent()), "Karaoke Song Book");
            painter.setFont(bold);
            painter.drawText(QPointF(500 * k, 650 * k + fm.ascent()), "Song");
            painter.drawText(QPointF(3600 * k, 650 * k + fm.ascent()), "Artist");
            painter.setFont(body);
            for (int row = 0; row < kRowsPerPage; ++row) {
                int i = p * kRowsPerPage + row;
                if (i >= kRows) break;
                double y = (1000 + row * 180) * k + fm.ascent();
                painter.drawText(QPointF(500 * k, y), QString::fromStdString(Song(i)));
                painter.drawText(QPointF(3600 * k, y), QString::fromStdString(Artist(i)));
                painter.drawText(QPointF(6200 * k, y), QString::fromStdString(Disc(i)));
                painter.drawText(QPointF(7400 * k, y), QString::fromStdString(Track(i)));
                if (i % 5 == 4) painter.drawLine(QPointF(500 * k, (1170 + row * 180) * k), QPointF(8000 * k, (1170 + row * 180) * k));
            }
            painter.drawText(QPointF(500 * k, 10400 * k + fm.ascent()), QString("Page: %1").arg(p + 1));
            painter.drawText(QPointF(6000 * k, 10400 * k + fm.ascent()), QString("Page %1 of %2").arg(p + 1).arg(pages));
        }
    }
    double s = t.nsecsElapsed() / 1e9;
    std::filesystem::remove(path);
    return s;
}

double OurPdfSeconds() {
    std::string path = TempPdf("cv-ours-");
    QElapsedTimer t;
    t.start();
    PdfSink sink(path);
    std::string error;
    if (!PrintPages(Book(), "Karaoke Song Book", sink, error)) std::fprintf(stderr, "PDF failed: %s\n", error.c_str());
    double s = t.nsecsElapsed() / 1e9;
    std::filesystem::remove(path);
    return s;
}

void PdfAgainstBare(benchmark::State& state) {
    Book();
    double ours = 0, bare = 0;
    for (auto _ : state) {
        bare += BarePdfSeconds();
        ours += OurPdfSeconds();
    }
    state.counters["our_pdf_s"] = ours / state.iterations();
    state.counters["bare_pdf_s"] = bare / state.iterations();
    state.counters["pdf_vs_bare_ratio"] = ours / bare;
}
BENCHMARK(PdfAgainstBare)->Unit(benchmark::kMillisecond)->Iterations(1);

void PreviewFirstPage(benchmark::State& state) {
    PageList& book = Book();
    double total = 0;
    for (auto _ : state) {
        fw::testing::Driver driver;
        printing::ReportPreviewer previewer;
        PageList pages = book;
        QElapsedTimer t;
        double ms = -1;
        printing::PageView::SetFirstPaintHook([&] { ms = t.nsecsElapsed() / 1e6; });
        t.start();
        driver.Start([&] { printing::PreviewReport(previewer, pages, false, "SongBook Preview", "No Zoom"); });
        while (ms < 0 && t.elapsed() < 10000) driver.Settle();
        total += ms;
        driver.Press("?CHANGEDISPLAY");
        driver.Type("?PAGESACROSS", "10");
        driver.Type("?PAGESDOWN", "10");
        QElapsedTimer cells;
        cells.start();
        driver.Press("?OK", "DisplayLayoutWindow");
        state.counters["cells_100_ms"] = cells.nsecsElapsed() / 1e6;
        cells.restart();
        driver.Press("?NEXT");
        state.counters["next_100_ms"] = cells.nsecsElapsed() / 1e6;
        driver.Press("?EXITBUTTON");
    }
    state.counters["first_page_ms"] = total / state.iterations();
    state.counters["pages"] = book.Count();
}
BENCHMARK(PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(3);

void PeakMemory(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Book().Count());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = usage.ru_maxrss / 1024.0;
}
BENCHMARK(PeakMemory)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterReportFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
