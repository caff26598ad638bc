#pragma once
// An HTTP server on 127.0.0.1 (a port the system picks) inside the test
// process, serving what each test puts on its paths: bytes, a status, a
// body cut short, a trickle, a redirect. It counts the requests it answers.

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
    LoopbackServer() : owned_(std::make_unique<httplib::Server>()), server_(*owned_) { Listen(); }
    // An https server with this certificate and key (PEM files).
    LoopbackServer(const std::string& cert, const std::string& key)
        : owned_(std::make_unique<httplib::SSLServer>(cert.c_str(), key.c_str())), server_(*owned_), tls_(true) {
        Listen();
    }
    ~LoopbackServer() {
        stopping_ = true;
        server_.stop();
        thread_.join();
    }
    std::string Url(const std::string& path) const {
        return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
    }

    void Serve(const std::string& path, std::string body, int status = 200, std::string type = "application/octet-stream") {
        server_.Get(path, [this, body = std::move(body), status, type](const httplib::Request&, httplib::Response& res) {
            Count();
            res.status = status;
            res.set_content(body, type.c_str());
        });
    }
    // Announces `announced` bytes, sends the first `sent` of body, then drops the connection.
    void ServeCut(const std::string& path, std::string body, std::size_t sent) {
        server_.Get(path, [this, body = std::move(body), sent](const httplib::Request&, httplib::Response& res) {
            Count();
            res.set_content_provider(body.size(), "application/octet-stream",
                                     [body, sent](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         if (offset >= sent) return false;
                                         sink.write(body.data() + offset, sent - offset);
                                         return true;
                                     });
        });
    }
    // The body in chunked transfer encoding (no Content-Length).
    void ServeChunked(const std::string& path, std::string body) {
        server_.Get(path, [this, body = std::move(body)](const httplib::Request&, httplib::Response& res) {
            Count();
            res.set_chunked_content_provider("application/octet-stream", [body](std::size_t offset, httplib::DataSink& sink) {
                if (offset < body.size()) sink.write(body.data() + offset, body.size() - offset);
                else sink.done();
                return true;
            });
        });
    }
    // A few bytes every `everyMs` milliseconds until the client goes or the server stops.
    void ServeTrickle(const std::string& path, int everyMs) {
        server_.Get(path, [this, everyMs](const httplib::Request&, httplib::Response& res) {
            Count();
            res.set_chunked_content_provider("application/octet-stream", [this, everyMs](std::size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
                if (stopping_ || !sink.is_writable()) return false;
                return sink.write("trickle\n", 8);
            });
        });
    }
    void Redirect(const std::string& path, const std::string& location) {
        server_.Get(path, [this, location](const httplib::Request&, httplib::Response& res) {
            Count();
            res.set_redirect(location);
        });
    }
    int Requests() const { return requests_; }

private:
    void Listen() {
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // A stop before the loop runs would be lost and the join would wait for ever.
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Count() { ++requests_; }
    std::unique_ptr<httplib::Server> owned_;
    httplib::Server& server_;
    bool tls_ = false;
    std::thread thread_;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::atomic<bool> stopping_{false};
};

// Answers every request on 127.0.0.1 with the same raw bytes and closes
// the connection: for answers no server library would send (headers cut
// short, two lengths, a body that only the close ends).
class RawHttpServer {
public:
    explicit RawHttpServer(std::string answer) : answer_(std::move(answer)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 8);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Loop(); });
    }
    ~RawHttpServer() {
        stopping_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int Requests() const { return requests_; }

private:
    void Loop() {
        while (!stopping_) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0) {
                if (stopping_) return;
                continue;
            }
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::read(c, buf, sizeof buf);
                if (n <= 0) break;
                request.append(buf, static_cast<std::size_t>(n));
            }
            ++requests_;
            for (std::size_t done = 0; done < answer_.size();) {
                const ssize_t n = ::send(c, answer_.data() + done, answer_.size() - done, MSG_NOSIGNAL);
                if (n <= 0) break;
                done += static_cast<std::size_t>(n);
            }
            ::shutdown(c, SHUT_WR);
            while (::read(c, buf, sizeof buf) > 0) {
            }
            ::close(c);
        }
    }
    std::string answer_;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<int> requests_{0};
    std::atomic<bool> stopping_{false};
};
