#pragma once
// Small SQLite databases made with sqlite3 directly, in a temporary folder.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace snapshot_test {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs sql on the database at path (created when missing).
inline void Exec(const fs::path& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// Every row of a table as text, in rowid order, "a|b\n" per row.
inline std::string Rows(const fs::path& path, const std::string& table) {
    sqlite3* db = nullptr;
    std::string out;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, ("SELECT * FROM " + table + " ORDER BY rowid").c_str(), -1, &stmt, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const unsigned char* t = sqlite3_column_text(stmt, i);
                out += (i ? "|" : "") + std::string(t ? reinterpret_cast<const char*>(t) : "");
            }
            out += "\n";
        }
    } else {
        ADD_FAILURE() << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

// A small database with one table of `rows` rows.
inline void MakeDatabase(const fs::path& path, const std::string& table, int rows, const std::string& tag) {
    std::string sql = "CREATE TABLE " + table + "(id INTEGER PRIMARY KEY, title TEXT);BEGIN;";
    for (int i = 1; i <= rows; ++i)
        sql += "INSERT INTO " + table + "(title) VALUES('" + tag + " song " + std::to_string(i) + "');";
    sql += "COMMIT;";
    Exec(path, sql);
}

// A fresh temporary folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cv-snapshot-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    fs::path root_;
};

}  // namespace snapshot_test
