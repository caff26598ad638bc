#pragma once
// The message box and the halt the program's own services go through.
// Both are replaceable: the window runtime plugs in its MESSAGE and HALT,
// tests script the answers and catch the halt.

#include <functional>
#include <string_view>

namespace shell {

// The framework's message-box button values; a button set is their sum and
// the result is the value of the button pressed.
namespace button {
inline constexpr int OK = 1;
inline constexpr int Yes = 2;
inline constexpr int No = 4;
inline constexpr int Cancel = 64;
}  // namespace button

enum class MessageIcon { None, Exclamation, Question, Stop, Information };

// Shows text ("|" starts a new line) with caption, icon and buttons, the
// default button being defaultButton; returns the button pressed.
using MessageBoxHandler = std::function<int(std::string_view text, std::string_view caption, MessageIcon icon,
                                            int buttons, int defaultButton)>;
// Ends the program after showing text in a box captioned "Halt". It must not
// return: a test's handler throws, the runtime's unwinds every thread.
using HaltHandler = std::function<void(std::string_view text)>;

// Replace the handlers; an empty handler restores the default one. Until a
// window runtime is plugged in, the default box writes the message to the
// error output and answers with its default button, and the default halt
// writes its text there and ends the process.
void SetMessageBoxHandler(MessageBoxHandler handler);
void SetHaltHandler(HaltHandler handler);

// The default box: the caption and text on the error output, answered
// with the default button.
int ErrorOutputMessageBox(std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
                          int defaultButton);

int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon, int buttons, int defaultButton);
[[noreturn]] void Halt(std::string_view text);

}  // namespace shell
