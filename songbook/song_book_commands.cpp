#include "songbook/song_book_commands.h"

namespace songbook {

const std::vector<SongBookCommand>& SongBookCommands() {
    // button, procedure, started, reload the lists, needs listings
    static const std::vector<SongBookCommand> commands{
        {"?CANTORVALE", "AddMfrDiscs", false, true, false},
        {"?ADDTRACKS", "AddSongTracks", false, true, false},
        {"?RENUMBERDISCS:2", "RenumberDiscs", false, true, true},
        {"?IMPORT", "ImportSongListings", false, true, false},
        {"?EXPORT", "ExportSongListings", false, true, true},
        {"?PRINT", "PrintMenu", false, false, true},
        {"?SEARCHMAIN", "SearchSongBase", true, false, false},
        {"?VIEWMAIN", "BrowseSongBase", false, false, false},
    };
    return commands;
}

const std::vector<SongBookMenuItem>& SongBookMenuItems() {
    // item, button, the visible list's Change button, started procedure, needs listings
    static const std::vector<SongBookMenuItem> items{
        {"?SONGBOOKADDDISCS", "?CANTORVALE", false, "", false},
        {"?SONGBOOKADDTRACKS", "?ADDTRACKS", false, "", false},
        {"?RENUMBERDISCS", "?RENUMBERDISCS:2", false, "", true},
        {"?SONGBOOKEDITTRACK", "", true, "", true},
        {"?SONGBOOKDELETETRACKDISC", kDeleteTrackButton, false, "", true},
        {"?SONGBOOKIMPORTIMPORTCSVFILE", "?IMPORT", false, "", false},
        {"?EXPORTTOCSVFILE", "?EXPORT", false, "", false},
        {"?SONGBOOKPRINTPRINTSONGBOOK", "", false, "SongBookDesigner", true},
        {"?SONGBOOKPRINTPRINTDISCLABELS", "", false, "CdLabelSetup", true},
        {"?MAINSONGBASEVIEWEDIT", "?VIEWMAIN", false, "", false},
        {"?MAINSONGBASESEARCH", "?SEARCHMAIN", false, "", false},
    };
    return items;
}

}  // namespace songbook
