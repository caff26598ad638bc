#pragma once
// The framework's error state, kept per thread: ERRORCODE() and ERROR()
// after every file, queue and path operation, FILEERRORCODE() and
// FILEERROR() for the driver's own code and text (error 90).

#include <string>
#include <string_view>

namespace fw {

// Error codes the program tests.
enum ErrorCode : int {
    NoError = 0,
    NoFileErr = 2,            // File Not Found
    PathErr = 3,              // Path Not Found
    NoAccessErr = 5,          // Access Denied
    IsLockedErr = 32,         // File Is Already Locked
    RecordNotAvailable = 33,  // Record Not Available
    BadRecErr = 35,           // Record Not Found
    DupKeyErr = 40,           // Creates Duplicate Key
    BadKeyErr = 45,           // Invalid Key Length / bad key
    NeedRebuildErr = 46,      // Key File Must Be Rebuilt
    InvalidFileErr = 47,      // Invalid Record Declaration
    IsOpenErr = 52,           // File Already Open
    NotOpenErr = 37,          // File Not Open
    RecordChangedErr = 89,    // Record Changed By Another Station
    FileSystemErr = 90,       // File System Error
};

int ERRORCODE();
std::string ERROR();
std::string FILEERRORCODE();
std::string FILEERROR();

// The framework's text for a code ("File Not Found" ...).
std::string ErrorText(int code);

// Sets the current thread's error state; code 0 clears it.
void SetError(int code);
// Sets error 90 (or another code) with the driver's own code and text.
void SetFileError(int code, std::string_view driverCode, std::string_view driverText);
void ClearError();
// Replaces ERROR()'s text for the error just set, where the framework's text
// alone would not say enough (a driver's read error with its line number).
void SetErrorText(std::string_view text);

}  // namespace fw
