// The dictionary's files on the data layer: the generator writes a song
// base through them, and the checked opening meets real files.
#include "scripted_messages.h"
#include "shell/checked_open.h"
#include "shell/data_layer.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "cv-songbase-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(folder_);
        shell::ConnectDataLayer();
        shell::Calling() = {};
    }
    void TearDown() override {
        for (const shell::FileEntry* desc : shell::DataFiles()) fw::CLOSE(shell::DataFile(*desc));
        shell::DisconnectDataLayer();
        shell::Calling() = {};
        shell::InitialiseSharedGlobals();
        fw::ClearError();
        std::filesystem::remove_all(folder_);
    }
    std::string PathOf(const shell::FileEntry& desc) const { return folder_ + "/" + desc.fixedName; }
    void Generate(int tracks) {
        options_.tracks = tracks;
        songbase_gen::DataFileSongBase files(folder_);
        songbase_gen::Generate(options_, files);
        ASSERT_EQ(files.Finish(), "");
    }

    std::string folder_;
    songbase_gen::Options options_;
    ScriptedMessages messages;
};

TEST_F(DataFilesTest, AGeneratedSongBaseReadsBackThroughTheDictionaryFiles) {
    Generate(300);
    songbase_gen::MemorySongBase memory;
    songbase_gen::Generate(options_, memory);
    struct Case { const shell::FileEntry& desc; std::size_t records; };
    const Case cases[] = {
        {shell::KaraokeFile(), memory.tracks.size()}, {shell::DiscsFile(), memory.discs.size()},
        {shell::DMakeFile(), memory.brands.size()},   {shell::MakeIdFile(), memory.brandCodes.size()},
        {shell::SArtistFile(), memory.artists.size()}, {shell::STitleFile(), memory.titles.size()},
        {shell::GenreFile(), memory.genres.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc.label);
        shell::FileUse use(c.desc, false);
        EXPECT_EQ(fw::RECORDS(shell::DataFile(c.desc)), static_cast<long>(c.records));
    }
    EXPECT_TRUE(messages.shown.empty());

    // Key order ignores case, and NEXT fills the thread's KAR buffer.
    const auto lowest = std::min_element(memory.tracks.begin(), memory.tracks.end(), [](const auto& a, const auto& b) {
        return fw::CompareFolded(a.Title.Clip(), b.Title.Clip()) < 0;
    });
    shell::FileUse use(shell::KaraokeFile());
    fw::File& karaoke = shell::DataFile(shell::KaraokeFile());
    fw::SET(karaoke.FindKey("KAR:KTITLE"));
    fw::NEXT(karaoke);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    EXPECT_EQ(fw::CompareFolded(shell::KaraokeBuffer().Title.Clip(), lowest->Title.Clip()), 0);
}

TEST_F(DataFilesTest, CheckedOpeningOfRealFiles) {
    // A missing file that may be created is created empty and opened.
    {
        shell::FileUse use(shell::DiscsFile());
        EXPECT_TRUE(fw::IsOpen(shell::DataFile(shell::DiscsFile())));
        EXPECT_EQ(fw::RECORDS(shell::DataFile(shell::DiscsFile())), 0);
    }
    EXPECT_FALSE(fw::IsOpen(shell::DataFile(shell::DiscsFile()))) << "the last use closes it";
    EXPECT_TRUE(std::filesystem::exists(PathOf(shell::DiscsFile())));

    // The brand codes are never created: their absence ends the program.
    try {
        shell::OpenFileChecked(shell::MakeIdFile(), false);
        ADD_FAILURE() << "no halt";
    } catch (const HaltCaught& h) {
        EXPECT_EQ(h.text, "File Creation Error!");
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "File Creation Error");
    EXPECT_FALSE(std::filesystem::exists(PathOf(shell::MakeIdFile())));

    // A file that is not one of ours.
    messages.shown.clear();
    std::ofstream(PathOf(shell::GenreFile())) << "Rock\r\nPop\r\n";
    EXPECT_THROW(shell::OpenFileChecked(shell::GenreFile(), true), HaltCaught);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Invalid File");
}

TEST_F(DataFilesTest, KeysThatDoNotMatchAreRebuiltWhenTheUserAgrees) {
    Generate(40);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PathOf(shell::KaraokeFile()).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE INDEX stray ON records(_id)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    messages.answers = {shell::button::No};
    EXPECT_THROW(shell::OpenFileChecked(shell::KaraokeFile(), true), HaltCaught);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Invalid Key");

    messages.answers = {shell::button::Yes};
    shell::OpenFileChecked(shell::KaraokeFile(), true);
    EXPECT_TRUE(fw::IsOpen(shell::DataFile(shell::KaraokeFile())));
    EXPECT_EQ(fw::RECORDS(shell::DataFile(shell::KaraokeFile())), 40);
}

}  // namespace
