#pragma once
// Where the generator puts the records it makes: the data files of a song
// base, or memory for tests and benchmarks.

#include "shell/data_dictionary_file_entry.h"
#include "shell/data_dictionary_songbase.h"

#include <vector>

namespace songbase_gen {

class SongBaseSink {
public:
    virtual ~SongBaseSink() = default;
    virtual void AddBrandCode(const shell::MakeIdRec& rec) = 0;
    virtual void AddBrand(const shell::DMakeRec& rec) = 0;
    virtual void AddGenre(const shell::GenreRec& rec) = 0;
    virtual void AddDisc(const shell::DiscsRec& rec) = 0;
    virtual void AddTrack(const shell::KaraokeRec& rec) = 0;
    virtual void AddTitle(const shell::STitleRec& rec) = 0;
    virtual void AddArtist(const shell::SArtistRec& rec) = 0;
};

// Hands every record to one call with its file's description: a sink that
// writes data files needs only Write.
class FileRecordSink : public SongBaseSink {
public:
    void AddBrandCode(const shell::MakeIdRec& rec) override { Write(shell::MakeIdFile(), &rec); }
    void AddBrand(const shell::DMakeRec& rec) override { Write(shell::DMakeFile(), &rec); }
    void AddGenre(const shell::GenreRec& rec) override { Write(shell::GenreFile(), &rec); }
    void AddDisc(const shell::DiscsRec& rec) override { Write(shell::DiscsFile(), &rec); }
    void AddTrack(const shell::KaraokeRec& rec) override { Write(shell::KaraokeFile(), &rec); }
    void AddTitle(const shell::STitleRec& rec) override { Write(shell::STitleFile(), &rec); }
    void AddArtist(const shell::SArtistRec& rec) override { Write(shell::SArtistFile(), &rec); }

protected:
    // rec is a buffer of file.record's layout.
    virtual void Write(const shell::FileEntry& file, const void* rec) = 0;
};

// Keeps every record in memory.
class MemorySongBase : public SongBaseSink {
public:
    void AddBrandCode(const shell::MakeIdRec& rec) override { brandCodes.push_back(rec); }
    void AddBrand(const shell::DMakeRec& rec) override { brands.push_back(rec); }
    void AddGenre(const shell::GenreRec& rec) override { genres.push_back(rec); }
    void AddDisc(const shell::DiscsRec& rec) override { discs.push_back(rec); }
    void AddTrack(const shell::KaraokeRec& rec) override { tracks.push_back(rec); }
    void AddTitle(const shell::STitleRec& rec) override { titles.push_back(rec); }
    void AddArtist(const shell::SArtistRec& rec) override { artists.push_back(rec); }

    // Hands every record to another sink, in the generator's order.
    void CopyTo(SongBaseSink& sink) const {
        for (const auto& r : brandCodes) sink.AddBrandCode(r);
        for (const auto& r : brands) sink.AddBrand(r);
        for (const auto& r : genres) sink.AddGenre(r);
        for (const auto& r : discs) sink.AddDisc(r);
        for (const auto& r : tracks) sink.AddTrack(r);
        for (const auto& r : titles) sink.AddTitle(r);
        for (const auto& r : artists) sink.AddArtist(r);
    }

    std::vector<shell::MakeIdRec> brandCodes;
    std::vector<shell::DMakeRec> brands;
    std::vector<shell::GenreRec> genres;
    std::vector<shell::DiscsRec> discs;
    std::vector<shell::KaraokeRec> tracks;
    std::vector<shell::STitleRec> titles;
    std::vector<shell::SArtistRec> artists;
};

}  // namespace songbase_gen
