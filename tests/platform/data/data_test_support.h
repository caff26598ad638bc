#pragma once
// Small fixtures for the data-layer tests: a temporary folder and a song
// file with a duplicate key, a unique two-part key and a date key.

#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace datatest {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/cv_data_XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

struct Song {
    fw::FString<20> Title;
    fw::FString<10> Disc;
    std::uint16_t Track;
    std::int32_t Added;
};

inline const fw::RecordDecl& SongDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Song>("SNG")
                                        .Field("Title", &Song::Title)
                                        .Field("Disc", &Song::Disc)
                                        .Field("Track", &Song::Track)
                                        .Date("Added", &Song::Added)
                                        .Build();
    return d;
}

// The same file's name as the declaration asks for it.
struct Named {
    std::string name;
};

inline std::unique_ptr<fw::File> MakeSongFile(std::shared_ptr<Named> name, const std::string& label = "Songs") {
    fw::FileDecl d;
    d.label = label;
    d.record = &SongDecl();
    d.keys = {{"KTITLE", {"Title"}}, {"KDISC", {"Disc", "Track"}, true}, {"KADDED", {"Added"}}};
    d.create = true;
    d.name = [name] { return name->name; };
    return std::make_unique<fw::File>(std::move(d));
}

inline Song& Buf(fw::File& f) { return f.Rec<Song>(); }

// A test on a new, empty song file SONGS.DAT, open for reading and writing;
// a test that fills it calls this SetUp first.
class SongFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        name->name = dir / "SONGS.DAT";
        songs = MakeSongFile(name);
        fw::CREATE(*songs);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::OPEN(*songs, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    void TearDown() override { fw::CLOSE(*songs); }

    TempDir dir;
    std::shared_ptr<Named> name = std::make_shared<Named>();
    std::unique_ptr<fw::File> songs;
};

inline void AddSong(fw::File& f, const char* title, const char* disc, int track, int added = 0) {
    Song& s = Buf(f);
    fw::ClearRecord(&s, SongDecl());
    s.Title = title;
    s.Disc = disc;
    s.Track = static_cast<std::uint16_t>(track);
    s.Added = added;
    fw::ADD(f);
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A child process: runs body, reports through a pipe, then waits to be
// killed or released. The parent reads what the child wrote.
class Child {
public:
    template <class Body>
    explicit Child(Body body) {
        if (pipe(toParent_) != 0 || pipe(toChild_) != 0) std::abort();
        pid_ = fork();
        if (pid_ == 0) {
            close(toParent_[0]);
            close(toChild_[1]);
            const char result = body(*this);
            Send(result);
            char c;
            while (read(toChild_[0], &c, 1) < 0) {}
            _exit(0);
        }
        close(toParent_[1]);
        close(toChild_[0]);
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            int status;
            waitpid(pid_, &status, 0);
        }
    }
    // In the child: tell the parent something.
    void Send(char c) { (void)!write(toParent_[1], &c, 1); }
    // In the parent: wait for the child's next word.
    char Receive() {
        char c = 0;
        if (read(toParent_[0], &c, 1) != 1) return 0;
        return c;
    }
    void Kill() {
        kill(pid_, SIGKILL);
        int status;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    void Release() {
        const char c = 'x';
        (void)!write(toChild_[1], &c, 1);
        int status;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int toParent_[2]{};
    int toChild_[2]{};
};

}  // namespace datatest
