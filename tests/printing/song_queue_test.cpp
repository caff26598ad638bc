// The front end of the song-book reports: name rules, track and "Song #"
// texts, the filters and duplicates of each family, and the print order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/line_queue.h"
#include "printing/song_queue.h"

namespace printing {
namespace {

TEST(ArtistNameRules, FirstNameLastNameAndTheRule) {
    struct Case {
        const char* artist;
        bool firstNameLastName;
        const char* printed;
    } cases[] = {
        {"Smith, John", true, "John Smith"},
        {"Smith, John", false, "Smith, John"},
        {"Smith, Bob The Builder", true, "Smith, Bob The Builder"},  // "THE " after the comma keeps it
        {"Doe, Theodore", true, "Theodore Doe"},
        {"Beatles, The", true, "Beatles, The"},  // turned round, then back by the "THE " rule
        {"The Beatles", false, "Beatles, The"},
        {"THE BEATLES", false, "BEATLES, The"},
        {"  The Who", false, "Who, The"},
        {"The", false, ", The"},
        {"The The", false, "The, The"},
        {"Theatre Of Tragedy", false, "Theatre Of Tragedy"},
        {"Madonna", true, "Madonna"},
    };
    for (const Case& c : cases) {
        std::string artist = c.artist;
        if (c.firstNameLastName) artist = FormatArtistName(artist);
        EXPECT_EQ(ApplyTheRule(artist), c.printed) << c.artist;
    }
}

TEST(ListingTexts, TrackAndSongNumber) {
    EXPECT_EQ(TrackText(0), "00");
    EXPECT_EQ(TrackText(5), "05");
    EXPECT_EQ(TrackText(12), "12");
    struct Case {
        const char *disc, *track, *custom;
        bool banded;
        const char* songNumber;
    } cases[] = {
        {"SC8125", "01", "SC8125", false, "SC8125-01"},
        {"SC8125", "12", "Party 12 ", false, "Party 12-12"},
        {"SC8125", "00", "SC8125", false, "SC8125"},
        {"*", "07", "*", false, "07"},
        {"*", "07", "*", true, "7"},
        {"GONE01", "05", "", false, "-05"},  // the disc record is missing
        {"GONE01", "00", "", false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SongNumberText(c.disc, c.track, c.custom, c.banded), c.songNumber) << c.disc << " " << c.track;
}

SongListing Listing(std::string title, std::string artist, unsigned track = 1, std::string genre = "Pop",
                    bool omitted = false) {
    SongListing l;
    l.title = std::move(title);
    l.artist = std::move(artist);
    l.unqDiskId = "SC8125";
    l.track = track;
    l.genre = std::move(genre);
    l.makeId = "SC";
    l.omitted = omitted;
    return l;
}

std::vector<std::string> Printed(std::vector<SongQueueEntry> queue) {
    std::vector<std::string> out;
    for (const auto& e : queue) out.push_back(e.artist + " / " + e.title + " " + e.diskTrackNo);
    return out;
}

TEST(SongQueue, FiltersOmitsAndVocalsInBothFamilies) {
    for (SongBookLayout layout : {SongBookLayout::ArtistBanded, SongBookLayout::ArtistTwoColumn}) {
        SongQueueRules rules;
        rules.filterGenre = true;
        rules.printGenre = "Pop ";
        rules.removeVocals = true;
        SongQueueLoader loader(layout, rules);
        EXPECT_TRUE(loader.Add(Listing("Angel", "Abba", 1)));
        EXPECT_FALSE(loader.Add(Listing("Rock On", "Abba", 2, "Rock")));
        EXPECT_FALSE(loader.Add(Listing("Hidden", "Abba", 3, "Pop", true)));
        EXPECT_FALSE(loader.Add(Listing("Sing", "Abba w/voc", 4)));
        EXPECT_FALSE(loader.Add(Listing("Sing", "Abba W-VOC", 5)));
        EXPECT_TRUE(loader.Add(Listing("W/Voc Title", "Abba", 6)));  // only the artist counts
        EXPECT_EQ(Printed(std::move(loader).Sorted()),
                  (std::vector<std::string>{"Abba / Angel 01", "Abba / W/Voc Title 06"}));

        rules = {};
        rules.ignoreOmits = true;
        SongQueueLoader all(layout, rules);
        EXPECT_TRUE(all.Add(Listing("Hidden", "Abba", 3, "Pop", true)));
    }
}

TEST(SongQueue, DuplicatesAreComparedWithTheLastEntryAdded) {
    SongQueueRules rules;
    rules.removeDuplicates = true;
    rules.filterGenre = true;
    rules.printGenre = "Pop";
    for (SongBookLayout layout : {SongBookLayout::TitleBanded, SongBookLayout::TitleTwoColumn}) {
        SongQueueLoader loader(layout, rules);
        EXPECT_TRUE(loader.Add(Listing("Angel", "Abba", 1)));
        // A listing the genre filter leaves out does not become the comparison.
        EXPECT_FALSE(loader.Add(Listing("Angel", "Abba", 2, "Rock")));
        EXPECT_FALSE(loader.Add(Listing("Angel", "Abba", 3)));
        EXPECT_TRUE(loader.Add(Listing("Angel", "Bread", 4)));
        EXPECT_EQ(loader.size(), 2u);
    }
    // Both families compare what is printed: the names as reworked by the
    // "THE " rule and the name format, and in All Caps where the layout
    // prints them so.
    for (SongBookLayout layout : {SongBookLayout::ArtistTwoColumn, SongBookLayout::ArtistBanded}) {
        SongQueueLoader loader(layout, {.firstNameLastName = true, .removeDuplicates = true});
        EXPECT_TRUE(loader.Add(Listing("Help", "The Beatles", 1)));
        EXPECT_FALSE(loader.Add(Listing("Help", "The Beatles", 2)));
        EXPECT_TRUE(loader.Add(Listing("Vincent", "McLean, Don", 3)));
        EXPECT_FALSE(loader.Add(Listing("Vincent", "McLean, Don", 4)));
        EXPECT_TRUE(loader.Add(Listing("Yesterday", "Abba", 5)));
        EXPECT_FALSE(loader.Add(Listing("Yesterday", "Abba", 6)));
        EXPECT_EQ(loader.size(), 3u);
    }
    SongQueueLoader caps(SongBookLayout::ArtistBanded, {.removeDuplicates = true, .printedUpper = true});
    EXPECT_TRUE(caps.Add(Listing("Angel", "Abba", 1)));
    EXPECT_FALSE(caps.Add(Listing("ANGEL", "ABBA", 2)));
    SongQueueLoader asTyped(SongBookLayout::ArtistBanded, {.removeDuplicates = true});
    EXPECT_TRUE(asTyped.Add(Listing("Angel", "Abba", 1)));
    EXPECT_TRUE(asTyped.Add(Listing("ANGEL", "ABBA", 2)));
}

TEST(SongQueue, AllCapsWhileLoadingOnlyInTheTwoColumnFamily) {
    SongQueueRules rules;
    rules.allCaps = true;
    SongQueueLoader two(SongBookLayout::ArtistTwoColumn, rules);
    two.Add(Listing("Cr\xE8me Br\xFBl\xE9" "e", "The Beatles"));
    EXPECT_EQ(Printed(std::move(two).Sorted()), (std::vector<std::string>{"BEATLES, The / CR\xC8ME BR\xDBL\xC9" "E 01"}));
    SongQueueLoader one(SongBookLayout::ArtistShortLong, rules);
    one.Add(Listing("Cr\xE8me Br\xFBl\xE9" "e", "The Beatles"));
    EXPECT_EQ(Printed(std::move(one).Sorted()), (std::vector<std::string>{"Beatles, The / Cr\xE8me Br\xFBl\xE9" "e 01"}));
}

TEST(SongQueue, SortedByGroupThenEntryIgnoringCaseWithTiesInReadingOrder) {
    SongQueueLoader byArtist(SongBookLayout::ArtistGrouped, {});
    byArtist.Add(Listing("Zebra", "abba", 1));
    byArtist.Add(Listing("angel", "ABBA", 2));
    byArtist.Add(Listing("Angel", "Abba", 3));
    byArtist.Add(Listing("Yes", "\xC9mile", 4));
    byArtist.Add(Listing("Song", "Eagles", 5));
    EXPECT_EQ(Printed(std::move(byArtist).Sorted()),
              (std::vector<std::string>{"ABBA / angel 02", "Abba / Angel 03", "abba / Zebra 01", "Eagles / Song 05",
                                        "\xC9mile / Yes 04"}));
    SongQueueLoader byTitle(SongBookLayout::TitleGrouped, {});
    byTitle.Add(Listing("b", "Zed", 1));
    byTitle.Add(Listing("B", "Amy", 2));
    byTitle.Add(Listing("a", "Zed", 3));
    EXPECT_EQ(Printed(std::move(byTitle).Sorted()),
              (std::vector<std::string>{"Zed / a 03", "Amy / B 02", "Zed / b 01"}));
}

}  // namespace
}  // namespace printing
