#pragma once
// What the referential-integrity procedures report, and the step every one
// of their failures inside a transaction takes.

namespace shell {

namespace integrity {
inline constexpr long Done = 0;
inline constexpr long Failed = 1;            // reported; nothing changed
inline constexpr long ChangedByAnother = 2;  // reported; the buffer holds the stored version
// How long LOGOUT waits for other writers, in seconds.
inline constexpr int kLogoutSeconds = 2;
}  // namespace integrity

// Saves the error state (SaveFileError) and makes sure the thread's
// transaction is rolled back, whatever rollback handler is plugged in.
void SaveErrorAndRollBack();

}  // namespace shell
