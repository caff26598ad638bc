#include "shell/data_dictionary_files.h"

#include "shell/data_dictionary_buffers.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

#include <map>
#include <memory>
#include <stdexcept>

namespace shell {
namespace {

// The thread's buffer of each global file.
std::function<void*()> BufferOf(const FileSpec& spec) {
    struct Entry {
        const FileSpec* spec;
        void* (*buffer)();
    };
    static const Entry kEntries[] = {
        {&KaraokeFile(), [] { return static_cast<void*>(&Buffers().karaoke); }},
        {&DiscsFile(), [] { return static_cast<void*>(&Buffers().discs); }},
        {&DMakeFile(), [] { return static_cast<void*>(&Buffers().dmake); }},
        {&MakeIdFile(), [] { return static_cast<void*>(&Buffers().makeId); }},
        {&SArtistFile(), [] { return static_cast<void*>(&Buffers().sArtist); }},
        {&STitleFile(), [] { return static_cast<void*>(&Buffers().sTitle); }},
        {&GenreFile(), [] { return static_cast<void*>(&Buffers().genre); }},
        {&SongBookFile(), [] { return static_cast<void*>(&Buffers().songBook); }},
        {&SBDiscsFile(), [] { return static_cast<void*>(&Buffers().sbDiscs); }},
    };
    for (const Entry& e : kEntries)
        if (e.spec == &spec) return e.buffer;
    return {};
}

}  // namespace

fw::FileDecl FileDeclOf(const FileSpec& spec, std::function<void*()> buffer) {
    fw::FileDecl d;
    d.label = spec.label;
    d.record = spec.record;
    for (const KeySpec& k : spec.keys) d.keys.push_back({k.name, k.components, k.unique, k.optional, k.caseInsensitive});
    d.create = spec.create;
    d.reclaim = spec.reclaim;
    d.thread = spec.thread;
    if (spec.nameVariable) d.name = fw::NameOf(*spec.nameVariable);
    d.buffer = std::move(buffer);
    return d;
}

fw::File& DataFile(const FileSpec& spec) {
    static std::map<const FileSpec*, std::unique_ptr<fw::File>> files;
    std::unique_ptr<fw::File>& file = files[&spec];
    if (!file) file = std::make_unique<fw::File>(FileDeclOf(spec, BufferOf(spec)));
    return *file;
}

}  // namespace shell
