#include "shell/warnings.h"

#include "scripted_messages.h"
#include "shell/data_dictionary_globals.h"
#include "shell/saved_error.h"

#include "platform/runtime/error_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace {

using shell::MessageIcon;
namespace button = shell::button;

class WarningsTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::InitialiseSharedGlobals();
        fw::ClearError();
    }
    void TearDown() override {
        shell::SetRollbackHandler(nullptr);
        shell::InitialiseSharedGlobals();
        fw::ClearError();
    }

    // Shows the warning; returns the halt text, or nothing when it returned.
    std::optional<std::string> Show(int number, std::string_view t1, std::string_view t2, int* result = nullptr) {
        try {
            const int r = shell::ShowWarning(number, t1, t2);
            if (result) *result = r;
            return std::nullopt;
        } catch (const HaltCaught& h) {
            return h.text;
        }
    }
    const ShownMessage& Last() const { return messages.shown.back(); }

    ScriptedMessages messages;
};

constexpr int kYesNo = button::Yes + button::No;
constexpr int kYesNoCancel = button::Yes + button::No + button::Cancel;
constexpr int kOKCancel = button::OK + button::Cancel;

struct WarningCase {
    int number;
    const char* t1;
    const char* t2;
    const char* caption;
    const char* text;
    MessageIcon icon;
    int buttons;
    int defaultButton;
    const char* halt;  // the halt after the default answer, or nullptr
};

