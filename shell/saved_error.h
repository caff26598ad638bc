#pragma once
// The saved error state: a failure inside a transaction is saved before the
// transaction is rolled back, so that the warning reports the failure and
// not whatever the rollback left. The state itself is the shared globals
// SavedErrorCode, SavedErrorText, SavedFileErrorCode and SavedFileErrorText
// (data_dictionary_globals.h).

#include <functional>
#include <string>

namespace shell {

// Saves ERRORCODE, ERROR, FILEERRORCODE (as a number) and FILEERROR, whatever
// the code, then rolls back the thread's open transaction.
void SaveFileError();

// The rollback SaveFileError runs; the data layer plugs in its ROLLBACK. An
// empty handler restores the default, which does nothing (no transaction can
// be open without the data layer).
void SetRollbackHandler(std::function<void()> handler);

// The error a warning reports, at most kErrorTextLimit characters: the saved
// error when there is one, else the thread's last error; code 90 gives the
// driver's own text and code ("File Not Found (2)", "disk I/O error (10)").
inline constexpr std::size_t kErrorTextLimit = 150;
struct ReportedError {
    std::string text;
    int code = 0;  // the code the text reports (the saved one when there is one)
};
// Composes the reported error and clears the saved state.
ReportedError TakeReportedError();

}  // namespace shell
