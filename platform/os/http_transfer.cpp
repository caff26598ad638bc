#include "platform/os/http_transfer.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

#include "platform/runtime/scheduler.h"

namespace fw {
namespace {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// "http" or "https" from the address, lower case; empty for anything else.
std::string SchemeOf(const std::string& url) {
    auto colon = url.find("://");
    if (colon == std::string::npos) return {};
    std::string scheme = url.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme == "http" || scheme == "https" ? scheme : std::string();
}

}  // namespace

// The notifiers of one socket. Each reports once and is switched off until
// curl has had its turn, so a socket that stays readable never spins.
struct HttpTransfer::Watch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
};

HttpTransfer::HttpTransfer(HttpRequest request, Sink sink, std::function<void()> wake)
    : request_(std::move(request)), sink_(std::move(sink)), wake_(std::move(wake)), errorBuffer_(CURL_ERROR_SIZE, 0) {}

HttpTransfer::~HttpTransfer() {
    if (multi_ && easy_) curl_multi_remove_handle(static_cast<CURLM*>(multi_), static_cast<CURL*>(easy_));
    watches_.clear();
    if (easy_) curl_easy_cleanup(static_cast<CURL*>(easy_));
    if (multi_) curl_multi_cleanup(static_cast<CURLM*>(multi_));
    if (started_ && !finished_) runtime::EndOutsideWork();
}

bool HttpTransfer::Start() {
    GlobalInit();
    const std::string scheme = SchemeOf(request_.url);
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    easy_ = easy;
    multi_ = multi;
    if (!easy || !multi) {
        code_ = CURLE_FAILED_INIT;
        finished_ = true;
        return false;
    }
    if (scheme.empty()) {
        code_ = request_.url.find("://") == std::string::npos ? CURLE_URL_MALFORMAT : CURLE_UNSUPPORTED_PROTOCOL;
        detail_ = "only http and https addresses are fetched";
        finished_ = true;
        return false;
    }
    curl_easy_setopt(easy, CURLOPT_URL, request_.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, scheme.c_str());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, request_.maxRedirects);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, request_.connectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, request_.stallSeconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 512L * 1024L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!request_.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, request_.caFile.c_str());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_.data());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpTransfer::OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpTransfer::OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    // A list must never come from a cache on the way.
    static curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);

    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &HttpTransfer::OnSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &HttpTransfer::OnTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);

    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        timedOut_ = true;
        if (wake_) wake_();
    });
    started_ = true;
    runtime::BeginOutsideWork();
    CURLMcode rc = curl_multi_add_handle(multi, easy);
    if (rc != CURLM_OK) {
        Finish(CURLE_FAILED_INIT);
        return false;
    }
    return true;
}

int HttpTransfer::OnSocket(void*, int fd, int what, void* selfPtr, void*) {
    auto* self = static_cast<HttpTransfer*>(selfPtr);
    if (what == CURL_POLL_REMOVE) {
        self->watches_.erase(fd);
        return 0;
    }
    auto& watch = self->watches_[fd];
    if (!watch) watch = std::make_unique<Watch>();
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    auto arm = [self, fd](std::unique_ptr<QSocketNotifier>& n, QSocketNotifier::Type type, bool want, int mask) {
        if (!want) {
            n.reset();
            return;
        }
        if (!n) {
            n = std::make_unique<QSocketNotifier>(fd, type);
            QObject::connect(n.get(), &QSocketNotifier::activated, [self, fd, mask] { self->Ready(fd, mask); });
        }
        n->setEnabled(true);
    };
    arm(watch->read, QSocketNotifier::Read, wantRead, CURL_CSELECT_IN);
    arm(watch->write, QSocketNotifier::Write, wantWrite, CURL_CSELECT_OUT);
    return 0;
}

void HttpTransfer::Ready(int fd, int mask) {
    auto it = watches_.find(fd);
    if (it != watches_.end()) {
        if (mask == CURL_CSELECT_IN && it->second->read) it->second->read->setEnabled(false);
        if (mask == CURL_CSELECT_OUT && it->second->write) it->second->write->setEnabled(false);
    }
    ready_.emplace_back(fd, mask);
    if (wake_) wake_();
}

int HttpTransfer::OnTimer(void*, long timeoutMs, void* selfPtr) {
    auto* self = static_cast<HttpTransfer*>(selfPtr);
    if (!self->timer_) return 0;
    if (timeoutMs < 0) self->timer_->stop();
    else self->timer_->start(static_cast<int>(std::min(timeoutMs, 24L * 3600L * 1000L)));
    return 0;
}

