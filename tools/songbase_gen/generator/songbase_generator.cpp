#include "tools/songbase_gen/generator/songbase_generator.h"

#include "tools/songbase_gen/generator/random.h"
#include "tools/songbase_gen/generator/word_lists.h"

#include "platform/text/codepage.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace songbase_gen {

namespace {

constexpr std::size_t kTitleWidth = sizeof(shell::KaraokeRec::Title);
constexpr std::size_t kArtistWidth = sizeof(shell::SArtistRec::Artist);  // artists fit the search list

template <class T>
const T& Pick(Random& r, std::span<const T> items) {
    return items[static_cast<std::size_t>(r.Between(0, static_cast<int>(items.size()) - 1))];
}

std::string Plural(std::string_view noun) {
    std::string s(noun);
    const char last = s.back();
    const char before = s.size() > 1 ? s[s.size() - 2] : ' ';
    if (last == 'y' && std::string_view("aeiou").find(before) == std::string_view::npos) {
        s.back() = 'i';
        s += "es";
    } else if (last == 's' || last == 'x' || last == 'z' || (last == 'h' && (before == 'c' || before == 's'))) {
        s += "es";
    } else {
        s += 's';
    }
    return s;
}

// "a" or "an" before a word.
std::string WithArticle(std::string_view word) {
    const bool vowel = std::string_view("AEIOU").find(word.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(word);
}

std::string InventTitle(Random& r) {
    using namespace words;
    const auto adj = [&] { return std::string(Pick(r, Adjectives())); };
    const auto noun = [&] { return std::string(Pick(r, Nouns())); };
    const auto place = [&] { return std::string(Pick(r, Places())); };
    const auto verb = [&] { return std::string(Pick(r, Verbs())); };
    const auto first = [&] { return std::string(Pick(r, FirstNames())); };
    switch (r.Between(0, 14)) {
    case 0: return adj() + " " + noun();
    case 1: return "The " + adj() + " " + noun();
    case 2: return noun() + " on " + place() + " Street";
    case 3: return verb() + " in the " + noun();
    case 4: return verb() + " for " + WithArticle(noun());
    case 5: return "My " + adj() + " " + noun();
    case 6: return "The " + noun() + " and the " + noun();
    case 7: return "Down by the " + adj() + " " + noun();
    case 8: return adj() + " " + noun() + " Blues";
    case 9: return "Goodbye, " + place();
    case 10: {
        std::string t = WithArticle(noun()) + " for " + first();
        t[0] = 'A';
        return t;
    }
    case 11: return Plural(noun()) + " of " + place();
    case 12: return first() + "'s " + noun();
    case 13: return "Meet Me at the " + noun();
    default: return verb() + " Through the " + Plural(noun());
    }
}

std::string InventArtist(Random& r) {
    using namespace words;
    const auto first = [&] { return std::string(Pick(r, FirstNames())); };
    const auto last = [&] { return std::string(Pick(r, LastNames())); };
    const int pattern = r.Between(0, 19);
    if (pattern < 8) return first() + " " + last();
    if (pattern < 11) return first() + " " + static_cast<char>('A' + r.Between(0, 25)) + ". " + last();
    if (pattern < 14) return "The " + std::string(Pick(r, Adjectives())) + " " + Plural(Pick(r, Nouns()));
    if (pattern < 16) return first() + " & the " + Plural(Pick(r, Nouns()));
    if (pattern < 17) return "The " + last() + (r.Chance(0.5) ? " Brothers" : " Sisters");
    if (pattern < 19) return std::string(Pick(r, Adjectives())) + " " + std::string(Pick(r, Nouns()));
    return last() + " & " + last();
}

// Distinct texts (compared as the keys compare them), numbered in the order first made.
class TextPool {
public:
    int Intern(const std::string& text) {
        auto [it, added] = index_.try_emplace(fw::UpperText(text), static_cast<int>(texts_.size()));
        if (added) texts_.push_back(text);
        return it->second;
    }
    const std::string& operator[](int i) const { return texts_[static_cast<std::size_t>(i)]; }
    int Size() const { return static_cast<int>(texts_.size()); }

private:
    std::unordered_map<std::string, int> index_;
    std::vector<std::string> texts_;
};

std::string Fitting(Random& r, std::size_t width, std::string (*invent)(Random&)) {
    std::string s = invent(r);
    for (int tries = 0; s.size() > width && tries < 20; ++tries) s = invent(r);
    if (s.size() > width) s.resize(width);
    return s;
}

struct Song {
    int title;
    int artist;
};

struct BrandState {
    int number;  // next disc number
    int weight;  // share of the discs
};

std::string DiscNumber(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", n);
    return buf;
}

}  // namespace

std::string Validate(const Options& o) {
    if (o.minTracksPerDisc < 1) return "at least one track per disc is needed";
    if (o.maxTracksPerDisc < 2 * o.minTracksPerDisc - 1)
        return "the largest disc must hold at least twice the smallest, less one";
    if (o.maxTracksPerDisc > 99) return "at most 99 tracks per disc";
    if (o.tracks < o.minTracksPerDisc) return "fewer tracks than the smallest disc holds";
    return {};
}

Summary Generate(const Options& o, SongBaseSink& sink) {
    if (const std::string error = Validate(o); !error.empty()) throw std::invalid_argument(error);
    Random r(o.seed);
    Summary sum;

    // Brands and their codes.
    const auto brands = words::Brands();
    std::vector<BrandState> state;
    int totalWeight = 0;
    for (std::size_t i = 0; i < brands.size(); ++i) {
        shell::MakeIdRec code;
        code.MAKEID = brands[i].code;
        code.MAKEDESC = brands[i].name;
        sink.AddBrandCode(code);
        ++sum.brandCodes;
        shell::DMakeRec brand;
        brand.MAKE = brands[i].name;
        brand.MakeID = static_cast<std::int32_t>(i + 1);
        sink.AddBrand(brand);
        ++sum.brands;
        state.push_back({r.Between(1, 8) * 1000 + r.Between(0, 99) * 10, r.Between(1, 12)});
        totalWeight += state.back().weight;
    }
    shell::MakeIdRec custom;
    custom.MAKEID = "CU";
    custom.MAKEDESC = "Custom Disc";
    sink.AddBrandCode(custom);
    ++sum.brandCodes;

    for (std::string_view g : words::Genres()) {
        shell::GenreRec genre;
        genre.GENRE = g;
        sink.AddGenre(genre);
        ++sum.genres;
    }

    // The song pool: every public-domain title, then invented songs; some
    // invented songs share a title with an earlier one (another artist's version).
    const int songCount = std::max(300, o.tracks / 3);
    const int artistTarget = std::max(60, songCount / 6);
    TextPool artists;
    for (long tries = 0; artists.Size() < artistTarget && tries < 50L * artistTarget; ++tries)
        artists.Intern(Fitting(r, kArtistWidth, InventArtist));
    TextPool titles;
    std::vector<Song> songs;
    songs.reserve(static_cast<std::size_t>(songCount));
    for (std::string_view t : words::PublicDomainTitles())
        songs.push_back({titles.Intern(std::string(t)), r.Between(0, artists.Size() - 1)});
    while (static_cast<int>(songs.size()) < songCount) {
        const int title = r.Chance(0.12) ? songs[static_cast<std::size_t>(r.Between(0, static_cast<int>(songs.size()) - 1))].title
                                         : titles.Intern(Fitting(r, kTitleWidth, InventTitle));
        songs.push_back({title, r.Between(0, artists.Size() - 1)});
    }
    for (std::size_t i = songs.size() - 1; i > 0; --i)
        std::swap(songs[i], songs[static_cast<std::size_t>(r.Between(0, static_cast<int>(i)))]);

    // Discs and their tracks. Songs early in the pool are the popular ones.
    std::vector<char> titleUsed(static_cast<std::size_t>(titles.Size()), 0);
    std::vector<char> artistUsed(static_cast<std::size_t>(artists.Size()), 0);
    std::vector<int> titleOrder, artistOrder;
    std::vector<int> onDisc;
    int remaining = o.tracks;
    while (remaining > 0) {
        int n;
        if (remaining <= o.maxTracksPerDisc) {
            n = remaining;
        } else {
            n = r.Between(o.minTracksPerDisc, o.maxTracksPerDisc);
            if (remaining - n < o.minTracksPerDisc) n = remaining - o.minTracksPerDisc;
        }
        remaining -= n;

        int pick = r.Between(0, totalWeight - 1);
        std::size_t b = 0;
        while (pick >= state[b].weight) pick -= state[b++].weight;
        BrandState& brand = state[b];
        const std::string digits = DiscNumber(brand.number);
        brand.number += 1 + (r.Chance(0.08) ? r.Between(1, 30) : 0);

        shell::DiscsRec disc;
        disc.MakeID = static_cast<std::int32_t>(b + 1);
        disc.UnqDiskID = std::string(brands[b].code) + digits;
        disc.DISKID = std::string(brands[b].code) + (brands[b].dashed ? "-" : "") + digits;
        sink.AddDisc(disc);
        ++sum.discs;

        onDisc.clear();
        while (static_cast<int>(onDisc.size()) < n) {
            const double u = r.Unit();
            const int s = static_cast<int>(u * u * songCount);
            if (std::find(onDisc.begin(), onDisc.end(), s) == onDisc.end()) onDisc.push_back(s);
        }
        for (int t = 0; t < n; ++t) {
            const Song& song = songs[static_cast<std::size_t>(onDisc[static_cast<std::size_t>(t)])];
            shell::KaraokeRec track;
            track.Title = titles[song.title];
            track.Artist = artists[song.artist];
            track.DISKID = disc.DISKID;
            track.DiskTrackNo = static_cast<std::uint16_t>(t + 1);
            track.MAKEID = disc.MakeID;
            track.UnqDiskID = disc.UnqDiskID;
            sink.AddTrack(track);
            ++sum.tracks;
            if (char& used = titleUsed[static_cast<std::size_t>(song.title)]; !used) {
                used = 1;
                titleOrder.push_back(song.title);
            }
            if (char& used = artistUsed[static_cast<std::size_t>(song.artist)]; !used) {
                used = 1;
                artistOrder.push_back(song.artist);
            }
        }
    }

    // The search lists: each distinct title and artist of the tracks.
    for (int t : titleOrder) {
        shell::STitleRec title;
        title.Title = titles[t];
        sink.AddTitle(title);
        ++sum.titles;
    }
    for (int a : artistOrder) {
        shell::SArtistRec artist;
        artist.Artist = artists[a];
        sink.AddArtist(artist);
        ++sum.artists;
    }
    return sum;
}

}  // namespace songbase_gen
