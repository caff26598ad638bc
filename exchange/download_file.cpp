#include "exchange/download_file.h"

#include <QElapsedTimer>

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <map>

#include "exchange/download_chunks.h"
#include "platform/data/names/path_names.h"
#include "platform/data/names/plain_files.h"
#include "platform/os/http_transfer.h"
#include "platform/text/picture.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace exchange {
namespace {

// Posted (coalesced) to the window when a socket or curl's timer reports.
constexpr int kNetworkEvent = fw::Event::User + 0x20;
// Redraws of the figures at most this often while bytes arrive.
constexpr qint64 kRedrawMs = 100;

std::string& CaFile() {
    static std::string path;
    return path;
}

// One download in its window: the file, the transfer and what the user sees.
class Download {
public:
    Download(std::string url, std::string destination, DownloadOptions options)
        : url_(std::move(url)), destination_(std::move(destination)), options_(options),
          window_("P8$PROGRESSWINDOW") {}

    DownloadReport Run() {
        window_.Use("?DOWNLOADSTRING", AutoUpdateStatusText);
        window_.Use("?TIMEELAPSED", elapsedText_);
        window_.Use("?TIMEREMAINING", remainingText_);
        window_.Use("?BYTESRECEIVEDSTRING", bytesText_);
        window_.Use("?PROGRESS:THERMOMETER", percentShown_);
        window_.Use("?PROGRESSSTRING", percentText_);
        window_.Use("?BYTESPERSECOND", speedText_);
        expected_ = DownloadTotalSize;
        convert_ = DownloadConvertLineEnds == 1;
        window_.Open();
        while (fw::ACCEPT()) {
            switch (fw::EVENT()) {
            case fw::Event::OpenWindow: Begin(); break;
            case fw::Event::Timer: Animate(); break;
            case kNetworkEvent: Pump(); break;
            case fw::Event::CloseWindow:
                if (transfer_ && !transfer_->Finished()) Cancel();
                break;
            default: break;
            }
            if (fw::ACCEPTED() == "?CANCEL") Cancel();
            if (done_) break;
        }
        Close();
        return report_;
    }

private:
    void Begin() {
        percentText_ = "0% Completed";
        bytesText_ = fw::FORMAT(0, "@N13") + " of " + std::to_string(std::max<std::int64_t>(expected_, 0)) + " Bytes Received";
        speedText_ = "0 KB/s";
        fw::DISPLAY();
        fd_ = ::open(fw::ResolvePath(destination_).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            Finish(DownloadStatus::Failed, std::string("the file cannot be created: ") + std::strerror(errno));
            return;
        }
        fw::HttpRequest request;
        request.url = url_;
        request.caFile = CaFile();
        transfer_ = std::make_unique<fw::HttpTransfer>(
            request, [this](std::string_view bytes) { return Take(bytes); },
            [this] { window_.Queue(kNetworkEvent, 0, true); });
        clock_.start();
        if (!transfer_->Start()) Failed();
    }

    // The body as it arrives: the status first, then the not-found test,
    // the line ends and the file.
    bool Take(std::string_view bytes) {
        if (!statusChecked_) {
            statusChecked_ = true;
            const long status = transfer_->Status();
            if (status == 404) return Refuse(DownloadStatus::NotFound);
            if (status < 200 || status > 299) return Refuse(DownloadStatus::Failed, status);
            if (expected_ <= 0 && transfer_->ContentLength() > 0)
                expected_ = static_cast<std::int64_t>(transfer_->ContentLength());
        }
        std::string pass = notFound_.Feed(bytes);
        if (notFound_.Decided() && notFound_.NotFound()) return Refuse(DownloadStatus::NotFound);
        return Write(pass);
    }

    bool Refuse(DownloadStatus status, long httpStatus = 0) {
        refused_ = status;
        refusedStatus_ = httpStatus;
        return false;
    }

