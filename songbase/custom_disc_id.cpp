#include "songbase/custom_disc_id.h"

#include "platform/data/file_ops.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/text/strings.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/warnings.h"
#include "songbase/custom_disc_ids.h"

#include <algorithm>
#include <string>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kIdEntry = "?DISKID";
constexpr const char* kGenreCombo = "?QUEGENRE";

// Every genre of the Genre file, sorted; false (warning 35 shown) on a read error.
bool ReadGenres(std::vector<std::string>& out) {
    fw::File& genres = shell::Genre();
    fw::SET(genres);
    for (fw::NEXT(genres); fw::ERRORCODE() == 0; fw::NEXT(genres)) out.push_back(GEN.GENRE.Str());
    if (fw::ERRORCODE() != fw::RecordNotAvailable) {
        shell::ShowWarningOneText(35, "Genre");
        return false;
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const std::string& a, const std::string& b) { return fw::CompareFolded(a, b) < 0; });
    return true;
}

// The genre as the list spells it, or nothing when the typed text is in
// no entry (letter case ignored); a blank genre is no genre.
std::optional<std::string> GenreOfList(const std::vector<std::string>& genres, std::string_view typed) {
    if (fw::CLIP(typed).empty()) return std::string();
    for (const std::string& g : genres)
        if (fw::CompareFolded(g, typed) == 0) return g;
    return std::nullopt;
}

std::string JoinRows(const std::vector<std::string>& rows) {
    std::string out;
    for (const std::string& r : rows) {
        if (!out.empty()) out += '|';
        out += r;
    }
    return out;
}

}  // namespace

std::optional<shell::TagEntry> CustomDiscId(std::string_view unq, const shell::TagList& tags) {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    shell::TagEntry entry{std::string(fw::CLIP(unq)), ClipCustomId(unq), 0, {}};
    if (SKIPALTDISKID == 1) {
        shell::DialogCancelled = 0;
        return entry;
    }
    shell::DialogCancelled = 1;
    shell::FileUse genreFile(shell::GenreFile());
    shell::FileUse discFile(shell::SBDiscsFile());

    fw::FString<15> diskId{entry.alt};
    fw::FString<40> genre;
    fw::FString<40> message;
    std::vector<std::string> genres;
    bool confirmed = false;

    fw::Window window{std::string(kCustomDiscIdWindow)};
    window.Use(kIdEntry, diskId);
    window.Use(kGenreCombo, genre);
    window.Use("?MESSAGE", message);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if (event == fw::Event::OpenWindow) {
            if (!ReadGenres(genres)) {
                fw::POST(fw::Event::CloseWindow);
                continue;
            }
            fw::SetProp(kGenreCombo, fw::Prop::From, JoinRows(genres));
            fw::DISPLAY();
            fw::SELECT(kIdEntry);
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == 0) continue;
        if (accepted == kGenreCombo) {
            if (const auto g = GenreOfList(genres, genre.Clip())) {
                genre = *g;
                fw::DISPLAY(kGenreCombo);
            } else {
                fw::SELECT(kGenreCombo);
            }
        } else if (accepted == kIdEntry) {
            // A warning about the ID it held no longer applies.
            message.Clear();
            fw::DISPLAY("?MESSAGE");
        } else if (accepted == "?BUTTON3") {
            // AutoNumber: a free number, so no warning stands; the edited
            // genre stays as chosen.
            diskId = std::to_string(NextCustomNumber(tags));
            message.Clear();
            fw::DISPLAY();
        } else if (accepted == "?OKBUTTON") {
            const auto g = GenreOfList(genres, genre.Clip());
            if (!g) {
                fw::SELECT(kGenreCombo);
                continue;
            }
            if (const CustomIdProblem problem = CheckCustomId(diskId.Clip(), tags, entry.unq);
                problem != CustomIdProblem::None) {
                fw::BEEP();
                message = CustomIdProblemText(problem);
                fw::DISPLAY("?MESSAGE");
                fw::SELECT(kIdEntry);
                continue;
            }
            entry.alt = ClipCustomId(diskId.Clip());
            entry.genre = *g;
            confirmed = true;
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?CANCELBUTTON") {
            fw::POST(fw::Event::CloseWindow);
        }
    }
    if (!confirmed) return std::nullopt;
    shell::DialogCancelled = 0;
    return entry;
}

}  // namespace songbase
