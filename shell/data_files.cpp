#include "shell/data_files.h"

#include "shell/data_dictionary_buffers.h"

#include <map>
#include <memory>

namespace shell {

fw::FileDecl MakeFileDecl(const FileSpec& spec, std::function<void*()> buffer) {
    fw::FileDecl d;
    d.label = spec.label;
    d.record = spec.record;
    for (const auto& k : spec.keys) d.keys.push_back({k.name, k.components, k.unique, k.optional, k.caseInsensitive});
    d.create = spec.create;
    d.reclaim = spec.reclaim;
    d.thread = spec.thread;
    d.name = fw::NameOf(*spec.nameVariable);
    d.buffer = std::move(buffer);
    return d;
}

namespace {

// The current thread's buffer of a dictionary file.
void* BufferOf(const FileSpec* spec) {
    RecordBuffers& b = Buffers();
    if (spec == &KaraokeFile()) return &b.karaoke;
    if (spec == &DiscsFile()) return &b.discs;
    if (spec == &DMakeFile()) return &b.dmake;
    if (spec == &MakeIdFile()) return &b.makeId;
    if (spec == &SArtistFile()) return &b.sArtist;
    if (spec == &STitleFile()) return &b.sTitle;
    if (spec == &GenreFile()) return &b.genre;
    if (spec == &SongBookFile()) return &b.songBook;
    return &b.sbDiscs;
}

}  // namespace

fw::File& DataFile(const FileSpec& spec) {
    static std::map<const FileSpec*, std::unique_ptr<fw::File>> files;
    auto& slot = files[&spec];
    if (!slot) slot = std::make_unique<fw::File>(MakeFileDecl(spec, [s = &spec] { return BufferOf(s); }));
    return *slot;
}

fw::File& KARAOKE() { return DataFile(KaraokeFile()); }
fw::File& Discs() { return DataFile(DiscsFile()); }
fw::File& DMake() { return DataFile(DMakeFile()); }
fw::File& MAKEID() { return DataFile(MakeIdFile()); }
fw::File& sArtist() { return DataFile(SArtistFile()); }
fw::File& sTitle() { return DataFile(STitleFile()); }
fw::File& Genre() { return DataFile(GenreFile()); }
fw::File& SongBook() { return DataFile(SongBookFile()); }
fw::File& SBDiscs() { return DataFile(SBDiscsFile()); }

}  // namespace shell
