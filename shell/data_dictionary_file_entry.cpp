#include "shell/data_dictionary_file_entry.h"

#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

#include "platform/text/codepage.h"

namespace shell {

const KeyPlan* FileEntry::FindKey(std::string_view name) const {
    const std::string_view pre = Prefix();
    if (name.size() > pre.size() + 1 && (name[pre.size()] == ':' || name[pre.size()] == '.') &&
        fw::CompareFolded(name.substr(0, pre.size()), pre) == 0)
        name.remove_prefix(pre.size() + 1);
    for (const KeyPlan& k : keys)
        if (fw::CompareFolded(k.name, name) == 0) return &k;
    return nullptr;
}

std::size_t DeclaredBytes(const fw::RecordDecl& decl) {
    std::size_t n = 0;
    for (const fw::FieldDecl& f : decl.fields) n += f.size;
    return n;
}

const std::vector<const FileEntry*>& DataFiles() {
    static const std::vector<const FileEntry*> files{&KaraokeFile(), &DiscsFile(),   &DMakeFile(),
                                                    &MakeIdFile(),  &SArtistFile(), &STitleFile(),
                                                    &GenreFile(),   &SongBookFile(), &SBDiscsFile()};
    return files;
}

const FileEntry* FindDataFile(std::string_view label) {
    for (const FileEntry* f : DataFiles())
        if (fw::CompareFolded(f->label, label) == 0) return f;
    return nullptr;
}

}  // namespace shell