    bool Write(std::string_view bytes) {
        if (bytes.empty()) return true;
        // A server that sends more than was asked for is not followed to
        // the end of the disk.
        if (options_.maxBytes && received_ + bytes.size() > options_.maxBytes) {
            tooLong_ = true;
            return false;
        }
        if (convert_) {
            converter_.Convert(bytes, converted_);
            bytes = converted_;
        }
        if (!fw::WriteAllBytes(fd_, bytes)) {
            writeFailed_ = true;
            return false;
        }
        received_ += bytes.size();
        return true;
    }

    void Pump() {
        if (!transfer_ || done_) return;
        transfer_->Pump();
        if (transfer_->Finished()) {
            Ended();
            return;
        }
        if (!drawn_.isValid() || drawn_.elapsed() >= kRedrawMs) Redraw();
    }

    void Ended() {
        // A status with no body at all is checked here.
        if (!statusChecked_ && transfer_->Code() == CURLE_OK && transfer_->Status() != 0) Take({});
        if (refused_ == DownloadStatus::NotFound) return NotFoundOnServer();
        if (refused_ == DownloadStatus::Failed)
            return Fail(12152, "The server " + Host() + " answered " + StatusText(refusedStatus_) + " for " + File() + ".",
                        "HTTP status " + std::to_string(refusedStatus_));
        if (writeFailed_) return Finish(DownloadStatus::Failed, "the file could not be written");
        if (tooLong_) return Finish(DownloadStatus::Failed, "more bytes than expected");
        if (transfer_->ConflictingLengths())
            return Fail(12152, "The server " + Host() + " gave two different lengths for " + File() + ".",
                        "two different Content-Length values");
        if (transfer_->Code() != CURLE_OK) return Failed();
        // Only a whole answer is a download: its status line and the end
        // of its headers seen, and as many bytes as it announced.
        if (transfer_->Status() == 0 || !transfer_->HeadersComplete())
            return Fail(12152,
                        "The server " + Host() + " broke off its answer for " + File() +
                            " before its headers were complete.",
                        "the header block is incomplete");
        const long long announced = transfer_->AnnouncedLength();
        if (announced >= 0 && transfer_->BodyBytes() != static_cast<unsigned long long>(announced))
            return Fail(12030,
                        "The connection to " + Host() + " was cut before " + File() + " had arrived whole (" +
                            std::to_string(transfer_->BodyBytes()) + " of " + std::to_string(announced) + " bytes).",
                        "short body");
        if (options_.requireKnownLength && !transfer_->EndIsDelimited())
            return Fail(12152,
                        "The server " + Host() + " did not say how long " + File() +
                            " is, so it cannot be known to have arrived whole.",
                        "no length announced");
        // A body shorter than the test's window is tested now.
        std::string rest = notFound_.End();
        if (notFound_.NotFound()) return NotFoundOnServer();
        if (!Write(rest)) return Finish(DownloadStatus::Failed, tooLong_ ? "more bytes than expected" : "the file could not be written");
        Redraw();
        Finish(DownloadStatus::Complete, {});
    }

    void NotFoundOnServer() {
        const std::string why = refusedStatus_ == 404 || transfer_->Status() == 404
                                    ? "The server " + Host() + " answered " + StatusText(404) + " for " + File() + "."
                                    : "The server " + Host() + " answered that " + File() + " is not there.";
        ShowError("Auto Update Error: File not found on server|" + why);
        Finish(DownloadStatus::NotFound, "not found on the server");
    }

    // A failure in words: the program's error text, then the server and the cause.
    void Fail(int errorNumber, const std::string& why, std::string detail) {
        ShowError("Auto Update Error: " + InternetErrorText(errorNumber) + "|" + why);
        Finish(DownloadStatus::Failed, std::move(detail));
    }

