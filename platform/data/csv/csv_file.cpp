#include "platform/data/csv/csv_file.h"

#include "platform/data/csv/csv_format.h"
#include "platform/data/names/file_errors.h"
#include "platform/data/names/plain_files.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fw {
namespace {
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kWriteChunk = 64 * 1024;
}  // namespace

// Buffered reads at explicit offsets, so appends at the end never disturb them.
class CsvFile::Reader {
public:
    explicit Reader(int fd) : fd_(fd), buf_(kReadChunk) {}
    void Seek(std::uint64_t offset) {
        if (offset >= start_ && offset <= start_ + len_) {
            pos_ = static_cast<std::size_t>(offset - start_);
        } else {
            start_ = offset;
            pos_ = len_ = 0;
        }
    }
    std::uint64_t Tell() const { return start_ + pos_; }
    int Peek() {
        if (pos_ == len_ && !Fill()) return -1;
        return static_cast<unsigned char>(buf_[pos_]);
    }
    int Get() {
        const int c = Peek();
        if (c >= 0) ++pos_;
        return c;
    }
    int Error() const { return error_; }

private:
    bool Fill() {
        start_ += len_;
        pos_ = len_ = 0;
        ssize_t n;
        do n = pread(fd_, buf_.data(), buf_.size(), static_cast<off_t>(start_));
        while (n < 0 && errno == EINTR);
        error_ = n < 0 ? errno : 0;
        if (n <= 0) return false;
        len_ = static_cast<std::size_t>(n);
        return true;
    }
    int fd_;
    std::vector<char> buf_;
    std::uint64_t start_ = 0;
    std::size_t pos_ = 0, len_ = 0;
    int error_ = 0;
};

namespace {
csv::TextEncoding EncodingOf(unsigned attributes) {
    if (attributes & kCsvUtf8) return csv::TextEncoding::Utf8;
    if (attributes & kCsvOem) return csv::TextEncoding::Oem;
    return csv::TextEncoding::Ansi;
}
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
}  // namespace

