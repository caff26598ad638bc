#pragma once
// MESSAGE: the framework's message box, shown without a nested event loop.
//
//   if (fw::MESSAGE("Delete this listing?", "Confirm", fw::Icon::Question,
//                   fw::Button::Yes + fw::Button::No, fw::Button::No) == fw::Button::Yes) ...
//   int choice = fw::MESSAGE(text, caption, fw::Icon::Question,
//                            "&This Listing|&Entire Disc|&Cancel", 1);  // 1..3
//
// "|" in the text starts a new line ("||" leaves an empty one).

#include <string>
#include <string_view>

namespace fw {

namespace Icon {
inline constexpr const char* None = "";
inline constexpr const char* Hand = "\xFF\x01\x02\x7F";  // stop
inline constexpr const char* Question = "\xFF\x01\x03\x7F";
inline constexpr const char* Exclamation = "\xFF\x01\x04\x7F";
inline constexpr const char* Asterisk = "\xFF\x01\x05\x7F";  // information
}  // namespace Icon

namespace Button {
enum : int { Ok = 1, Yes = 2, No = 4, Abort = 8, Retry = 16, Ignore = 32, Cancel = 64, Help = 128 };
}

namespace MessageStyle {
// Blocks every thread's windows, not only the caller's.
inline constexpr int SystemModal = 1;
}

// Buttons as a sum of Button values, or as a "|" list of texts.
struct MessageButtons {
    MessageButtons(int sum) : values(sum) {}  // NOLINT
    MessageButtons(const char* list) : texts(list ? list : "") {}  // NOLINT
    MessageButtons(std::string_view list) : texts(list) {}  // NOLINT
    MessageButtons(const std::string& list) : texts(list) {}  // NOLINT
    int values = 0;
    std::string texts;
};

// Returns the value of the button pressed (value buttons) or its position
// from 1 (text buttons). The default is a value, or a position; 0 is the
// first button. Closing the box answers Cancel (or No, or a text button
// reading "Cancel") where offered, else the default.
// The caption of a box whose caller gives none: the program's name.
void SetDefaultMessageCaption(std::string caption);

int MESSAGE(std::string_view text, std::string_view caption = {}, std::string_view icon = {},
            MessageButtons buttons = Button::Ok, int defaultButton = 0, int style = 0);

}  // namespace fw
