// DownloadFile against a server on 127.0.0.1, through the test driver: the
// window, the file written, the status and the messages.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "exchange/download_chunks.h"
#include "exchange/download_file.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "tests/exchange/loopback_server.h"

using namespace exchange;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        DownloadTotalSize = 0;
        DownloadConvertLineEnds = 0;
        AutoUpdateStatusText = "Downloading Update File: X";
    }
    DownloadReport Fetch(const std::string& path) {
        DownloadReport report;
        d.Start([&] { report = DownloadFileReport(server.Url(path), Dest()); });
        EXPECT_FALSE(d.IsOpen("P8$PROGRESSWINDOW"));
        return report;
    }
    std::string Dest() const { return dir.path().toStdString() + "/out.bin"; }
    LoopbackServer server;
    QTemporaryDir dir;
    fw::testing::Driver d{fw::testing::GTestFailures()};
};

}  // namespace

TEST_F(DownloadTest, ABodyArrivesWhole) {
    std::string body(300000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
    server.Serve("/update/01/MAIN.Z", body);
    DownloadTotalSize = static_cast<std::int32_t>(body.size());
    DownloadReport r = Fetch("/update/01/MAIN.Z");
    EXPECT_EQ(r.status, DownloadStatus::Complete) << r.detail;
    EXPECT_EQ(r.bytes, body.size());
    EXPECT_EQ(ReadFile(Dest()), body);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(DownloadTest, EdgeSizesOfTheBody) {
    server.Serve("/empty", "");
    server.Serve("/k", std::string(1024, 'k'));
    DownloadReport r = Fetch("/empty");
    EXPECT_EQ(r.status, DownloadStatus::Complete);
    EXPECT_EQ(r.bytes, 0u);
    r = Fetch("/k");
    EXPECT_EQ(r.bytes, 1024u);
}

TEST_F(DownloadTest, NotFoundInAnyFormIsOneMessageAndAnEmptyFile) {
    server.Serve("/a", "<html>404 NOT FOUND</html>", 404);
    server.Serve("/b", "gone", 404);
    server.Serve("/c", "<h1>404 Not Found</h1>", 200);
    server.Serve("/late", std::string(2000, 'x') + "404 NOT FOUND", 200);
    for (const char* path : {"/a", "/b", "/c"}) {
        d.AnswerMessage("Auto Update Error: File not found on server", fw::Button::Ok);
        DownloadReport r = Fetch(path);
        EXPECT_EQ(r.status, DownloadStatus::NotFound) << path;
        EXPECT_EQ(r.bytes, 0u);
        EXPECT_TRUE(std::ifstream(Dest()).good());
        EXPECT_EQ(ReadFile(Dest()), "");
    }
    EXPECT_EQ(d.Messages().back(), "AutoUpdate Error: Auto Update Error: File not found on server\nThe server "
                                   "127.0.0.1 answered that c is not there.");
    // Past the first 1024 bytes the text is only data.
    DownloadReport r = Fetch("/late");
    EXPECT_EQ(r.status, DownloadStatus::Complete);
    EXPECT_EQ(r.bytes, 2013u);
}

TEST_F(DownloadTest, AServerErrorIsAnInvalidResponse) {
    server.Serve("/list", "instructions? no: an error page", 500);
    d.AnswerMessage("Auto Update Error: Invalid HTTP Server Response", fw::Button::Ok);
    DownloadReport r = Fetch("/list");
    EXPECT_EQ(r.status, DownloadStatus::Failed);
    EXPECT_EQ(r.bytes, 0u);
}

TEST_F(DownloadTest, AnAnswerThatIsNotWholeIsAFailedDownload) {
    struct Case {
        const char* name;
        std::string answer;
        const char* why;
    } cases[] = {
        {"cut inside its headers", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Le",
         "before its headers were complete"},
        {"the status line alone", "HTTP/1.1 200 OK\r\n", "before its headers were complete"},
        {"two different lengths", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 7\r\n\r\nabcdefg",
         "gave two different lengths for MAIN.Z"},
        {"fewer bytes than announced", "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nonly a few",
         "was cut before MAIN.Z had arrived whole"},
        {"no answer at all", "", "127.0.0.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer raw(c.answer);
        d.AnswerMessage(c.why, fw::Button::Ok);
        DownloadReport r;
        d.Start([&] { r = DownloadFileReport(raw.Url("/update/01/MAIN.Z"), Dest()); });
        EXPECT_EQ(r.status, DownloadStatus::Failed) << r.detail;
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        ASSERT_FALSE(d.Messages().empty());
        EXPECT_NE(d.Messages().back().find("127.0.0.1"), std::string::npos) << d.Messages().back();
    }
}

TEST_F(DownloadTest, ABodyOnlyTheCloseEndsIsWholeOnlyWhereNobodyAsksToKnow) {
    RawHttpServer raw("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nline one\nline two\n");
    DownloadReport r = [&] {
        DownloadReport out;
        d.Start([&] { out = DownloadFileReport(raw.Url("/update/01/autoupdate2b.inf"), Dest()); });
        return out;
    }();
    EXPECT_EQ(r.status, DownloadStatus::Complete) << r.detail;
    EXPECT_EQ(ReadFile(Dest()), "line one\nline two\n");
    d.AnswerMessage("did not say how long autoupdate2b.inf is", fw::Button::Ok);
    d.Start([&] {
        r = DownloadFileReport(raw.Url("/update/01/autoupdate2b.inf"), Dest(), {.requireKnownLength = true});
    });
    EXPECT_EQ(r.status, DownloadStatus::Failed);
    // A length, or a chunked body, tells.
    server.Serve("/sized", "line one\n");
    server.ServeChunked("/chunked", "line one\n");
    for (const char* path : {"/sized", "/chunked"}) {
        d.Start([&] { r = DownloadFileReport(server.Url(path), Dest(), {.requireKnownLength = true}); });
        EXPECT_EQ(r.status, DownloadStatus::Complete) << path << ": " << r.detail;
        EXPECT_EQ(ReadFile(Dest()), "line one\n");
    }
}

TEST_F(DownloadTest, EveryFailureNamesTheServerAndTheCause) {
    server.Serve("/update/01/LIST.TXT", "", 404);
    server.Serve("/update/01/DISCS.Z", "", 500);
    server.Serve("/update/01/DMAKE.Z", "", 503);
    struct Case {
        std::string url;
        const char* message;
        DownloadStatus status;
    } cases[] = {
        {server.Url("/update/01/LIST.TXT"),
         "Auto Update Error: File not found on server|The server 127.0.0.1 answered 404 Not Found for LIST.TXT.",
         DownloadStatus::NotFound},
        {server.Url("/update/01/DISCS.Z"),
         "Auto Update Error: Invalid HTTP Server Response|The server 127.0.0.1 answered 500 Internal Server Error "
         "for DISCS.Z.",
         DownloadStatus::Failed},
        {server.Url("/update/01/DMAKE.Z"),
         "Auto Update Error: Invalid HTTP Server Response|The server 127.0.0.1 answered 503 Service Unavailable "
         "for DMAKE.Z.",
         DownloadStatus::Failed},
        {"http://cantorvale-update.invalid/update/01/LIST.TXT",
         "Auto Update Error: Service Name Not Resolved|The update server cantorvale-update.invalid could not be "
         "found.",
         DownloadStatus::Failed},
        {"http://127.0.0.1:1/update/01/LIST.TXT",
         "Auto Update Error: Cannot connect|The update server 127.0.0.1 could not be reached.",
         DownloadStatus::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        d.AnswerMessage(c.message, fw::Button::Ok);
        DownloadReport r;
        d.Start([&] { r = DownloadFileReport(c.url, Dest()); });
        EXPECT_EQ(r.status, c.status) << r.detail;
        ASSERT_FALSE(d.Messages().empty());
        std::string shown = std::string("AutoUpdate Error: ") + c.message;
        std::replace(shown.begin(), shown.end(), '|', '\n');  // a bar is a line break
        EXPECT_EQ(d.Messages().back(), shown);
    }
}

TEST_F(DownloadTest, MoreThanTheLimitStopsTheDownload) {
    server.Serve("/big", std::string(500000, 'b'));
    DownloadReport r;
    d.Start([&] { r = DownloadFileReport(server.Url("/big"), Dest(), {.maxBytes = 1000}); });
    EXPECT_EQ(r.status, DownloadStatus::Failed);
    EXPECT_LE(r.bytes, 1000u);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(DownloadTest, AConnectionCutMidwayFails) {
    server.ServeCut("/cut", std::string(100000, 'c'), 40000);
    d.AnswerMessage("Auto Update Error: ", fw::Button::Ok);
    DownloadReport r = Fetch("/cut");
    EXPECT_EQ(r.status, DownloadStatus::Failed) << r.detail;
    EXPECT_LE(r.bytes, 40000u);
}

TEST_F(DownloadTest, RedirectsKeepTheirScheme) {
    server.Serve("/moved-here", "here");
    server.Redirect("/same", "/moved-here");
    server.Redirect("/file", "file:///etc/passwd");
    server.Redirect("/https", "https://127.0.0.1:1/x");
    DownloadReport r = Fetch("/same");
    EXPECT_EQ(r.status, DownloadStatus::Complete);
    EXPECT_EQ(ReadFile(Dest()), "here");
    for (const char* path : {"/file", "/https"}) {
        d.AnswerMessage("Auto Update Error: Unrecognized Scheme", fw::Button::Ok);
        r = Fetch(path);
        EXPECT_EQ(r.status, DownloadStatus::Failed) << path << ": " << r.detail;
        EXPECT_EQ(r.bytes, 0u);
    }
}

TEST_F(DownloadTest, NoServerAtThePortCannotConnect) {
    d.AnswerMessage("Auto Update Error: Cannot connect", fw::Button::Ok);
    DownloadReport report;
    d.Start([&] { report = DownloadFileReport("http://127.0.0.1:1/x", Dest()); });
    EXPECT_EQ(report.status, DownloadStatus::Failed);
}

TEST_F(DownloadTest, ATrickleCanBeCancelled) {
    server.ServeTrickle("/slow", 20);
    DownloadTotalSize = 1000000;
    d.SetOutsideWaitLimit(0);
    DownloadReport report;
    bool returned = false;
    d.Start([&] {
        report = DownloadFileReport(server.Url("/slow"), Dest());
        returned = true;
    });
    ASSERT_TRUE(d.IsOpen("P8$PROGRESSWINDOW"));
    ASSERT_TRUE(d.PumpUntil([&] { return d.Text("?BYTESRECEIVEDSTRING").find("            0 of") != 0; }, 10000))
        << d.Text("?BYTESRECEIVEDSTRING");
    EXPECT_EQ(d.Text("?DOWNLOADSTRING"), "Downloading Update File: X");
    d.Press("?CANCEL");
    ASSERT_TRUE(returned);
    EXPECT_EQ(report.status, DownloadStatus::Cancelled);
    EXPECT_GT(report.bytes, 0u);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(DownloadTest, HttpsChecksTheServersCertificate) {
    const std::string cert = dir.path().toStdString() + "/cert.pem", key = dir.path().toStdString() + "/key.pem";
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
                             "-addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert + " 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    LoopbackServer tls(cert, key);
    tls.Serve("/secure", "over tls");
    DownloadReport r;
    d.AnswerMessage("Auto Update Error: Invalid CA Cert", fw::Button::Ok);
    d.Start([&] { r = DownloadFileReport(tls.Url("/secure"), Dest()); });
    EXPECT_EQ(r.status, DownloadStatus::Failed) << r.detail;
    EXPECT_EQ(r.bytes, 0u);
    // Trusted, the same server is fine.
    SetDownloadCaFile(cert);
    d.Start([&] { r = DownloadFileReport(tls.Url("/secure"), Dest()); });
    SetDownloadCaFile({});
    EXPECT_EQ(r.status, DownloadStatus::Complete) << r.detail;
    EXPECT_EQ(ReadFile(Dest()), "over tls");
}

TEST_F(DownloadTest, TheListGetsCrLfLineEnds) {
    server.Serve("/list", "\"DATA\",\"5\"\n\"DATA\",\"\"\r\nlast\n", 200, "text/plain");
    DownloadConvertLineEnds = 1;
    DownloadReport r = Fetch("/list");
    EXPECT_EQ(ReadFile(Dest()), "\"DATA\",\"5\"\r\n\"DATA\",\"\"\r\nlast\r\n");
    EXPECT_EQ(r.bytes, ReadFile(Dest()).size());
}

TEST(DownloadChunks, LineEndsAcrossChunks) {
    LineEndConverter c;
    std::string out, all;
    for (std::string_view chunk : {"a\nb", " \r", "\nc\n", "\n"}) {
        c.Convert(chunk, out);
        all += out;
    }
    EXPECT_EQ(all, "a\r\nb \r\nc\r\n\r\n");
}

TEST(DownloadChunks, TheNotFoundTestLooksAtTheFirst1024BytesOnly) {
    NotFoundTest t;
    EXPECT_EQ(t.Feed(std::string(1000, '\0') + "404 no"), "");
    EXPECT_FALSE(t.Decided());
    EXPECT_EQ(t.Feed(std::string(30, 'y')).size(), 1036u);
    EXPECT_FALSE(t.NotFound());
    NotFoundTest split;
    split.Feed(std::string(1010, ' ') + "404 nOt");
    EXPECT_EQ(split.Feed(" found, more"), "");
    EXPECT_TRUE(split.NotFound());
    NotFoundTest past;
    past.Feed(std::string(1020, ' ') + "404 NOT FOUND");
    EXPECT_FALSE(past.NotFound());
}

TEST(DownloadChunks, FiguresGuardEveryDivision) {
    DownloadFigures f = ComputeDownloadFigures(5000, 0, 0);
    EXPECT_EQ(f.percent, 0);
    EXPECT_EQ(f.percentText, "  0% Completed");
    EXPECT_EQ(f.remainingText, "Time Remaining: ");
    EXPECT_EQ(f.speedText, "    0.00 KB/s");
    f = ComputeDownloadFigures(150, 100, 2000);
    EXPECT_EQ(f.percent, 100);
    EXPECT_EQ(f.remainingText, "Time Remaining: 00:00:00");
    f = ComputeDownloadFigures(50000000, 100000000, 10000);
    EXPECT_EQ(f.percent, 50);
    EXPECT_EQ(f.elapsedText, "Time Elapsed: 00:00:10");
    EXPECT_EQ(f.remainingText, "Time Remaining: 00:00:10");
    EXPECT_EQ(f.bytesText, "   50,000,000 of   100,000,000 Bytes Received");
    EXPECT_EQ(f.speedText, " 5000.00 KB/s");
}

TEST(DownloadErrors, TextsByNumber) {
    EXPECT_EQ(InternetErrorText(12029), "Cannot connect");
    EXPECT_EQ(InternetErrorText(12159), "TCP/IP not installed");
    EXPECT_EQ(InternetErrorText(12003), "Unknown Error");
    EXPECT_EQ(InternetErrorText(InternetErrorOf(18)), "Connection Aborted");  // CURLE_PARTIAL_FILE
}
