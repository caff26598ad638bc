#include "songbase/song_base_pick_lists.h"

#include "platform/data/file_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "shell/warnings.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

// What identifies one state of a data file on disk.
struct FileStamp {
    std::string path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(fw::File& file) {
    FileStamp stamp;
    stamp.path = fw::ResolvePath(fw::NAME(file));
    std::error_code error;
    stamp.size = std::filesystem::file_size(stamp.path, error);
    stamp.written = std::filesystem::last_write_time(stamp.path, error);
    return stamp;
}

struct KeptList {
    FileStamp stamp;
    std::shared_ptr<const fw::PickList> list;
};

KeptList& KeptTitles() {
    static KeptList kept;
    return kept;
}

}  // namespace

std::shared_ptr<const fw::PickList> SongBaseTitles() {
    fw::File& titles = shell::sTitle();
    KeptList& kept = KeptTitles();
    FileStamp stamp = StampOf(titles);
    if (kept.list && kept.stamp == stamp) return kept.list;

    const shell::STitleRec before = STI;
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(std::max<long>(fw::RECORDS(titles), 0)));
    fw::SET(titles);
    for (fw::NEXT(titles); fw::ERRORCODE() == 0; fw::NEXT(titles)) texts.push_back(STI.Title.Str());
    const int code = fw::ERRORCODE();
    STI = before;
    if (code != fw::RecordNotAvailable) {
        shell::ShowWarningOneText(35, "sTitle");
        return nullptr;
    }
    fw::ClearError();
    kept.list = std::make_shared<const fw::PickList>(std::move(texts), fw::PickList::Duplicates::Drop);
    kept.stamp = std::move(stamp);
    return kept.list;
}

void ForgetSongBasePickLists() { KeptTitles() = {}; }

}  // namespace songbase
