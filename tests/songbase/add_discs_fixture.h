#pragma once
// A Main SongBase and song books in a temporary folder for the add-discs
// tests, written through the data layer, with the program's data layer
// connected and beeps counted.

#include "platform/ui/testing/gtest_driver.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace add_discs_test {

struct Brand {
    std::int32_t id;
    std::string name;
};
struct MfrDiscRow {
    std::int32_t brand;
    std::string diskId;  // as printed
    std::string unq;
};
struct TrackRow {
    std::string unq;
    std::uint16_t track;
    std::string title;
    std::string artist = "Artist";
    std::int32_t brand = 1;
};
struct BookDisc {
    std::string unq;
    std::string alt;
    std::int32_t makeId = 1;
};
struct BookListing {
    std::string unq;
    std::uint32_t track;
    std::string title;
};

class AddDiscsFolder : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    std::string Folder() const { return dir_.path().toStdString(); }
    std::string Path(const std::string& name) const { return Folder() + "/" + name; }

    // The Main SongBase's brands, discs, tracks and genres.
    void MakeSongBase(const std::vector<Brand>& brands, const std::vector<MfrDiscRow>& discs,
                      const std::vector<TrackRow>& tracks, const std::vector<std::string>& genres = {});
    // A book of the current format, left closed, its names not set.
    void MakeBook(const std::string& base, const std::vector<BookDisc>& discs, const std::vector<BookListing>& listings);
    // SongBookName and SBDiscsName on that book.
    void UseBook(const std::string& base);
    // The book's discs in disc-ID order as "unq/alt/makeId/makeType", and its
    // listings in disc and track order as "unq/track/title/artist/genre/makeId/date".
    std::vector<std::string> Discs(const std::string& base);
    std::vector<std::string> Listings(const std::string& base);

    // SQL on one of the folder's files through a connection of its own, as
    // another copy of the program would write it.
    void Sql(const std::string& file, const std::string& sql) const;

    int beeps = 0;

private:
    QTemporaryDir dir_;
};

}  // namespace add_discs_test
