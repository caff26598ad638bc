#pragma once
// One HTTP or HTTPS GET on libcurl's multi interface, driven from the Qt
// event loop: the transfer's sockets and its timer are watched by Qt, and
// when one of them is ready the transfer calls `wake`. The owner (a program
// thread waiting in its window's loop) then calls Pump(), which lets curl
// act on whatever is ready and hands the body's bytes to the sink. Nothing
// blocks and no event loop is nested, so every other window stays usable.
//
//   fw::HttpTransfer t({.url = url}, [&](std::string_view b) { return Write(b); },
//                      [&] { window.Queue(kNetworkEvent, 0, true); });
//   t.Start();
//   while (fw::ACCEPT()) { if (fw::EVENT() == kNetworkEvent) t.Pump(); if (t.Finished()) break; }
//
// Only http and https are spoken; a redirect must keep the request's scheme
// (an https request is never moved to http, nor to any other scheme).
// Certificates are checked. A transfer that moves less than one byte a
// second for `stallSeconds` ends with a timeout.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace fw {

struct HttpRequest {
    std::string url;
    long connectTimeoutSeconds = 30;
    long stallSeconds = 60;
    long maxRedirects = 5;
    std::string caFile;  // certificate authorities to trust instead of the system's (tests)
};

class HttpTransfer {
public:
    // Receives the body in the order it arrives; false stops the transfer
    // (it then ends with CURLE_WRITE_ERROR).
    using Sink = std::function<bool(std::string_view bytes)>;

    HttpTransfer(HttpRequest request, Sink sink, std::function<void()> wake);
    ~HttpTransfer();
    HttpTransfer(const HttpTransfer&) = delete;
    HttpTransfer& operator=(const HttpTransfer&) = delete;

    // Sets the request up and queues it; false (with Code()) when curl
    // refuses it at once (a malformed address, another scheme).
    bool Start();
    // Lets curl act on the sockets and timer that reported since the last call.
    void Pump();
    // Ends the transfer now: Code() is CURLE_ABORTED_BY_CALLBACK.
    void Cancel();

    bool Finished() const { return finished_; }
    // curl's result (CURLcode); 0 when the transfer completed.
    int Code() const { return code_; }
    // The status of the last response (0 before one arrived).
    long Status() const;
    // The body's length as the server announced it; -1 when it did not.
    long long ContentLength() const;

    // What the headers of the last response said, as they arrived: its
    // status line's reason ("Not Found"), whether the header block ended
    // (the blank line came), whether two Content-Length values differed,
    // whether the body is chunked (its end is then marked in it), and the
    // body bytes that arrived (before the sink).
    const std::string& Reason() const { return reason_; }
    bool HeadersComplete() const { return headersComplete_; }
    bool ConflictingLengths() const { return conflictingLengths_; }
    bool Chunked() const { return chunked_; }
    long long AnnouncedLength() const { return announcedLength_; }
    unsigned long long BodyBytes() const { return bodyBytes_; }
    // The body's end is known from the transfer: a length was announced or
    // the body is chunked (else only the connection's close ends it, and a
    // cut connection looks the same).
    bool EndIsDelimited() const { return announcedLength_ >= 0 || chunked_; }
    // curl's own description of the failure, for logs and tests.
    const std::string& Detail() const { return detail_; }

private:
    struct Watch;
    static int OnSocket(void* easy, int fd, int what, void* self, void* socketData);
    static int OnTimer(void* multi, long timeoutMs, void* self);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
    void Header(std::string_view line);
    void Finish(int code);
    void Ready(int fd, int mask);

    HttpRequest request_;
    Sink sink_;
    std::function<void()> wake_;
    void* multi_ = nullptr;
    void* easy_ = nullptr;
    std::map<int, std::unique_ptr<Watch>> watches_;
    std::vector<std::pair<int, int>> ready_;  // sockets that reported, and how
    std::unique_ptr<QTimer> timer_;
    bool timedOut_ = false;
    bool started_ = false;
    bool finished_ = false;
    bool sinkRefused_ = false;
    int code_ = 0;
    std::string detail_;
    std::vector<char> errorBuffer_;
    std::string reason_;
    bool headersComplete_ = false;
    bool conflictingLengths_ = false;
    bool chunked_ = false;
    long long announcedLength_ = -1;
    unsigned long long bodyBytes_ = 0;
};

}  // namespace fw
