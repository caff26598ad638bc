#include "platform/runtime/error_state.h"

#include "platform/runtime/thread_context.h"

namespace fw {
namespace {
struct ErrorState {
    int code = 0;
    std::string text;
    std::string fileCode;
    std::string fileText;
};
ErrorState& State() { return ThreadSlot<ErrorState>(); }
}  // namespace

std::string ErrorText(int code) {
    switch (code) {
    case 0: return "";
    case 2: return "File Not Found";
    case 3: return "Path Not Found";
    case 4: return "Too Many Open Files";
    case 5: return "Access Denied";
    case 8: return "Insufficient Memory";
    case 30: return "Entry Not Found";
    case 32: return "File Is Already Locked";
    case 33: return "Record Not Available";
    case 35: return "Record Not Found";
    case 37: return "File Not Open";
    case 40: return "Creates Duplicate Key";
    case 45: return "Invalid Key Length";
    case 46: return "Key File Must Be Rebuilt";
    case 47: return "Invalid Record Declaration";
    case 52: return "File Already Open";
    case 56: return "LOGOUT Already Active";
    case 57: return "Invalid Memo File";
    case 75: return "Invalid Field Type Descriptor";
    case 89: return "Record Changed By Another Station";
    case 90: return "File System Error";
    case 91: return "No Logout Active";
    case 800: return "Bad Filter Expression";
    case 801: return "Unknown Name In Filter";
    default: return "Error " + std::to_string(code);
    }
}

int ERRORCODE() { return State().code; }
std::string ERROR() { return State().text; }
std::string FILEERRORCODE() { return State().fileCode; }
std::string FILEERROR() { return State().fileText; }

void SetError(int code) {
    ErrorState& s = State();
    s.code = code;
    s.text = ErrorText(code);
    s.fileCode.clear();
    s.fileText.clear();
}

void SetFileError(int code, std::string_view driverCode, std::string_view driverText) {
    ErrorState& s = State();
    s.code = code;
    s.text = ErrorText(code);
    s.fileCode = driverCode;
    s.fileText = driverText;
}

void ClearError() { SetError(0); }

void SetErrorText(std::string_view text) { State().text = text; }

}  // namespace fw
