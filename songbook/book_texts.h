#pragma once
// The texts of the SongBook File Explorer and its small windows, in one
// place for the service and the windows.

#include <string>
#include <string_view>

namespace songbook::text {

// Requests to select a book first.
inline constexpr std::string_view kSelectToOpen = "Please Select a SongBook to Open";
inline constexpr std::string_view kSelectToRename = "Please Select a SongBook to Rename";
inline constexpr std::string_view kSelectToDelete = "Please Select the SongBook You Wish to Delete";
inline constexpr std::string_view kSelectToMove = "Please Select a SongBook to Move";
inline constexpr std::string_view kSelectToBackup = "Please select a SongBook To Backup.";

// Questions and dialog titles.
inline constexpr std::string_view kConfirmDelete = "Are You Sure You Wish to Delete the SongBook: ";
inline constexpr std::string_view kSelectNewFolder = "Select New Folder";
inline constexpr std::string_view kSelectDestination = "Select Destination Folder";
inline constexpr std::string_view kSelectBackupDestination = "Select Destination Folder for Backup File";
inline constexpr std::string_view kSelectBackupFile = "Select SongBook Backup File to Restore";
inline constexpr std::string_view kBackupFileFilter = "SongBook Backup|*.bkp|All Files|*.*";

// Results of the file operations.
inline constexpr std::string_view kDeleted = "SongBook Successfully Deleted";
inline constexpr std::string_view kMoved = "SongBook Successfully Moved";
inline constexpr std::string_view kUnableToMove = "Unable to Move SongBook to Selected Destination";
inline constexpr std::string_view kRenamed = "SongBook Successfully Renamed";
inline constexpr std::string_view kRenameNameInUse = "SongBook Name Already in Use, Please Select Another Name";
inline constexpr std::string_view kNewNameInUse = "SongBook Name Already in Use";

// Backup and restore.
inline constexpr std::string_view kBackupProgress = "Creating and Storing SongBook Back, One Moment Please...";
inline constexpr std::string_view kBackupCreated = "SongBook Backup Created Successfully";
inline constexpr std::string_view kRestoreProgress = "Restoring SongBook, One Moment Please...";
inline constexpr std::string_view kRestored = "SongBook Successfully Restored";
inline constexpr std::string_view kBackupComment = "Cantorvale V2 DedaDaru Virovir Backup Dated: ";
inline constexpr std::string_view kBackupErrorPrefix = "Error: ";

// Refusals and failures the checked operations add.
inline constexpr std::string_view kUnableToDelete = "Unable to Delete SongBook";
inline constexpr std::string_view kUnableToRename = "Unable to Rename SongBook";
inline constexpr std::string_view kInvalidName = "Please Enter a Valid SongBook Name";
inline constexpr std::string_view kAlreadyInFolder = "The SongBook Is Already in the Selected Folder";
inline constexpr std::string_view kBookInUse = "The SongBook Is in Use";
inline constexpr std::string_view kNoBooksInBackup = "The Backup File Holds No SongBook";
inline constexpr std::string_view kNotSongBookFile = "Not a SongBook File: ";
inline constexpr std::string_view kHalfBookInBackup = "The Backup File Holds Only One File of the SongBook ";
inline constexpr std::string_view kBackupTooLarge = "The Backup File Is Too Large to Restore: ";

// The question asked before a book of the same name is replaced.
inline std::string ReplaceQuestion(std::string_view bookName) {
    return "Replace the Existing SongBook: " + std::string(bookName) + "?";
}

}  // namespace songbook::text
