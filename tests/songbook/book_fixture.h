#pragma once
// Book folders for the book service tests: small books made by the data
// layer in temporary folders, the folders' contents byte for
// byte, and file operations that fail on demand.

#include "platform/config/config_folder.h"
#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbook.h"
#include "songbook/book_file_steps.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace book_test {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A small book file made by the data layer: the listings file's (or, for a
// .2bd or .sbd name, the discs file's) declaration, with a few rows whose
// first text field says which file it is.
inline void MakeDatabase(const fs::path& path, const std::string& tag, int rows = 3) {
    fs::remove(path);
    const std::string ext = fw::UpperText(path.extension().string());
    const bool discs = ext == ".2BD" || ext == ".SBD";
    fw::FileDecl decl = shell::FileDeclOf(discs ? shell::SBDiscsFile() : shell::SongBookFile());
    decl.name = fw::FixedName(fw::Utf8ToAnsi(path.string()));
    decl.thread = false;
    fw::File f(std::move(decl));
    fw::CREATE(f);
    fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR() << " " << path;
    fw::STREAM(f);
    for (int i = 1; i <= rows; ++i) {
        fw::ClearRecord(f.Buffer(), f.Record());
        const std::string text = tag + " " + std::to_string(i);
        if (discs) f.Rec<shell::SBDiscsRec>().UNQDISKID = text;
        else f.Rec<shell::SongBookRec>().Title = text;
        fw::ADD(f);
        EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    fw::FLUSH(f);
    fw::CLOSE(f);
}

// The rows of a file made by MakeDatabase, one line each.
inline std::string Rows(const fs::path& path) {
    sqlite3* db = nullptr;
    std::string out;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM records ORDER BY _id", -1, &stmt, nullptr), SQLITE_OK) << path;
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        out += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))) + "\n";
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

// Every file under `folder`, recursively, with its bytes; folders as "<dir>".
inline Files Contents(const fs::path& folder) {
    Files out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        out[fs::relative(e.path(), folder).string()] = e.is_directory() ? "<dir>" : ReadFile(e.path());
    return out;
}

// The rows of every database file directly in `folder`, by file name: what
// a copy through SQLite keeps (its header counters may differ).
inline Files RowsIn(const fs::path& folder) {
    Files out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) out[e.path().filename().string()] = Rows(e.path());
    return out;
}

// Replaces the book file operations while it lives; `fails` picks the calls
// that fail (with EIO) by operation name ("rename", "copy", "remove") and paths.
class FailingOps {
public:
    using Rule = std::function<bool(const std::string& op, const std::string& from, const std::string& to)>;
    explicit FailingOps(Rule fails) : fails_(std::move(fails)) {
        const songbook::BookFileOps real = songbook::RealBookFileOps();
        songbook::SetBookFileOps({
            [this, real](const std::string& f, const std::string& t) { return Fails("rename", f, t) ? EIO : real.rename(f, t); },
            [this, real](const std::string& f, const std::string& t) { return Fails("copy", f, t) ? EIO : real.copy(f, t); },
            [this, real](const std::string& p) { return Fails("remove", p, "") ? EIO : real.remove(p); },
        });
    }
    ~FailingOps() { songbook::SetBookFileOps(); }
    int failures() const { return failures_; }

private:
    bool Fails(const std::string& op, const std::string& from, const std::string& to) {
        if (!fails_(op, from, to)) return false;
        ++failures_;
        return true;
    }
    Rule fails_;
    int failures_ = 0;
};

inline bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A temporary root with the folders `books` and `other`.
class BookFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString();
        fs::create_directory(books());
        fs::create_directory(other());
        fw::SetConfigFolder((root_ / "config").string());
    }
    void TearDown() override { fw::SetConfigFolder(""); }
    fs::path root() const { return root_; }
    fs::path books() const { return root_ / "books"; }
    fs::path other() const { return root_ / "other"; }

    // A book of two small databases; an empty discs name makes none.
    void MakeBook(const fs::path& folder, const std::string& listings, const std::string& discs) {
        MakeDatabase(folder / listings, listings);
        if (!discs.empty()) MakeDatabase(folder / discs, discs);
    }

private:
    QTemporaryDir dir_;
    fs::path root_;
};

}  // namespace book_test
