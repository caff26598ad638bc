#pragma once
// Books of the earlier formats as TopSpeed files, made with the test-only
// writer: an .sbk/.sbd pair (121- and 34-byte records) and a .2bk of the
// older 165-byte layout.

#include "tests/platform/data/tps/tps_writer.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace song_book_test {

struct OlderListing {
    std::string title;
    std::string artist;
    std::string disc;
    std::uint16_t track = 1;
    std::string location;
    int year = 2004, month = 5, day = 17;  // date added
    // The 165-byte layout only.
    std::string genre, duet, print, makeId;
};
struct OlderDisc {
    std::string disc;
    std::int32_t makeId = 1;
    std::string alt;
};

inline std::string SbkFile(const std::vector<OlderListing>& listings) {
    using namespace tps_fixture;
    TablePlan t;
    t.name = "SONGBOOK";
    t.recordLength = 121;
    t.fields = {{STRING, "SBK1:TITLE", 0, 40},    {DATE, "SBK1:DATEADDED", 40, 4},
                {STRING, "SBK1:LOCATION", 44, 20}, {STRING, "SBK1:ARTIST", 64, 40},
                {USHORT, "SBK1:DISKTRACKNO", 104, 2}, {STRING, "SBK1:UNQDISKID", 106, 15}};
    std::uint32_t n = 0;
    for (const OlderListing& l : listings)
        t.rows.emplace_back(++n, Row(121)
                                     .Text(0, 40, l.title)
                                     .Date(40, l.year, l.month, l.day)
                                     .Text(44, 20, l.location)
                                     .Text(64, 40, l.artist)
                                     .Le16(104, l.track)
                                     .Text(106, 15, l.disc));
    return Write({t});
}

inline std::string SbdFile(const std::vector<OlderDisc>& discs) {
    using namespace tps_fixture;
    TablePlan t;
    t.name = "SBDISCS";
    t.recordLength = 34;
    t.fields = {{STRING, "SBD1:UNQDISKID", 0, 15}, {LONG, "SBD1:MAKEID", 15, 4}, {STRING, "SBD1:ALTDISKID", 19, 15}};
    std::uint32_t n = 0;
    for (const OlderDisc& d : discs)
        t.rows.emplace_back(++n, Row(34).Text(0, 15, d.disc).Le32(15, std::uint32_t(d.makeId)).Text(19, 15, d.alt));
    return Write({t});
}

inline std::string Layout165File(const std::vector<OlderListing>& listings) {
    using namespace tps_fixture;
    TablePlan t;
    t.name = "SONGBOOK";
    t.recordLength = 165;
    t.fields = {{STRING, "SB5:TITLE", 0, 40},    {STRING, "SB5:ARTIST", 40, 40},   {STRING, "SB5:UNQDISKID", 80, 15},
                {USHORT, "SB5:DISKTRACKNO", 95, 2}, {STRING, "SB5:GENRE", 97, 40}, {STRING, "SB5:DUET", 137, 1},
                {STRING, "SB5:PRINT", 138, 1},   {DATE, "SB5:DATEADDED", 139, 4}, {STRING, "SB5:LOCATION", 143, 20},
                {STRING, "SB5:MAKEID", 163, 2}};
    std::uint32_t n = 0;
    for (const OlderListing& l : listings)
        t.rows.emplace_back(++n, Row(165)
                                     .Text(0, 40, l.title)
                                     .Text(40, 40, l.artist)
                                     .Text(80, 15, l.disc)
                                     .Le16(95, l.track)
                                     .Text(97, 40, l.genre)
                                     .Text(137, 1, l.duet)
                                     .Text(138, 1, l.print)
                                     .Date(139, l.year, l.month, l.day)
                                     .Text(143, 20, l.location)
                                     .Text(163, 2, l.makeId));
    return Write({t});
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace song_book_test
