#include "exchange/export_listings_process.h"

#include "exchange/listing_file.h"

#include "platform/data/file_ops.h"
#include "platform/data/names/name_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"

namespace exchange {
namespace {

constexpr const char* kCompletedText = "Export Operation Completed";
constexpr const char* kCancelledText = "Export Operation Cancelled";

std::string ReplaceQuestion(const std::string& name) {
    return name + "|already exists.||Do you want to replace it?";
}

std::string FailureText(const std::string& name, const std::string& why) {
    return "Export failed: " + why + "|The file " + name + " is not complete.";
}

}  // namespace

shell::PassState WriteListingFile(const std::string& fileName, const ExportSelection& selection) {
    fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl(), kListingFileWrite);
    file.name = fileName;
    auto createAndOpen = [&file] {
        fw::CREATE(file);
        if (fw::ERRORCODE() == 0) fw::OPEN(file, fw::ReadWrite | fw::DenyWrite);
    };
    createAndOpen();
    if (fw::ERRORCODE() == fw::NoFileErr) createAndOpen();
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
    std::string writeError;
    plan.action = [&] {
        if (selection && !selection()) return shell::PassState::Running;
        FillFromBook(file.rec);
        fw::APPEND(file);
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
    shell::ActionOutcome() = state == shell::PassState::Completed ? shell::outcome::Completed : shell::outcome::Cancelled;

    if (state == shell::PassState::Completed) fw::MESSAGE(kCompletedText);
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
