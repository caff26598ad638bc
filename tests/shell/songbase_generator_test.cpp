#include "tools/songbase_gen/generator/songbase_generator.h"

#include "platform/text/codepage.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace {

using songbase_gen::MemorySongBase;
using songbase_gen::Options;

std::string Key(std::string_view s) {
    std::string k = fw::UpperText(s);
    while (!k.empty() && k.back() == ' ') k.pop_back();
    return k;
}

// Checks every invariant of a generated song base; returns the tracks per disc.
std::vector<int> CheckInvariants(const MemorySongBase& base, const Options& o) {
    std::vector<int> perDisc;
    std::map<int, std::string> brands;  // MakeID -> name
    for (const auto& b : base.brands) {
        EXPECT_FALSE(b.MAKE.Blank());
        EXPECT_TRUE(brands.emplace(b.MakeID, b.MAKE.Str()).second) << "brand number twice: " << b.MakeID;
    }
    EXPECT_EQ(brands.count(1), 1u);  // brand 1 exists: no renumbering of brand 0 needed
    std::set<std::string> codes;
    for (const auto& c : base.brandCodes) {
        EXPECT_EQ(c.MAKEID.Clip().size(), 2u);
        EXPECT_EQ(Key(c.MAKEID.Clip()), c.MAKEID.Str());
        EXPECT_TRUE(codes.insert(c.MAKEID.Str()).second) << c.MAKEID.Str();
    }
    EXPECT_EQ(codes.count("CU"), 1u);

    std::map<std::string, const shell::DiscsRec*> discs;
    for (const auto& d : base.discs) {
        EXPECT_TRUE(discs.emplace(Key(d.UnqDiskID.Clip()), &d).second) << "disc ID twice: " << d.UnqDiskID.Str();
        EXPECT_EQ(brands.count(d.MakeID), 1u) << d.UnqDiskID.Str();
        EXPECT_EQ(codes.count(Key(d.UnqDiskID.Clip().substr(0, 2))), 1u) << d.UnqDiskID.Str();
        EXPECT_FALSE(d.DISKID.Blank());
    }

    // Tracks come disc by disc, numbered from 1, each disc's tracks together.
    std::set<std::string> done;
    std::string current;
    int expectTrack = 0;
    std::set<std::string> titles, artists;
    for (const auto& t : base.tracks) {
        const std::string disc = Key(t.UnqDiskID.Clip());
        if (disc != current) {
            if (!current.empty()) perDisc.push_back(expectTrack - 1);
            EXPECT_TRUE(done.insert(disc).second) << "tracks of " << disc << " not together";
            current = disc;
            expectTrack = 1;
        }
        EXPECT_EQ(t.DiskTrackNo, expectTrack++) << disc;
        auto it = discs.find(disc);
        if (it == discs.end()) {
            ADD_FAILURE() << "track on a missing disc " << disc;
            continue;
        }
        EXPECT_EQ(t.MAKEID, it->second->MakeID);
        EXPECT_EQ(t.DISKID, it->second->DISKID);
        EXPECT_FALSE(t.Title.Blank());
        EXPECT_FALSE(t.Artist.Blank());
        EXPECT_LE(t.Artist.Clip().size(), sizeof(shell::SArtistRec::Artist)) << "artist the search list cannot match";
        titles.insert(Key(t.Title.Clip()));
        artists.insert(Key(t.Artist.Clip()));
    }
    if (!current.empty()) perDisc.push_back(expectTrack - 1);
    EXPECT_EQ(done.size(), discs.size()) << "a disc without tracks";
    for (int n : perDisc) {
        EXPECT_GE(n, o.minTracksPerDisc);
        EXPECT_LE(n, o.maxTracksPerDisc);
    }

    // The search lists hold each distinct title and artist of the tracks once.
    std::set<std::string> listed;
    for (const auto& t : base.titles) EXPECT_TRUE(listed.insert(Key(t.Title.Clip())).second) << t.Title.Str();
    EXPECT_EQ(listed, titles);
    listed.clear();
    for (const auto& a : base.artists) EXPECT_TRUE(listed.insert(Key(a.Artist.Clip())).second) << a.Artist.Str();
    EXPECT_EQ(listed, artists);
    return perDisc;
}

