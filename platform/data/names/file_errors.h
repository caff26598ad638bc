#pragma once
// The framework's error codes for failed system calls on files, shared by
// the name operations and the comma-delimited and byte-file drivers.

#include <string>

namespace fw {

// 2 File Not Found (the folder exists), 3 Path Not Found, 4 Too Many Open
// Files, 5 Access Denied, 8 Insufficient Memory; anything else 90 with the
// system's own code and text in FILEERRORCODE and FILEERROR.
int SystemErrorCode(int err, const std::string& nativePath);
// Sets the current thread's error state for errno `err` on a path.
void SetSystemError(int err, const std::string& nativePath);

}  // namespace fw
