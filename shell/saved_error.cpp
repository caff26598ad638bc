#include "shell/saved_error.h"

#include "shell/data_dictionary_globals.h"

#include "platform/runtime/error_state.h"
#include "platform/text/numbers.h"
#include "platform/text/strings.h"

#include <utility>

namespace shell {
namespace {

std::function<void()>& Rollback() {
    static std::function<void()> handler = [] {};
    return handler;
}

std::string WithCode(std::string_view text, std::string_view code) {
    return fw::CLIP(text) + " (" + std::string(code) + ")";
}

}  // namespace

void SetRollbackHandler(std::function<void()> handler) {
    Rollback() = handler ? std::move(handler) : std::function<void()>([] {});
}

void SaveFileError() {
    SavedErrorCode = fw::ERRORCODE();
    SavedErrorText = fw::ERROR();
    SavedFileErrorCode = static_cast<std::int32_t>(fw::NumericValue(fw::FILEERRORCODE()));
    SavedFileErrorText = fw::FILEERROR();
    const std::function<void()> rollback = Rollback();
    rollback();
}

ReportedError TakeReportedError() {
    ReportedError r;
    if (SavedErrorCode != 0) {
        r.code = SavedErrorCode;
        r.text = SavedErrorCode == fw::FileSystemErr
                     ? WithCode(SavedFileErrorText.View(), fw::NumberText(SavedFileErrorCode))
                     : WithCode(SavedErrorText.View(), fw::NumberText(SavedErrorCode));
    } else {
        r.code = fw::ERRORCODE();
        r.text = r.code == fw::FileSystemErr ? WithCode(fw::FILEERROR(), fw::CLIP(fw::FILEERRORCODE()))
                                             : WithCode(fw::ERROR(), fw::NumberText(r.code));
    }
    if (r.text.size() > kErrorTextLimit) r.text.resize(kErrorTextLimit);
    SavedErrorCode = SavedFileErrorCode = 0;
    SavedErrorText.Clear();
    SavedFileErrorText.Clear();
    return r;
}

}  // namespace shell