    void Failed() {
        const int number = InternetErrorOf(transfer_->Code());
        std::string why;
        switch (number) {
        case 12007: why = "The update server " + Host() + " could not be found."; break;
        case 12029: why = "The update server " + Host() + " could not be reached."; break;
        case 12002: why = "The update server " + Host() + " stopped answering."; break;
        case 12030:
        case 12031: why = "The connection to " + Host() + " was cut before " + File() + " had arrived whole."; break;
        case 12045: why = "The identity of the update server " + Host() + " could not be checked."; break;
        case 12006: why = "The server " + Host() + " sent " + File() + " on to an address the program does not fetch."; break;
        case 12156: why = "The server " + Host() + " sent " + File() + " on through too many other addresses."; break;
        case 12152: why = "The server " + Host() + " did not answer as a web server does for " + File() + "."; break;
        case 12005: why = "The update server's address " + url_ + " is not a valid address."; break;
        default: why = "The download of " + File() + " from " + Host() + " failed (" + transfer_->Detail() + ")."; break;
        }
        ShowError("Auto Update Error: " + InternetErrorText(number) + "|" + why);
        Finish(DownloadStatus::Failed, transfer_->Detail());
    }

    // The server's name and the file's, from the address.
    std::string Host() const {
        std::string rest = url_;
        const std::size_t scheme = rest.find("://");
        if (scheme != std::string::npos) rest.erase(0, scheme + 3);
        rest = rest.substr(0, rest.find_first_of("/?#"));
        const std::size_t at = rest.rfind('@');
        if (at != std::string::npos) rest.erase(0, at + 1);
        if (!rest.empty() && rest.front() == '[') return rest.substr(1, rest.find(']') - 1);
        return rest.substr(0, rest.find(':'));
    }
    std::string File() const {
        std::string path = url_.substr(0, url_.find_first_of("?#"));
        const std::size_t scheme = path.find("://");
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || (scheme != std::string::npos && slash < scheme + 3)) return "the update file";
        std::string name = path.substr(slash + 1);
        return name.empty() ? "the update file" : name;
    }
    std::string StatusText(long status) const {
        std::string reason = transfer_ && transfer_->Status() == status ? transfer_->Reason() : std::string();
        if (reason.empty()) {
            static const std::map<long, const char*> reasons = {
                {400, "Bad Request"}, {401, "Unauthorized"}, {403, "Forbidden"}, {404, "Not Found"},
                {410, "Gone"}, {500, "Internal Server Error"}, {502, "Bad Gateway"},
                {503, "Service Unavailable"}, {504, "Gateway Timeout"}};
            auto it = reasons.find(status);
            if (it != reasons.end()) reason = it->second;
        }
        return std::to_string(status) + (reason.empty() ? "" : " " + reason);
    }

    void Cancel() {
        if (done_) return;
        if (transfer_) transfer_->Cancel();
        Finish(DownloadStatus::Cancelled, "cancelled");
    }

    void Finish(DownloadStatus status, std::string detail) {
        report_.status = status;
        report_.detail = std::move(detail);
        done_ = true;
    }

    void Redraw() {
        drawn_.start();
        DownloadFigures f = ComputeDownloadFigures(received_, expected_, clock_.isValid() ? clock_.elapsed() : 0);
        elapsedText_ = f.elapsedText;
        remainingText_ = f.remainingText;
        bytesText_ = f.bytesText;
        speedText_ = f.speedText;
        // The bar and the percentage stop once they have shown 100.
        if (percentShown_ < 100 && f.percent != percentShown_) {
            percentShown_ = f.percent;
            percentText_ = f.percentText;
        }
        fw::DISPLAY();
    }

    void ShowError(const std::string& text) {
        if (options_.showErrors) fw::MESSAGE(text, "AutoUpdate Error", fw::Icon::Hand, fw::Button::Ok);
    }

    void Animate() {
        iconFrame_ = iconFrame_ % 4 + 1;
        fw::SetProp("?IMAGE1", fw::Prop::Text, "~update" + std::to_string(iconFrame_) + ".ico");
    }

