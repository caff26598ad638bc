#pragma once
// File-system helpers of the archive layer: the program's Windows-1252
// paths to paths on disk, temporary files beside their target, durable
// renames.

#include <string>
#include <string_view>

namespace fw::archive_files {

// The path on disk for a program path (Windows-1252, either separator),
// with names found case-insensitively.
std::string DiskPath(std::string_view ansiPath);
// A path on disk back in the program's text.
std::string ProgramPath(const std::string& diskPath);

// The folder part of a path on disk ("." for a bare name).
std::string FolderOf(const std::string& diskPath);

// Creates a new, empty temporary file in `folder`, named for `what` as
// temp_files.h gives (permissions as for any new file). Returns its
// descriptor, or -1 with errno set; `path` receives its name.
int CreateTempFile(const std::string& folder, std::string_view what, std::string& path);
// A temporary file's name for `what` in `folder` that no file has now.
std::string UnusedName(const std::string& folder, std::string_view what);

// Flushes a file or a folder's entries to disk. False with errno set.
bool SyncFile(const std::string& path);
bool SyncFolder(const std::string& folder);

// Renames without ever replacing an existing `to`. False with errno set.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Copies the bytes of `from` to the open descriptor `fd`. False with errno set.
bool CopyInto(const std::string& from, int fd);

// The system's text for errno.
std::string SystemErrorText(int error);

}  // namespace fw::archive_files