// Every warning with the error File Not Found (2) standing and texts with
// trailing blanks, answered with its default button.
const WarningCase kCases[] = {
    {1, "/songs/MAIN.TPS  ", "", "Invalid File",
     "Error: (File Not Found (2)) accessing /songs/MAIN.TPS.  Press OK to end this application.",
     MessageIcon::Exclamation, button::OK, button::OK, "Invalid File!"},
    {2, "SongBook  ", "", "Invalid Key", "SongBook key file is invalid.  Do you want to rebuild the key?",
     MessageIcon::Question, kYesNo, button::Yes, nullptr},
    {3, "SongBook", "", "Key Rebuild Error",
     "Error: (File Not Found (2)) repairing key for SongBook.  Press OK to end this application.",
     MessageIcon::Exclamation, button::OK, button::OK, "Error Rebuilding Key!"},
    {4, "/songs/MAKEID.TPS", "", "File Creation Error",
     "Error: (File Not Found (2)) creating /songs/MAKEID.TPS.  Press OK to end this application.",
     MessageIcon::Exclamation, button::OK, button::OK, "File Creation Error!"},
    {5, "/songs/DISCS.TPS", "", "File Creation Error",
     "Error: (File Not Found (2)) opening created file:/songs/DISCS.TPS.  Press OK to end this application.",
     MessageIcon::Exclamation, button::OK, button::OK, "File Creation Error!"},
    {14, "", "", "Record Insert Error",
     "An error was experienced during the update of record.  Error: File Not Found (2).", MessageIcon::Exclamation,
     button::OK, button::OK, nullptr},
    {15, "SongBook ", "", "Update Operation Error",
     "An error (File Not Found (2)) was experienced when attempting to update a record from the file.  "
     "Probable Cause: SongBook.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {16, "", "", "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?", MessageIcon::Exclamation,
     kYesNoCancel, button::Cancel, nullptr},
    {17, "SBDiscs ", "", "Delete Operation Error",
     "An error (File Not Found (2)) was experienced when attempting to delete a record from the file SBDiscs.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {18, "", "", "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", MessageIcon::Exclamation,
     kYesNoCancel, button::Cancel, nullptr},
    {19, "", "", "Invalid Request",
     "This procedure was called to insert a record, however inserts are not allowed for this procedure.  "
     "Press OK to return to the calling procedure",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {21, "", "", "Invalid Request",
     "This procedure was called to delete a record, however deletions are not allowed for this procedure.  "
     "Press OK to return to the calling procedure",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {24, "SBK:KUnqDiskID ", "", "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key:SBK:KUnqDiskID", MessageIcon::Exclamation,
     button::OK, button::OK, nullptr},
    {30, "/books/Party.2bk ", "", "File Access Error",
     "File (/books/Party.2bk) could not be opened.  Error: File Not Found (2).", MessageIcon::Exclamation,
     button::OK, button::OK, nullptr},
    {31, "Put", "SongBook ", "Process PUT Error",
     "An error was experienced when making changes to the SongBook file.  Error: File Not Found (2)",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {31, "Delete", "SongBook", "Process DELETE Error",
     "An error was experienced when deleting a record from the SongBook file.  Error: File Not Found (2)",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {31, "put", "SongBook", "Process DELETE Error",
     "An error was experienced when deleting a record from the SongBook file.  Error: File Not Found (2)",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {32, "", "", "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
     MessageIcon::Question, kOKCancel, button::Cancel, nullptr},
    {33, "", "", "Update Cancelled", "Do you want to save the changes to this record?", MessageIcon::Question,
     kYesNoCancel, button::No, nullptr},
    {34, "Delete ", "SongBook ", "Transaction Framing Error",
     "Error: (File Not Found (2)) attempting to frame the delete transaction on SongBook.  "
     "Delete transaction cancelled.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {35, "Genre", "", "Record Retrieval Error",
     "Error: (File Not Found (2)) attempting to access a record from the Genre file.  Returning to previous window.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {36, "", "", "View Open Error",
     "Error: (File Not Found (2)) attempting to open the current VIEW. Filter and Range Limits ignored.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
    {38, "", "", "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or "
     "Ctrl+' to recall your changes.",
     MessageIcon::Exclamation, button::OK, button::OK, nullptr},
};

TEST_F(WarningsTest, EveryWarningsCaptionTextIconButtonsAndHalt) {
    for (const WarningCase& c : kCases) {
        SCOPED_TRACE(c.number);
        fw::SetError(fw::NoFileErr);
        int result = -1;
        const auto halt = Show(c.number, c.t1, c.t2, &result);
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(Last().caption, c.caption);
        EXPECT_EQ(Last().text, c.text);
        EXPECT_EQ(Last().icon, c.icon);
        EXPECT_EQ(Last().buttons, c.buttons);
        EXPECT_EQ(Last().defaultButton, c.defaultButton);
        if (c.halt) {
            EXPECT_EQ(halt, c.halt);
        } else {
            EXPECT_EQ(halt, std::nullopt);
            EXPECT_EQ(result, c.defaultButton);
        }
    }
    // The table covers every warning there is, and only those.
    std::set<int> tabled, declared;
    for (const WarningCase& c : kCases) tabled.insert(c.number);
    for (const shell::Warning& w : shell::Warnings()) declared.insert(w.number);
    EXPECT_EQ(tabled, declared);
}

TEST_F(WarningsTest, QuestionsReturnTheButtonPressedAndKeyRebuildHaltsOnNo) {
    struct Case { int number; int answer; const char* halt; };
    const Case cases[] = {
        {2, button::Yes, nullptr}, {2, button::No, "Invalid Key!"},
        {16, button::Yes, nullptr}, {16, button::No, nullptr}, {16, button::Cancel, nullptr},
        {18, button::Yes, nullptr}, {32, button::OK, nullptr}, {32, button::Cancel, nullptr},
        {33, button::Yes, nullptr}, {33, button::No, nullptr}, {33, button::Cancel, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " answered " << c.answer);
        messages.answers = {c.answer};
        int result = -1;
        const auto halt = Show(c.number, "SongBook", "", &result);
        if (c.halt) {
            EXPECT_EQ(halt, c.halt);
        } else {
            EXPECT_EQ(halt, std::nullopt);
            EXPECT_EQ(result, c.answer);
        }
    }
}

TEST_F(WarningsTest, ShorterFormsPassEmptyTexts) {
    fw::SetError(fw::NoFileErr);
    shell::ShowWarningOneText(31, "Put");
    EXPECT_EQ(Last().text, "An error was experienced when making changes to the  file.  Error: File Not Found (2)");
    fw::SetError(fw::NoFileErr);
    shell::ShowWarningNoText(30);
    EXPECT_EQ(Last().text, "File () could not be opened.  Error: File Not Found (2).");
}

TEST_F(WarningsTest, SavedErrorWinsOverTheRollbacksErrorAndIsClearedAfterAnyWarning) {
    // The rollback leaves an error of its own behind.
    shell::SetRollbackHandler([] { fw::SetError(fw::NotOpenErr); });
    fw::SetError(fw::RecordNotAvailable);
    shell::SaveFileError();
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);
    Show(17, "SongBook", "");
    EXPECT_EQ(Last().text,
              "An error (Record Not Available (33)) was experienced when attempting to delete a record from the file "
              "SongBook.");
    EXPECT_EQ(shell::SavedErrorCode, 0);
    EXPECT_EQ(shell::SavedErrorText.View(), "");
    // Nothing saved now: the next warning reports the current error.
    Show(17, "SongBook", "");
    EXPECT_EQ(Last().text,
              "An error (File Not Open (37)) was experienced when attempting to delete a record from the file SongBook.");

    // A warning that does not show the error clears the saved state too.
    fw::SetError(fw::DupKeyErr);
    shell::SaveFileError();
    Show(33, "", "");
    EXPECT_EQ(shell::SavedErrorCode, 0);
    // So does a number that is no warning, which shows nothing.
    fw::SetError(fw::DupKeyErr);
    shell::SaveFileError();
    const std::size_t shown = messages.shown.size();
    int result = -1;
    EXPECT_EQ(Show(37, "", "", &result), std::nullopt);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages.shown.size(), shown);
    EXPECT_EQ(shell::SavedErrorCode, 0);
}

TEST_F(WarningsTest, SaveFileErrorSavesAllFourBeforeTheRollback) {
    int savedAtRollback = -1;
    shell::SetRollbackHandler([&] { savedAtRollback = shell::SavedErrorCode; });
    fw::SetFileError(fw::FileSystemErr, "778", "disk I/O error");
    shell::SaveFileError();
    EXPECT_EQ(savedAtRollback, 90);
    EXPECT_EQ(shell::SavedErrorText.View(), "File System Error");
    EXPECT_EQ(shell::SavedFileErrorCode, 778);
    EXPECT_EQ(shell::SavedFileErrorText.View(), "disk I/O error");
}

TEST_F(WarningsTest, FileSystemErrorsShowTheDriversTextAndCode) {
    // Saved: the driver's text and code as saved.
    fw::SetFileError(fw::FileSystemErr, "10", "disk I/O error   ");
    shell::SaveFileError();
    fw::SetError(fw::NoFileErr);
    Show(35, "SongBook", "");
    EXPECT_EQ(Last().text,
              "Error: (disk I/O error (10)) attempting to access a record from the SongBook file.  "
              "Returning to previous window.");
    // Not saved: the current driver text and code.
    fw::SetFileError(fw::FileSystemErr, "13 ", "database or disk is full");
    Show(35, "SongBook", "");
    EXPECT_EQ(Last().text,
              "Error: (database or disk is full (13)) attempting to access a record from the SongBook file.  "
              "Returning to previous window.");
}

TEST_F(WarningsTest, UpdateErrorIsShortWhenAnotherStationChangedTheRecord) {
    const std::string shortText = "This record was changed by another station.";
    const std::string longText =
        "An error (Creates Duplicate Key (40)) was experienced when attempting to update a record from the file.  "
        "Probable Cause: SongBook.";
    fw::SetError(fw::RecordChangedErr);
    Show(15, "SongBook", "");
    EXPECT_EQ(Last().text, shortText);
    EXPECT_EQ(Last().caption, "Update Operation Error");
    fw::ClearError();
    Show(15, "SongBook", "");
    EXPECT_EQ(Last().text, shortText);
    // The saved code decides, not the one the rollback left.
    fw::SetError(fw::RecordChangedErr);
    shell::SaveFileError();
    fw::SetError(fw::DupKeyErr);
    Show(15, "SongBook", "");
    EXPECT_EQ(Last().text, shortText);
    fw::SetError(fw::DupKeyErr);
    shell::SaveFileError();
    fw::SetError(fw::RecordChangedErr);
    Show(15, "SongBook", "");
    EXPECT_EQ(Last().text, longText);
}

TEST_F(WarningsTest, ErrorTextIsCutAndPassedTextsAreNotPlaceholders) {
    fw::SetFileError(fw::FileSystemErr, "1", std::string(200, 'x'));
    Show(14, "", "");
    EXPECT_EQ(Last().text, "An error was experienced during the update of record.  Error: " + std::string(150, 'x') + ".");
    fw::SetError(fw::NoFileErr);
    Show(34, "{E}", "{T1}");
    EXPECT_EQ(Last().text,
              "Error: (File Not Found (2)) attempting to frame the {e} transaction on {T1}.  {E} transaction cancelled.");
}

TEST(HaltTest, AHaltHandlerThatReturnsStillEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            shell::SetHaltHandler([](std::string_view) {});
            shell::Halt("Disk Error");
        },
        ::testing::ExitedWithCode(1), "Halt: Disk Error");
}

}  // namespace
