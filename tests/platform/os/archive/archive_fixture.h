#pragma once
// Small helpers for the archive tests: a temporary folder, files in it,
// zip archives made and read with libzip directly.

#include "platform/os/archive/archive.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace archive_test {

namespace fs = std::filesystem;

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every file under `folder` (recursively) with its bytes; folders as "<dir>".
inline std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string rel = fs::relative(e.path(), folder).string();
        out[rel] = e.is_directory() ? "<dir>" : ReadFile(e.path());
    }
    return out;
}

// Bytes that are not text: every value 0..255, repeated.
inline std::string Binary(size_t size, unsigned seed) {
    std::string s(size, '\0');
    unsigned x = seed;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

struct Entry {
    std::string name;  // raw bytes as stored
    std::string data;
    bool store = false;  // uncompressed
};

// A zip archive made by libzip itself, with raw entry names.
inline void MakeZip(const fs::path& path, const std::vector<Entry>& entries, const std::string& comment = "") {
    int code = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(z, nullptr);
    for (const Entry& e : entries) {
        zip_source_t* src = zip_source_buffer(z, e.data.data(), e.data.size(), 0);
        const zip_int64_t i = zip_file_add(z, e.name.c_str(), src, ZIP_FL_ENC_GUESS);
        ASSERT_GE(i, 0) << zip_strerror(z);
        if (e.store) zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    if (!comment.empty()) zip_set_archive_comment(z, comment.data(), static_cast<zip_uint16_t>(comment.size()));
    ASSERT_EQ(zip_close(z), 0) << zip_strerror(z);
}

// The entries of an archive, raw names with their data, in order.
inline std::vector<std::pair<std::string, std::string>> ZipContents(const fs::path& path, std::string* comment = nullptr) {
    std::vector<std::pair<std::string, std::string>> out;
    int code = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    EXPECT_NE(z, nullptr) << "not a valid zip: " << path;
    if (!z) return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        EXPECT_EQ(zip_fread(f, data.data(), data.size()), static_cast<zip_int64_t>(data.size()));
        zip_fclose(f);
        out.emplace_back(zip_get_name(z, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW), data);
    }
    if (comment) {
        int len = 0;
        const char* c = zip_get_archive_comment(z, &len, ZIP_FL_ENC_RAW);
        *comment = c ? std::string(c, static_cast<size_t>(len)) : "";
    }
    zip_discard(z);
    return out;
}

// A backup in the program's order of calls; the first failing status.
inline short Backup(const fs::path& archive, const std::vector<std::pair<fs::path, std::string>>& files,
                    const std::string& comment) {
    short s = fs::exists(archive) ? fw::zOpenZipFile(archive.string()) : fw::zCreateNewZip(archive.string());
    if (s != 0) return s;
    for (const auto& [path, name] : files)
        if ((s = fw::zOrderFile(path.string(), name, 0)) != 0) return s;
    if ((s = fw::zCompressFiles("", "", 3, 0, 0, comment, 0)) != 0) return s;
    return fw::zCloseZipFile();
}

// A restore in the program's order of calls into `folder`.
inline short Restore(const fs::path& archive, const fs::path& folder) {
    short s = fw::zOpenZipFile(archive.string());
    if (s != 0) return s;
    if ((s = fw::zExtractAll(folder.string() + "\\", "", 1, 0, 0, 0, 0)) != 0) return s;
    return fw::zCloseZipFile();
}

// A temporary folder with `books` (the book folder), `backup` and `restore`.
class ArchiveTest : public ::testing::Test {
public:
    void SetUp() override {
        fw::zCloseZipFile();  // no archive left current by an earlier test
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString();
        fs::create_directory(books());
        fs::create_directory(backup());
        fs::create_directory(restore());
    }
    fs::path root() const { return root_; }
    fs::path books() const { return root_ / "books"; }
    fs::path backup() const { return root_ / "backup"; }
    fs::path restore() const { return root_ / "restore"; }

private:
    QTemporaryDir dir_;
    fs::path root_;
};

}  // namespace archive_test
