#include "songbase/song_base_rows.h"

#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

void JoinBrand(fw::View& view) { view.Join(shell::DMake().FindKey("BRA:KMAKEID"), {"KAR:MAKEID"}); }

fw::ui::ListRow TrackColumns() {
    return {KAR.Title.Str(), KAR.Artist.Str(), BRA.MAKE.Str(), KAR.DISKID.Str(), std::to_string(KAR.DiskTrackNo)};
}

}  // namespace songbase
