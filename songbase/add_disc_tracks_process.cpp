#include "songbase/add_disc_tracks_process.h"

#include "platform/data/read_together.h"
#include "platform/text/clock.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_pass.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace songbase {

namespace {

// Height of the window with Details shown; taller when discs were not added.
constexpr int kDetailsHeight = 114;
constexpr int kDetailsWithListHeight = 170;
constexpr int kDetailsWithListWidth = 320;
// The counts are redrawn at most this often while the worker runs.
constexpr auto kRedrawEvery = std::chrono::milliseconds(50);

void HandBack(std::vector<shell::TagEntry>& tags, const std::weak_ptr<shell::TagList>& owner) {
    const std::shared_ptr<shell::TagList> list = owner.lock();
    if (!list) return;
    for (shell::TagEntry& e : tags)
        if (!list->FindDisc(e.unq)) list->Add(std::move(e));
}

std::string NotAddedRows(const CopyCounts& counts) {
    std::string rows;
    for (const DiscNotAdded& d : counts.notAdded) {
        std::string row = d.unq + " (" + d.alt + "): " + d.reason;
        for (char& c : row)
            if (c == '|') c = '/';
        if (!rows.empty()) rows += '|';
        rows += row;
    }
    return rows;
}

}  // namespace

std::string BookNotOpenText(std::string_view problem) {
    return "The SongBook could not be opened, so no disc has been added.|" + std::string(problem) +
           "||Your tagged disc(s) are kept; close this message and try again.";
}

void AddDiscTracksProcess(BookFiles book, std::vector<shell::TagEntry> tags, std::weak_ptr<shell::TagList> owner) {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    std::string problem;
    DiscTrackCopier copier(book);
    if (book.listings.empty() || book.discs.empty()) problem = "No SongBook is open.";
    else copier.Open(&problem);
    if (!problem.empty()) {
        HandBack(tags, owner);
        fw::MESSAGE(BookNotOpenText(problem), kBookNotOpenCaption, fw::Icon::Exclamation, fw::Button::Ok);
        return;
    }
    shell::FileUse karaoke(shell::KaraokeFile());

    std::uint8_t percentShown = 0;
    std::int32_t tracksAdded = 0;
    std::int32_t duplicateTracks = 0;
    std::int32_t discsNotAdded = 0;
    fw::Window window{std::string(kAddDiscTracksWindow)};
    window.Use("?PROGRESS:THERMOMETER", percentShown);
    window.Use("?TRACKSADDED", tracksAdded);
    window.Use("?DUPTRACKS", duplicateTracks);
    window.Use("?DISCSNOTADDED", discsNotAdded);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    fw::SetProp({}, fw::Prop::Text, std::string(kAddDiscTracksCaption));
    fw::SetProp("?PROGRESS:PCTTEXT", fw::Prop::Text, "0% Completed");
    fw::DISPLAY();

    // All the work happens before the window takes any input.
    CopyCounts counts;
    const long total = static_cast<long>(tags.size());
    const auto today = static_cast<std::int32_t>(fw::TODAY());
    copier.Expect(static_cast<int>(total));
    auto lastDrawn = std::chrono::steady_clock::now();
    // The song base is read under one read lock from one redraw to the next
    // (a redraw lets other windows run, so no lock is held across it).
    std::optional<fw::ReadTogether> reading;
    for (const shell::TagEntry& tag : tags) {
        if (!reading) reading.emplace(std::initializer_list<fw::File*>{&shell::KARAOKE()});
        copier.AddDisc(tag, today, counts);
        tracksAdded = counts.tracksAdded;
        duplicateTracks = counts.duplicateTracks;
        discsNotAdded = static_cast<std::int32_t>(counts.notAdded.size());
        const int percent = shell::ProgressPass::Percent(counts.discsDone, total);
        const auto now = std::chrono::steady_clock::now();
        if (percent != percentShown) {
            percentShown = static_cast<std::uint8_t>(percent);
            fw::SetProp("?PROGRESS:PCTTEXT", fw::Prop::Text, shell::ProgressPass::PercentText(percent));
        } else if (now - lastDrawn < kRedrawEvery) {
            continue;
        }
        lastDrawn = now;
        reading.reset();
        fw::DISPLAY();
    }
    reading.reset();
    copier.Finish(counts);
    copier.Close();
    tracksAdded = counts.tracksAdded;
    duplicateTracks = counts.duplicateTracks;
    discsNotAdded = static_cast<std::int32_t>(counts.notAdded.size());
    tags.clear();

    fw::SetProp("?NOTADDED", fw::Prop::From, NotAddedRows(counts));
    if (counts.notAdded.empty()) fw::HIDE("?NOTADDED");
    fw::UNHIDE("?RESULTS");
    fw::UNHIDE("?B1");
    fw::DISPLAY();
    if (counts.tracksAdded > 0) shell::ActionOutcome() = shell::outcome::Completed;
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?RESULTS") {
            // Below the window until it grows to show it.
            fw::UNHIDE("?DETAILS");
            if (counts.notAdded.empty()) {
                fw::SetProp({}, fw::Prop::Height, kDetailsHeight);
            } else {
                // Wide enough to read why each disc was not added.
                fw::SetProp({}, fw::Prop::Height, kDetailsWithListHeight);
                fw::SetProp({}, fw::Prop::Width, kDetailsWithListWidth);
                fw::SetProp("?DETAILS", fw::Prop::Width, kDetailsWithListWidth - 8);
                fw::SetProp("?NOTADDED", fw::Prop::Width, kDetailsWithListWidth - 16);
                fw::SetProp("?NOTADDED", fw::Prop::Format, std::to_string(kDetailsWithListWidth - 24) + "L(2)");
            }
            fw::DISPLAY();
        }
        if (fw::FIELD() == "?B1" && fw::EVENT() != 0) break;
    }
}

}  // namespace songbase