std::size_t HttpTransfer::OnBody(char* data, std::size_t size, std::size_t count, void* selfPtr) {
    auto* self = static_cast<HttpTransfer*>(selfPtr);
    const std::size_t n = size * count;
    self->bodyBytes_ += n;
    if (self->finished_ || !self->sink_) return n;
    if (!self->sink_(std::string_view(data, n))) {
        self->sinkRefused_ = true;
        return 0;
    }
    return n;
}

std::size_t HttpTransfer::OnHeader(char* data, std::size_t size, std::size_t count, void* selfPtr) {
    auto* self = static_cast<HttpTransfer*>(selfPtr);
    const std::size_t n = size * count;
    self->Header(std::string_view(data, n));
    return n;
}

void HttpTransfer::Header(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    auto lower = [](std::string_view v) {
        std::string s(v);
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    auto trim = [](std::string_view v) {
        while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
        return v;
    };
    if (line.starts_with("HTTP/")) {
        // A new response (after a redirect or an interim answer) starts over.
        headersComplete_ = conflictingLengths_ = chunked_ = false;
        announcedLength_ = -1;
        bodyBytes_ = 0;
        reason_.clear();
        const std::size_t code = line.find(' ');
        const std::size_t reason = code == std::string_view::npos ? code : line.find(' ', code + 1);
        if (reason != std::string_view::npos) reason_ = std::string(trim(line.substr(reason + 1)));
        return;
    }
    if (line.empty()) {
        headersComplete_ = true;
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string name = lower(trim(line.substr(0, colon)));
    const std::string_view value = trim(line.substr(colon + 1));
    if (name == "content-length") {
        long long length = -1;
        bool digits = !value.empty();
        long long v = 0;
        for (char c : value) {
            if (c < '0' || c > '9' || v > (1LL << 53)) {
                digits = false;
                break;
            }
            v = v * 10 + (c - '0');
        }
        if (digits) length = v;
        if (!digits || (announcedLength_ >= 0 && announcedLength_ != length)) conflictingLengths_ = true;
        else announcedLength_ = length;
    } else if (name == "transfer-encoding" && lower(value).find("chunked") != std::string::npos) {
        chunked_ = true;
    }
}

void HttpTransfer::Pump() {
    if (finished_ || !multi_) return;
    CURLM* multi = static_cast<CURLM*>(multi_);
    int running = 0;
    std::vector<std::pair<int, int>> ready;
    ready.swap(ready_);
    for (auto [fd, mask] : ready) {
        curl_multi_socket_action(multi, fd, mask, &running);
        if (finished_) return;
        auto it = watches_.find(fd);
        if (it != watches_.end()) {
            if (mask == CURL_CSELECT_IN && it->second->read) it->second->read->setEnabled(true);
            if (mask == CURL_CSELECT_OUT && it->second->write) it->second->write->setEnabled(true);
        }
    }
    if (timedOut_) {
        timedOut_ = false;
        curl_multi_socket_action(multi, CURL_SOCKET_TIMEOUT, 0, &running);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg == CURLMSG_DONE) Finish(msg->data.result);
    }
}

void HttpTransfer::Cancel() {
    if (finished_) return;
    detail_ = "cancelled";
    Finish(CURLE_ABORTED_BY_CALLBACK);
}

void HttpTransfer::Finish(int code) {
    if (finished_) return;
    finished_ = true;
    code_ = code;
    if (detail_.empty()) detail_ = errorBuffer_[0] ? errorBuffer_.data() : curl_easy_strerror(static_cast<CURLcode>(code));
    if (timer_) timer_->stop();
    if (multi_ && easy_) curl_multi_remove_handle(static_cast<CURLM*>(multi_), static_cast<CURL*>(easy_));
    watches_.clear();
    ready_.clear();
    if (started_) runtime::EndOutsideWork();
}

long HttpTransfer::Status() const {
    long status = 0;
    if (easy_) curl_easy_getinfo(static_cast<CURL*>(easy_), CURLINFO_RESPONSE_CODE, &status);
    return status;
}

long long HttpTransfer::ContentLength() const {
    curl_off_t length = -1;
    if (easy_) curl_easy_getinfo(static_cast<CURL*>(easy_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length;
}

}  // namespace fw
