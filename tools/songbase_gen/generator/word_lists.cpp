#include "tools/songbase_gen/generator/word_lists.h"

namespace songbase_gen::words {

namespace {

// Invented brands; no code is "CU", which marks a host's own custom discs.
constexpr BrandName kBrands[] = {
    {"Aldervox Karaoke", "AV", false},     {"Bellwether Sing", "BW", false},
    {"Copperline Tracks", "CL", true},     {"Dovetail Vocals", "DV", false},
    {"Emberlight Karaoke", "EL", false},   {"Fennwick Music", "FW", true},
    {"Glasshouse Sing-Along", "GH", false}, {"Harborview Karaoke", "HV", false},
    {"Ironwood Hits", "IW", false},        {"Juniper Stage", "JS", true},
    {"Kestrel Karaoke", "KK", false},      {"Lanternfly Music", "LF", false},
    {"Moonquay Karaoke", "MQ", false},     {"Northgate Vocals", "NG", true},
    {"Orchard Lane Hits", "OL", false},    {"Pebblebrook Karaoke", "PB", false},
    {"Quillmark Sing", "QM", false},       {"Rivermint Tracks", "RM", true},
    {"Saltmarsh Karaoke", "SM", false},    {"Thistledown Music", "TD", false},
    {"Umberfield Hits", "UF", false},      {"Vantage Vox", "VX", true},
    {"Willowmere Karaoke", "WM", false},   {"Yarrow Sing-Along", "YS", false},
    {"Zephyrine Karaoke", "ZK", false},    {"Amberly Stage", "AS", true},
    {"Brightwater Hits", "BH", false},     {"Cobblestone Karaoke", "CB", false},
    {"Driftwood Vocals", "DW", false},     {"Everbloom Music", "EB", true},
    {"Foxglove Karaoke", "FG", false},     {"Greywind Tracks", "GW", false},
    {"Hollowreed Sing", "HR", false},      {"Inkwell Karaoke", "IK", true},
    {"Jadeport Hits", "JP", false},        {"Kingfisher Vocals", "KF", false},
    {"Larkspur Karaoke", "LK", false},     {"Marigold Stage", "MG", true},
    {"Nettlefield Music", "NF", false},    {"Oakhaven Karaoke", "OH", false},
};

constexpr std::string_view kGenres[] = {
    "Pop",          "Rock",         "Country",   "Rhythm & Blues", "Soul",        "Jazz Standards",
    "Show Tunes",   "Folk",         "Gospel",    "Latin",          "Reggae",      "Dance",
    "Blues",        "Big Band",     "Oldies",    "Children's Songs", "Christmas", "Duets",
    "Bluegrass",    "Swing",        "Ragtime",   "Traditional",
};

// Traditional songs and songs published before 1929.
constexpr std::string_view kPublicDomain[] = {
    "Amazing Grace", "Danny Boy", "Oh! Susanna", "Camptown Races", "Beautiful Dreamer", "Home on the Range",
    "Shenandoah", "Greensleeves", "Scarborough Fair", "Red River Valley", "Oh My Darling, Clementine",
    "Aura Lee", "Swing Low, Sweet Chariot", "When the Saints Go Marching In", "Down by the Riverside",
    "Auld Lang Syne", "Take Me Out to the Ball Game", "Let Me Call You Sweetheart", "Shine On, Harvest Moon",
    "By the Light of the Silvery Moon", "Daisy Bell", "In the Good Old Summertime", "My Wild Irish Rose",
    "The Yellow Rose of Texas", "Jingle Bells", "Silent Night", "Deck the Halls", "O Christmas Tree",
    "Old Folks at Home", "My Old Kentucky Home", "Jeanie with the Light Brown Hair", "Buffalo Gals",
    "Turkey in the Straw", "She'll Be Coming Round the Mountain", "I've Been Working on the Railroad",
    "The Girl I Left Behind Me", "Sweet Genevieve", "Home! Sweet Home!", "Row, Row, Row Your Boat",
    "The Water Is Wide", "Wayfaring Stranger", "Careless Love", "Frankie and Johnny", "After the Ball",
    "The Band Played On", "Meet Me in St. Louis, Louis", "Alexander's Ragtime Band", "Give My Regards to Broadway",
    "Shoo Fly, Don't Bother Me", "Bill Bailey, Won't You Please Come Home", "Hello! Ma Baby",
    "Ida, Sweet as Apple Cider", "Pretty Baby", "Swanee", "Over There", "Keep the Home Fires Burning",
    "It's a Long Way to Tipperary", "Pack Up Your Troubles", "K-K-K-Katy", "Toot, Toot, Tootsie!",
    "Ain't We Got Fun?", "Yes! We Have No Bananas", "Tea for Two", "Bye Bye Blackbird", "Ain't She Sweet",
    "Makin' Whoopee", "The Skye Boat Song", "Loch Lomond", "Molly Malone", "The Ash Grove",
    "Early One Morning", "Barbara Allen", "Polly Wolly Doodle", "Goodnight, Ladies", "Hard Times Come Again No More",
};

constexpr std::string_view kAdjectives[] = {
    "Silver", "Golden", "Copper", "Velvet", "Hollow", "Gentle", "Restless", "Quiet", "Distant", "Crimson",
    "Amber", "Lonesome", "Tender", "Wild", "Little", "Faded", "Painted", "Sleepy", "Midnight", "Morning",
    "Summer", "Winter", "Autumn", "Paper", "Glass", "Wandering", "Borrowed", "Secret", "Rolling", "Shining",
    "Careless", "Honest", "Crooked", "Empty", "Lucky", "Northern", "Southern", "Western", "Emerald", "Cobalt",
    "Scarlet", "Weathered", "Drifting", "Hidden", "Humble", "Merry", "Rusty", "Brave", "Lazy", "Sweet",
    "Tin", "Marble", "Cinnamon", "Lavender", "Harvest", "Evening", "Patchwork", "Wooden", "Starry", "Misty",
};

constexpr std::string_view kNouns[] = {
    "Harbour", "Lantern", "Meadow", "River", "Highway", "Window", "Letter", "Garden", "Heart", "Moon",
    "Station", "Carousel", "Compass", "Ribbon", "Lighthouse", "Orchard", "Valley", "Bridge", "Diary", "Ballroom",
    "Caravan", "Chapel", "Telegram", "Porch", "Kite", "Sparrow", "Willow", "Canyon", "Ember", "Horizon",
    "Island", "Jukebox", "Locket", "Mirror", "Nightingale", "Postcard", "Railway", "Sailor", "Shadow", "Snowfall",
    "Sunrise", "Tambourine", "Trolley", "Violin", "Wagon", "Whistle", "Wildflower", "Avenue", "Cottage", "Daydream",
    "Feather", "Fountain", "Hillside", "Lullaby", "Melody", "Mountain", "Promise", "Riverboat", "Saddle", "Sweetheart",
    "Tango", "Waltz", "Wish", "Hometown", "Dance", "Road", "Stone", "Door", "Season", "Bonfire",
    "Penny", "Thimble", "Banjo", "Candle", "Rooftop", "Parasol", "Teacup", "Steamboat", "Cornfield", "Ferry",
};

constexpr std::string_view kPlaces[] = {
    "Juniper", "Maple", "Larkspur", "Cedar", "Bramble", "Mulberry", "Harlow", "Brandywine", "Calloway", "Fairhaven",
    "Marlowe", "Ashgrove", "Pinecrest", "Thornbury", "Wexford", "Elmsworth", "Goldhill", "Ravensbrook", "Clover",
    "Sablewood", "Millbrook", "Kestrel Bay", "Amberton", "Dunmore",
};

constexpr std::string_view kVerbs[] = {
    "Dancing", "Waiting", "Walking", "Dreaming", "Singing", "Running", "Sailing", "Drifting",
    "Holding On", "Calling", "Wishing", "Whistling", "Rambling", "Wandering", "Rolling", "Marching",
};

constexpr std::string_view kFirstNames[] = {
    "Mira", "Jonas", "Della", "Rufus", "Clara", "Otis", "Hazel", "Felix", "Ada", "Milo", "Iris", "Silas",
    "Nora", "Amos", "Vera", "Emmett", "June", "Lionel", "Ruby", "Cyrus", "Mabel", "Jasper", "Opal", "Wendell",
    "Edie", "Percy", "Lottie", "Gideon", "Ivy", "Harlan", "Birdie", "Pearl", "Nell", "Elias", "Rosalind",
    "Barnaby", "Winifred", "Lucius", "Etta", "Ambrose", "Greta", "Virgil", "Maude", "Ansel", "Cora", "Tilda",
    "Roscoe", "Beatrix", "Casimir", "Delphine", "Ezra", "Flora", "Horace", "Imogen", "Leopold", "Marguerite",
};

constexpr std::string_view kLastNames[] = {
    "Castell", "Whitford", "Marrow", "Quillan", "Ashby", "Thorne", "Calder", "Fenwick", "Hollis", "Larkin",
    "Pemberton", "Redwine", "Tennant", "Underhill", "Varga", "Wexley", "Yardley", "Abernathy", "Brightwell",
    "Dunmore", "Ellery", "Farrow", "Galloway", "Hatcher", "Jessup", "Kettering", "Lowell", "Merriweather",
    "Nettles", "Oakes", "Prewitt", "Quimby", "Rourke", "Stanhope", "Tolliver", "Vickery", "Winslow", "Zeller",
    "Bramwell", "Carrow", "Fairweather", "Goodnight", "Holloway", "Kincaid", "Lockhart", "Mayhew", "Norcross",
    "Ormsby", "Penhallow", "Ravenel", "Sutter", "Threlkeld", "Vandermeer", "Whitcombe", "Ashdown", "Blakemore",
};

}  // namespace

std::span<const BrandName> Brands() { return kBrands; }
std::span<const std::string_view> Genres() { return kGenres; }
std::span<const std::string_view> PublicDomainTitles() { return kPublicDomain; }
std::span<const std::string_view> Adjectives() { return kAdjectives; }
std::span<const std::string_view> Nouns() { return kNouns; }
std::span<const std::string_view> Places() { return kPlaces; }
std::span<const std::string_view> Verbs() { return kVerbs; }
std::span<const std::string_view> FirstNames() { return kFirstNames; }
std::span<const std::string_view> LastNames() { return kLastNames; }

}  // namespace songbase_gen::words
