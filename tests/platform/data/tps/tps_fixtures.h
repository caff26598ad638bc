#pragma once
// Tables the TopSpeed tests, the mutation test, the fuzz seeds and the
// benchmark share.

#include "tests/platform/data/tps/tps_writer.h"

#include <string>

namespace tps_fixture {

// One table with a field of every type, a group, arrays, an overlay and a
// type this reader does not know. Row 1 holds ordinary values, row 2 the
// extremes.
inline TablePlan AllTypesTable() {
    TablePlan t;
    t.number = 1;
    t.name = "ALLTYPES";
    t.recordLength = 92;
    t.fields = {
        {BYTE, "ALL:BYTE", 0, 1},
        {SHORT, "ALL:SHORT", 1, 2},
        {USHORT, "ALL:USHORT", 3, 2},
        {LONG, "ALL:LONG", 5, 4},
        {ULONG, "ALL:ULONG", 9, 4},
        {DATE, "ALL:DATE", 13, 4},
        {TIME, "ALL:TIME", 17, 4},
        {SREAL, "ALL:SREAL", 21, 4},
        {REAL, "ALL:REAL", 25, 8},
        {DECIMAL, "ALL:DECIMAL", 33, 4, 1, 2},
        {STRING, "ALL:STRING", 37, 10},
        {CSTRING, "ALL:CSTRING", 47, 8},
        {PSTRING, "ALL:PSTRING", 55, 8, 1, 0, "@s7"},
        {GROUP, "ALL:GROUP", 63, 6},
        {STRING, "ALL:G_CODE", 63, 2},
        {LONG, "ALL:G_NUMBER", 65, 4},
        {LONG, "ALL:LONGS", 69, 12, 3},
        {STRING, "ALL:NAMES", 81, 8, 2},
        {USHORT, "ALL:OVERLAY", 3, 2, 1, 0, "", 1},
        {0x33, "ALL:ODD", 89, 3},
    };
    t.keys = {{"ALL:KSTRING", {10}}, {"ALL:KSHORT", {1}}};
    Row r1(92);
    r1.U8(0, 200).Le16(1, 0xFFFB).Le16(3, 65535).Le32(5, 0xFFFE7960).Le32(9, 4000000000u)
        .Date(13, 2024, 2, 29).Time(17, 23, 59, 58, 99).SReal(21, 1.5f).Real(25, -2.25)
        .Bytes(33, std::string("\x00\x01\x23\x45", 4)).Text(37, 10, "Padded").Bytes(47, std::string("abc\0zzzz", 8))
        .Bytes(55, "\x03heyxxxx").Text(63, 2, "GB").Le32(65, 44).Le32(69, 1).Le32(73, 2).Le32(77, 0xFFFFFFFF)
        .Text(81, 4, "ab").Text(85, 4, "cdef").Bytes(89, "\x01\x02\x03");
    Row r2(92);
    r2.Le16(1, 0x8000).Le32(5, 0x80000000u).Le32(9, 0xFFFFFFFFu).Time(17, 0, 0, 0, 1)
        .Bytes(33, std::string("\xF0\x00\x00\x05", 4)).Text(37, 10, "").Bytes(47, "12345678").Bytes(55, "\x07seven!!")
        .Text(63, 2, "").Text(81, 8, "");
    t.rows = {{1, r1}, {2, r2}};
    return t;
}

// A table shaped like the song base's track file: title, artist, disc
// number, track number, brand number, unique disc ID (111 bytes).
inline TablePlan TrackTable(std::uint32_t number, std::string name) {
    TablePlan t;
    t.number = number;
    t.name = std::move(name);
    t.recordLength = 111;
    t.fields = {
        {STRING, "KAR:Title", 0, 40},      {STRING, "KAR:Artist", 40, 40},     {STRING, "KAR:DISKID", 80, 10},
        {USHORT, "KAR:DiskTrackNo", 90, 2}, {LONG, "KAR:MAKEID", 92, 4},       {STRING, "KAR:UnqDiskID", 96, 15},
    };
    t.keys = {{"KAR:KTITLE", {0}}, {"KAR:KUNQDISKID", {5}}, {"KAR:KARTIST", {1}}, {"KAR:KDISK", {5, 3}},
              {"KAR:KMAKE", {4}}};
    return t;
}

inline std::string TrackRow(std::string_view title, std::string_view artist, std::string_view disc, unsigned track,
                            std::int32_t make, std::string_view unique) {
    return Row(111)
        .Text(0, 40, title)
        .Text(40, 40, artist)
        .Text(80, 10, disc)
        .Le16(90, track)
        .Le32(92, std::uint32_t(make))
        .Text(96, 15, unique);
}

// `n` invented tracks, record numbers 1..n.
inline TablePlan TrackTableOf(std::uint32_t number, std::string name, int n) {
    TablePlan t = TrackTable(number, std::move(name));
    for (int i = 1; i <= n; ++i) {
        const std::string disc = "SC" + std::to_string(1000 + i / 15);
        t.rows.emplace_back(std::uint32_t(i), TrackRow("Song number " + std::to_string(i), "Artist " + std::to_string(i % 97),
                                                       disc, unsigned(i % 15 + 1), i % 40, disc));
    }
    return t;
}

// A table with a text memo and a BLOB.
inline TablePlan MemoTable() {
    TablePlan t;
    t.number = 5;
    t.name = "NOTES";
    t.recordLength = 4;
    t.fields = {{LONG, "NOT:ID", 0, 4}};
    t.memos = {{"NOT:TEXT"}, {"NOT:PICTURE", true}};
    for (std::uint32_t i = 1; i <= 3; ++i) t.rows.emplace_back(i, Row(4).Le32(0, i * 10));
    std::string text;
    for (int i = 0; i < 19; ++i) text += "line " + std::to_string(i) + "\n";
    t.memoValues = {
        {1, 0, text, 16, -1, -1, true},
        {1, 1, std::string("\x89PNG\0\x01\x02", 7), 3},
        {2, 0, "short note"},
    };
    return t;
}

}  // namespace tps_fixture