    void Close() {
        transfer_.reset();
        if (fd_ >= 0) {
            ::fsync(fd_);
            if (::close(fd_) != 0 && report_.status == DownloadStatus::Complete) {
                report_.status = DownloadStatus::Failed;
                report_.detail = "the file could not be closed";
            }
            fd_ = -1;
        }
        report_.bytes = received_;
    }

    std::string url_, destination_;
    DownloadOptions options_;
    fw::Window window_;
    std::unique_ptr<fw::HttpTransfer> transfer_;
    int fd_ = -1;
    std::int64_t expected_ = 0;
    bool convert_ = false;
    bool statusChecked_ = false;
    bool writeFailed_ = false;
    bool tooLong_ = false;
    bool done_ = false;
    DownloadStatus refused_ = DownloadStatus::Complete;
    long refusedStatus_ = 0;
    NotFoundTest notFound_;
    LineEndConverter converter_;
    std::string converted_;
    std::uint64_t received_ = 0;
    QElapsedTimer clock_, drawn_;
    int iconFrame_ = 1;
    DownloadReport report_;
    // What the window shows.
    std::string elapsedText_, remainingText_, bytesText_, percentText_, speedText_;
    int percentShown_ = 0;
};

}  // namespace

DownloadReport DownloadFileReport(std::string_view url, std::string_view destination, DownloadOptions options) {
    Download download{std::string(url), std::string(destination), options};
    return download.Run();
}

long DownloadFile(std::string_view url, std::string_view destination) {
    return static_cast<long>(DownloadFileReport(url, destination).bytes);
}

void SetDownloadCaFile(std::string path) { CaFile() = std::move(path); }

std::string InternetErrorText(int errorNumber) {
    static const std::map<int, const char*> texts = {
        {12001, "Out of handles"},
        {12002, "Timeout"},
        {12004, "Internal Error"},
        {12005, "Invalid URL"},
        {12006, "Unrecognized Scheme : Please check the URL name"},
        {12007, "Service Name Not Resolved"},
        {12008, "Protocol Not Found"},
        {12013, "Incorrect User Name"},
        {12014, "Incorrect Password"},
        {12015, "Login Failure"},
        {12016, "Invalid Operation"},
        {12017, "Operation Canceled"},
        {12020, "Not Proxy Request"},
        {12023, "No Direct Access"},
        {12026, "Request Pending"},
        {12027, "Incorrect Format"},
        {12028, "Item not found"},
        {12029, "Cannot connect"},
        {12030, "Connection Aborted"},
        {12031, "Connection Reset"},
        {12033, "Invalid Proxy Request"},
        {12034, "Need UI"},
        {12037, "Sec Cert Date Invalid"},
        {12038, "Sec Cert CN Invalid"},
        {12044, "Client Auth Cert Needed"},
        {12045, "Invalid CA Cert"},
        {12046, "Client Auth Not Setup"},
        {12150, "HTTP Header Not Found"},
        {12152, "Invalid HTTP Server Response"},
        {12153, "Invalid HTTP Header"},
        {12154, "Invalid Query Request"},
        {12156, "Redirect Failed"},
        {12159, "TCP/IP not installed"},
    };
    auto it = texts.find(errorNumber);
    return it == texts.end() ? "Unknown Error" : it->second;
}

int InternetErrorOf(int curlCode) {
    switch (curlCode) {
    case CURLE_URL_MALFORMAT: return 12005;
    case CURLE_UNSUPPORTED_PROTOCOL: return 12006;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return 12007;
    case CURLE_COULDNT_CONNECT: return 12029;
    case CURLE_OPERATION_TIMEDOUT: return 12002;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR: return 12031;
    case CURLE_PARTIAL_FILE: return 12030;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING: return 12152;
    case CURLE_TOO_MANY_REDIRECTS: return 12156;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE: return 12045;
    case CURLE_LOGIN_DENIED: return 12015;
    case CURLE_ABORTED_BY_CALLBACK: return 12017;
    case CURLE_OUT_OF_MEMORY:
    case CURLE_FAILED_INIT: return 12004;
    default: return 0;
    }
}

}  // namespace exchange
