#pragma once
// Holds on data files that other processes can see. The data layer holds a
// shared hold on every file it has open, for as long as it is open; an
// operation that replaces, moves or removes a file takes the exclusive hold
// first, so it never works on a file any process has open, and no process
// opens the file while the operation runs.
//
// The holds are flock() locks on the file itself, which SQLite's own locks
// (fcntl byte ranges) do not meet. Paths are names on disk.

#include <string>

namespace fw::data {

class FileUse {
public:
    enum Kind { Shared, Exclusive };

    FileUse() = default;
    ~FileUse() { Release(); }
    FileUse(const FileUse&) = delete;
    FileUse& operator=(const FileUse&) = delete;
    FileUse(FileUse&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileUse& operator=(FileUse&& other) noexcept;

    // Takes the hold, waiting up to waitMs for a holder of the other kind.
    // False, with errno set (EWOULDBLOCK: held by another), when it cannot.
    bool Take(const std::string& diskPath, Kind kind, int waitMs = 0);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// True when any process (this one included) has the file open through the
// data layer, or an operation on it is under way.
bool IsFileInUse(const std::string& diskPath);

}  // namespace fw::data
