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
std::function<void*()> BufferOf(const FileEntry& desc) {
    struct Entry {
        const FileEntry* desc;
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
        if (e.desc == &desc) return e.buffer;
    return {};
}

}  // namespace

fw::FileDecl FileDeclOf(const FileEntry& desc, std::function<void*()> buffer) {
    fw::FileDecl d;
    d.label = desc.label;
    d.record = desc.record;
    for (const KeyPlan& k : desc.keys) d.keys.push_back({k.name, k.components, k.unique, k.optional, k.caseInsensitive});
    d.create = desc.create;
    d.reclaim = desc.reclaim;
    d.thread = desc.thread;
    if (desc.nameVariable) d.name = fw::NameOf(*desc.nameVariable);
    d.buffer = std::move(buffer);
    return d;
}

fw::File& DataFile(const FileEntry& desc) {
    static std::map<const FileEntry*, std::unique_ptr<fw::File>> files;
    std::unique_ptr<fw::File>& file = files[&desc];
    if (!file) file = std::make_unique<fw::File>(FileDeclOf(desc, BufferOf(desc)));
    return *file;
}

}  // namespace shell
