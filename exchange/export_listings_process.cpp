#include "exchange/export_listings_process.h"

#include "exchange/listing_file.h"
#include "exchange/replacement_file.h"

#include "platform/data/file_ops.h"
#include "platform/data/names/name_ops.h"
#include "platform/data/read_together.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"

#include <optional>
#include <string_view>
#include <vector>

namespace exchange {
namespace {

const std::string kCompletedText = "Export Operation Completed";
constexpr const char* kCancelledText = "Export Operation Cancelled";

std::string ReplaceQuestion(const std::string& name) {
    return name + "|already exists.||Do you want to replace it?";
}

std::string FailureText(const std::string& name, const std::string& why) {
    return "Export failed: " + why + "|The file " + name + " has not been changed.";
}

// The listings the file could only carry with some characters in a near
// form: how many, and the first few named as written.
class NearForms {
public:
    void Note(const ListingFileRec& row) {
        ++count_;
        if (named_.size() >= kNamed) return;
        named_.push_back("\"" + row.TITLE.Str() + "\" by \"" + row.ARTIST.Str() + "\" as \"" + Written(row.TITLE.Clip()) +
                         "\" by \"" + Written(row.ARTIST.Clip()) + "\"");
    }
    // The notice added to the end message; empty when every letter was carried.
    std::string Notice() const {
        if (count_ == 0) return {};
        std::string text = "||" + (count_ == 1 ? std::string("1 listing holds") : std::to_string(count_) + " listings hold") +
                           " characters that the Export File (code page 437)|cannot carry; they have been written in their nearest form:|";
        for (const std::string& n : named_) text += "|" + n;
        if (count_ > static_cast<long>(named_.size()))
            text += "|and " + std::to_string(count_ - static_cast<long>(named_.size())) + " more listings";
        return text;
    }

private:
    static constexpr std::size_t kNamed = 20;
    static std::string Written(std::string_view text) { return fw::OemToAnsi(fw::AnsiToOem(text)); }
    long count_ = 0;
    std::vector<std::string> named_;
};

}  // namespace

shell::PassState WriteListingFile(const std::string& fileName, const ExportSelection& selection) {
    // Written beside the old file, which it replaces only when complete.
    ReplacementFile out(fileName);
    fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl(), kListingFileWrite);
    auto createAndOpen = [&file] {
        fw::CREATE(file);
        if (fw::ERRORCODE() == 0) fw::OPEN(file, fw::ReadWrite | fw::DenyWrite);
    };
    if (out.Begin()) {
        file.name = out.Name();
        createAndOpen();
        if (fw::ERRORCODE() == fw::NoFileErr) createAndOpen();
    }
    if (fw::ERRORCODE() != 0) {
        shell::ActionOutcome() = shell::outcome::Cancelled;
        fw::MESSAGE(FailureText(fileName, fw::ERROR() + " (" + std::to_string(fw::ERRORCODE()) + ")"), {},
                    fw::Icon::Exclamation);
        return shell::PassState::Failed;
    }

    fw::File& book = shell::SongBook();
    shell::ViewSource view(book, book.FindKey("SBK:KTITLE"), shell::ActionMovesKey::No);
    view.joins = [](fw::View& v) { v.Join(shell::SBDiscs().FindKey("SBD:KUNQDISKID"), {"SBK:UnqDiskID"}); };
    shell::ProgressPlan plan(view);
    plan.estimate = [&book] { return fw::RECORDS(book); };
    plan.texts.caption = "Exporting Song Listings...";
    plan.quickScan = {&book, &shell::SBDiscs()};
    // A slice's reads (the listings and each one's disc) share one read of
    // both files instead of taking their locks once a read; the slice ends
    // it, so no lock outlives a timer event.
    plan.measure = shell::ByRecords(kExportRowsPerSlice);
    std::optional<fw::ReadTogether> together;
    plan.sliceStart = [&together] {
        together.emplace({&shell::SongBook(), &shell::SBDiscs()});
        return shell::PassState::Running;
    };
    plan.sliceEnd = [&together] {
        together.reset();
        return shell::PassState::Running;
    };
    std::string writeError;
    NearForms nearForms;
    plan.action = [&] {
        if (selection && !selection()) return shell::PassState::Running;
        FillFromBook(file.rec);
        fw::APPEND(file);
        if (!file.Unstorable().empty()) nearForms.Note(file.rec);
        if (fw::ERRORCODE() == 0) return shell::PassState::Running;
        writeError = fw::ERROR();
        return shell::PassState::Failed;
    };
    shell::PassState state = shell::RunProgressProcess(plan);

    fw::CLOSE(file);  // the rest written and synced
    if (writeError.empty() && fw::ERRORCODE() != 0) writeError = fw::ERROR();
    if (!writeError.empty()) {
        state = shell::PassState::Failed;
    } else if (state == shell::PassState::Failed) {
        writeError = "the SongBook could not be read to its end";
    }
    if (state == shell::PassState::NothingToDo) state = shell::PassState::Completed;  // an empty book: an empty file
    if (state == shell::PassState::Completed && !out.PutInPlace()) {
        state = shell::PassState::Failed;
        writeError = fw::ERROR();
    }
    shell::ActionOutcome() = state == shell::PassState::Completed ? shell::outcome::Completed : shell::outcome::Cancelled;

    if (state == shell::PassState::Completed) fw::MESSAGE(kCompletedText + nearForms.Notice());
    else if (state == shell::PassState::Failed) fw::MESSAGE(FailureText(fileName, writeError), {}, fw::Icon::Exclamation);
    else fw::MESSAGE(kCancelledText);
    return state;
}

shell::PassState ExportSongListingsProcess(const ExportSelection& selection) {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    std::string name;
    if (!fw::FILEDIALOG("Enter Name of Export File", name, "Export File|*.CSV;*.csv|All Files|*.*",
                        fw::FileDialogFlag::Save | fw::FileDialogFlag::LongName))
        return shell::PassState::NothingToDo;
    name = ExportFileNameFor(name);
    if (fw::EXISTS(name) && fw::MESSAGE(ReplaceQuestion(name), {}, fw::Icon::Question, fw::Button::Yes + fw::Button::No,
                                        fw::Button::No) != fw::Button::Yes)
        return shell::PassState::NothingToDo;
    return WriteListingFile(name, selection);
}

}  // namespace exchange