bool StartsWithUtf8Mark(const std::string& name) {
    if (BlankFileName(name)) return false;
    const int fd = open(ResolvePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char head[3] = {};
    const bool marked = pread(fd, head, 3, 0) == 3 && std::memcmp(head, kUtf8Mark, 3) == 0;
    close(fd);
    return marked;
}

CsvFile::CsvFile(const RecordDecl& decl, void* record, unsigned attributes)
    : decl_(decl), record_(record), attributes_(attributes) {}

CsvFile::~CsvFile() {
    if (IsOpen()) {
        Flush();
        close(fd_);
    }
}

bool CsvFile::CheckOpen() {
    if (IsOpen()) return true;
    SetError(NotOpenErr);
    return false;
}

bool CsvFile::Flush() {
    if (pending_.empty()) return true;
    if (!checkedEnding_) {
        // A last line without its line end gets one, so the first new record starts a line.
        checkedEnding_ = true;
        struct stat st;
        char last = '\n';
        if (fstat(fd_, &st) == 0 && st.st_size > 0 && pread(fd_, &last, 1, st.st_size - 1) == 1 && last != '\n')
            pending_.insert(0, "\r\n");
    }
    std::size_t done = 0;
    while (done < pending_.size()) {
        const ssize_t n = write(fd_, pending_.data() + done, pending_.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            pending_.clear();
            SetSystemError(err, path_);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    pending_.clear();
    wrote_ = true;
    return true;
}

void CsvFile::Create() {
    if (IsOpen()) return SetError(IsOpenErr);
    CreateEmptyFile(name);
}

void CsvFile::Open(int mode) {
    if (IsOpen()) return SetError(IsOpenErr);
    if (BlankFileName(name)) return SetError(BadKeyErr);
    const std::string native = ResolvePath(name);
    readOnly_ = (mode & 0x0F) == 0;
    const int fd = open(native.c_str(), (readOnly_ ? O_RDONLY : O_RDWR | O_APPEND) | O_CLOEXEC);
    if (fd < 0) return SetSystemError(errno, native);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return SetError(NoAccessErr);
    }
    fd_ = fd;
    std::error_code ec;
    path_ = std::filesystem::absolute(native, ec).lexically_normal().string();
    reader_ = std::make_unique<Reader>(fd_);
    starts_.clear();
    pending_.clear();
    checkedEnding_ = false;
    wrote_ = false;
    errorLine_ = 0;
    dataStart_ = 0;
    if ((attributes_ & kCsvUtf8) && reader_->Get() == 0xEF && reader_->Get() == 0xBB && reader_->Get() == 0xBF)
        dataStart_ = 3;
    SeekTo({dataStart_, 1}, 1);
    ClearError();
}

void CsvFile::Close() {
    if (!IsOpen()) return ClearError();
    bool flushed = Flush();
    int syncError = 0;
    if (flushed && wrote_ && fsync(fd_) != 0) {
        syncError = errno;
        flushed = false;
    }
    const int rc = close(fd_);
    const int err = errno;
    fd_ = -1;
    reader_.reset();
    if (syncError) return SetSystemError(syncError, path_);
    if (!flushed) return;  // the write error stays reported
    if (rc != 0) return SetSystemError(err, path_);
    ClearError();
}

void CsvFile::Append() {
    if (!CheckOpen()) return;
    if (readOnly_) return SetError(NoAccessErr);
    unstorable_.clear();
    csv::FormatRecord(decl_, record_, EncodingOf(attributes_), pending_, unstorable_);
    if (pending_.size() >= kWriteChunk && !Flush()) return;
    ClearError();
}

void CsvFile::SeekTo(Mark m, long recordNumber) {
    reader_->Seek(m.offset);
    line_ = m.line;
    next_ = recordNumber;
}

void CsvFile::Set() {
    if (!CheckOpen()) return;
    if (!Flush()) return;
    SeekTo({dataStart_, 1}, 1);
    ClearError();
}

// Splits the next record into fields_. On a problem the reader is left at
// the start of the following line.
CsvFile::Parsed CsvFile::ParseNext(std::string& problem, long& startLine) {
    Reader& r = *reader_;
    fields_.clear();
    startLine = line_;
    if (r.Peek() < 0) return Parsed::End;
    auto fail = [&](const char* why) {
        problem = why;
        for (int c = r.Get(); c >= 0; c = r.Get())
            if (c == '\n') {
                ++line_;
                break;
            }
        return Parsed::Error;
    };
    while (true) {
        fields_.emplace_back();
        std::string& f = fields_.back();
        int c;
        while ((c = r.Peek()) == ' ' || c == '\t') f.push_back(static_cast<char>(r.Get()));
        if (c == '"') {
            f.clear();  // blanks before a quoted text are not part of it
            r.Get();
            while (true) {
                c = r.Get();
                if (c < 0) {
                    problem = "a quoted text is not closed";
                    return Parsed::Error;
                }
                if (c == '"') {
                    if (r.Peek() != '"') break;
                    r.Get();
                } else if (c == '\n') {
                    ++line_;
                }
                f.push_back(static_cast<char>(c));
            }
            while ((c = r.Peek()) == ' ' || c == '\t') r.Get();
            if (c >= 0 && c != ',' && c != '\r' && c != '\n') return fail("text follows a closing quote");
        } else {
            while ((c = r.Peek()) >= 0 && c != ',' && c != '\r' && c != '\n') {
                if (c == '"') return fail("a quote inside unquoted text");
                f.push_back(static_cast<char>(r.Get()));
            }
        }
        c = r.Get();
        if (c == ',') continue;
        if (c < 0) {
            if (r.Error()) {
                problem = "the file cannot be read";
                return Parsed::Error;
            }
            return Parsed::Record;
        }
        if (c == '\r') {
            if (r.Peek() != '\n') return fail("a line ends with CR without LF");
            r.Get();
        }
        ++line_;
        return Parsed::Record;
    }
}

void CsvFile::SkipEmptyLines() {
    if (!(attributes_ & kCsvSkipEmptyLines)) return;
    Reader& r = *reader_;
    for (;;) {
        const int c = r.Peek();
        if (c == '\n') {
            r.Get();
        } else if (c == '\r') {
            const std::uint64_t at = r.Tell();
            r.Get();
            if (r.Peek() != '\n') {  // a lone CR is the parser's to report
                r.Seek(at);
                return;
            }
            r.Get();
        } else {
            return;
        }
        ++line_;
    }
}

bool CsvFile::ReadNext(bool fill) {
    SkipEmptyLines();
    if (reader_->Peek() < 0) {
        if (reader_->Error()) SetSystemError(reader_->Error(), path_);
        else SetError(RecordNotAvailable);
        return false;
    }
    if (static_cast<long>(starts_.size()) == next_ - 1) starts_.push_back({reader_->Tell(), line_});
    std::string problem;
    long startLine = 0;
    const Parsed p = ParseNext(problem, startLine);
    ++next_;
    if (!fill) return p == Parsed::Record;
    unstorable_.clear();
    if (p == Parsed::Record)
        problem = csv::FillRecord(decl_, fields_, EncodingOf(attributes_), (attributes_ & kCsvShortRows) != 0, record_,
                                  unstorable_);
    if (!problem.empty()) {
        errorLine_ = startLine;
        const std::string text = "Read error in line " + std::to_string(startLine) + ": " + problem;
        SetFileError(FileSystemErr, std::to_string(startLine), text);
        SetErrorText(text);
        return false;
    }
    errorLine_ = 0;
    recordLine_ = startLine;
    ClearError();
    return true;
}

void CsvFile::Next() {
    if (!CheckOpen() || !Flush()) return;
    ReadNext(true);
}

void CsvFile::Get(long recordNumber) {
    if (!CheckOpen() || !Flush()) return;
    if (recordNumber < 1) return SetError(BadRecErr);
    if (recordNumber <= static_cast<long>(starts_.size())) {
        SeekTo(starts_[static_cast<std::size_t>(recordNumber - 1)], recordNumber);
    } else {
        // Walk on from the last record whose start is known.
        if (starts_.empty()) SeekTo({dataStart_, 1}, 1);
        else SeekTo(starts_.back(), static_cast<long>(starts_.size()));
        while (next_ < recordNumber) {
            SkipEmptyLines();
            if (reader_->Peek() < 0) return SetError(BadRecErr);
            ReadNext(false);
        }
    }
    SkipEmptyLines();
    if (reader_->Peek() < 0) return SetError(BadRecErr);
    ReadNext(true);
}

long CsvFile::Records() {
    if (!CheckOpen() || !Flush()) return 0;
    // Count on from the last known start; the reading position is kept.
    const Mark here{reader_->Tell(), line_};
    const long hereNext = next_;
    if (starts_.empty()) SeekTo({dataStart_, 1}, 1);
    else SeekTo(starts_.back(), static_cast<long>(starts_.size()));
    for (SkipEmptyLines(); reader_->Peek() >= 0; SkipEmptyLines()) ReadNext(false);
    const long count = static_cast<long>(starts_.size());
    SeekTo(here, hereNext);
    ClearError();
    return count;
}

void CsvFile::Remove() {
    if (BlankFileName(name)) return SetError(BadKeyErr);
    const std::string native = ResolvePath(name);
    if (unlink(native.c_str()) != 0) return SetSystemError(errno, native);
    ClearError();
}

std::string CsvFile::Name() const { return ProgramPathText(IsOpen() ? path_ : ResolvePath(name)); }

void CREATE(CsvFile& f) { f.Create(); }
void OPEN(CsvFile& f, int mode) { f.Open(mode); }
void CLOSE(CsvFile& f) { f.Close(); }
void APPEND(CsvFile& f) { f.Append(); }
void SET(CsvFile& f) { f.Set(); }
void NEXT(CsvFile& f) { f.Next(); }
void GET(CsvFile& f, long recordNumber) { f.Get(recordNumber); }
long RECORDS(CsvFile& f) { return f.Records(); }
void REMOVE(CsvFile& f) { f.Remove(); }
std::string NAME(const CsvFile& f) { return f.Name(); }

}  // namespace fw