TEST(SongBaseGenerator, DemoSongBaseHasTheDesignedShape) {
    Options o;  // the demo: 40,000 tracks
    MemorySongBase base;
    const auto sum = songbase_gen::Generate(o, base);
    const auto perDisc = CheckInvariants(base, o);

    EXPECT_EQ(sum.tracks, 40000);
    EXPECT_EQ(base.tracks.size(), 40000u);
    EXPECT_EQ(base.brands.size(), 40u);
    EXPECT_EQ(base.brandCodes.size(), 41u);  // with the custom code
    EXPECT_GT(base.discs.size(), 2500u);
    EXPECT_LT(base.discs.size(), 4000u);
    EXPECT_GT(base.genres.size(), 10u);
    EXPECT_GT(base.titles.size(), 5000u);
    EXPECT_GT(base.artists.size(), 1000u);
    EXPECT_EQ(sum.discs, static_cast<int>(base.discs.size()));
    EXPECT_EQ(sum.titles, static_cast<int>(base.titles.size()));
    EXPECT_EQ(sum.artists, static_cast<int>(base.artists.size()));
    EXPECT_EQ(sum.genres, static_cast<int>(base.genres.size()));
    EXPECT_EQ(perDisc.size(), base.discs.size());

    // Every brand has discs, and popular songs are on several discs.
    std::set<std::int32_t> used;
    for (const auto& d : base.discs) used.insert(d.MakeID);
    EXPECT_EQ(used.size(), base.brands.size());
    EXPECT_LT(base.titles.size(), base.tracks.size() / 2);
}

TEST(SongBaseGenerator, SizesAndDiscLimits) {
    struct Case { int tracks, minTracks, maxTracks; };
    const Case cases[] = {{8, 8, 18}, {18, 8, 18}, {19, 8, 18}, {25, 8, 18}, {26, 8, 18},
                          {1000, 8, 18}, {7, 1, 1}, {100, 3, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tracks);
        Options o;
        o.tracks = c.tracks;
        o.minTracksPerDisc = c.minTracks;
        o.maxTracksPerDisc = c.maxTracks;
        MemorySongBase base;
        songbase_gen::Generate(o, base);
        EXPECT_EQ(base.tracks.size(), static_cast<std::size_t>(c.tracks));
        CheckInvariants(base, o);
    }
}

TEST(SongBaseGenerator, RefusesOptionsItCannotMeet) {
    struct Case { int tracks, minTracks, maxTracks; };
    const Case cases[] = {{7, 8, 18}, {0, 8, 18}, {-5, 8, 18}, {100, 0, 18}, {100, 8, 14}, {1000, 8, 200}};
    for (const Case& c : cases) {
        Options o;
        o.tracks = c.tracks;
        o.minTracksPerDisc = c.minTracks;
        o.maxTracksPerDisc = c.maxTracks;
        EXPECT_FALSE(songbase_gen::Validate(o).empty()) << c.tracks << " " << c.minTracks << " " << c.maxTracks;
        MemorySongBase base;
        EXPECT_THROW(songbase_gen::Generate(o, base), std::invalid_argument);
        EXPECT_TRUE(base.tracks.empty() && base.brands.empty());
    }
}

std::string Dump(const MemorySongBase& b) {
    std::string s;
    const auto add = [&](const auto& recs) {
        for (const auto& r : recs) {
            for (const auto& f : r.Decl().fields) s += fw::GetText(&r, f) + "|";
            s += "\n";
        }
    };
    add(b.brandCodes), add(b.brands), add(b.genres), add(b.discs), add(b.tracks), add(b.titles), add(b.artists);
    return s;
}

TEST(SongBaseGenerator, SameSeedSameSongBase) {
    Options o;
    o.tracks = 3000;
    MemorySongBase a, b, c;
    songbase_gen::Generate(o, a);
    songbase_gen::Generate(o, b);
    EXPECT_EQ(Dump(a), Dump(b));
    o.seed = 2;
    songbase_gen::Generate(o, c);
    EXPECT_NE(Dump(a), Dump(c));
}

}  // namespace

namespace {

// Each record reaches Write with the description of its own file.
class FileDump : public songbase_gen::FileRecordSink {
public:
    std::map<std::string, std::string> byFile;

protected:
    void Write(const shell::FileEntry& file, const void* rec) override {
        std::string& s = byFile[file.label];
        for (const auto& f : file.record->fields) s += fw::GetText(rec, f) + "|";
        s += "\n";
    }
};

std::map<std::string, std::string> ByFile(const MemorySongBase& b) {
    std::map<std::string, std::string> m;
    const auto add = [&](const shell::FileEntry& file, const auto& recs) {
        for (const auto& r : recs) {
            for (const auto& f : file.record->fields) m[file.label] += fw::GetText(&r, f) + "|";
            m[file.label] += "\n";
        }
    };
    add(shell::MakeIdFile(), b.brandCodes), add(shell::DMakeFile(), b.brands), add(shell::GenreFile(), b.genres);
    add(shell::DiscsFile(), b.discs), add(shell::KaraokeFile(), b.tracks), add(shell::STitleFile(), b.titles);
    add(shell::SArtistFile(), b.artists);
    return m;
}

TEST(SongBaseGenerator, FileSinkGetsEachRecordWithItsFile) {
    Options o;
    o.tracks = 500;
    MemorySongBase memory;
    FileDump files;
    songbase_gen::Generate(o, memory);
    songbase_gen::Generate(o, files);
    EXPECT_EQ(files.byFile, ByFile(memory));
    EXPECT_EQ(files.byFile.size(), 7u);
}

}  // namespace
