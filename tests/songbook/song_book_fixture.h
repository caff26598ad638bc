#pragma once
// Song books for the song-book window and search tests: made through the
// data layer in a temporary folder, with the checked opens going straight
// to the data layer. The header names no data-layer type, so window tests
// can include it.

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace shell {
class CheckedFileDriver;
}

namespace song_book_test {

struct Disc {
    std::string unq;
    std::string alt;
    std::int32_t makeId = 1;
    std::string makeType;
    bool operator==(const Disc&) const = default;
};
struct Listing {
    std::string title;
    std::string artist;
    std::string unq;
    std::uint32_t track = 1;
    std::string print;  // "X": left out of the printed book
    std::string makeId;
    std::int32_t dateAdded = 0;
    std::string genre;
    std::string duet;
    bool operator==(const Listing&) const = default;
};
void PrintTo(const Disc& d, std::ostream* os);
void PrintTo(const Listing& l, std::ostream* os);

// A temporary folder holding the Main SongBase's names and the books.
class SongBookFolder : public ::testing::Test {
public:
    SongBookFolder();
    ~SongBookFolder() override;
    void SetUp() override;
    void TearDown() override;
    std::string Folder() const { return dir_.path().toStdString(); }
    std::string Path(const std::string& name) const { return Folder() + "/" + name; }

    // A book of the current format: base name, its discs and listings.
    void MakeBook(const std::string& base, const std::vector<Disc>& discs, const std::vector<Listing>& listings);
    // A book's discs in Mfg. disc ID order and its listings in disc and
    // track order, as stored (read through this thread's own instances;
    // the name variables are left as they were).
    std::vector<Disc> BookDiscs(const std::string& base);
    std::vector<Listing> BookListings(const std::string& base);
    // The brand numbers of a book's discs, in record order.
    std::vector<std::int32_t> DiscBrands(const std::string& base);
    // The Main SongBase's brand list with these brand numbers, and its numbers.
    void MakeBrands(const std::vector<std::int32_t>& numbers);
    std::vector<std::int32_t> Brands();
    // SQL on one of the folder's files through a connection of its own (the
    // window's files stay untouched); a query's rows with their columns
    // joined by "/".
    void Sql(const std::string& file, const std::string& sql) const;
    std::vector<std::string> Query(const std::string& file, const std::string& sql) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<shell::CheckedFileDriver> files_;
};

}  // namespace song_book_test
