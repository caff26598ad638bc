#include "shell/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace shell {
namespace {

[[noreturn]] void DefaultHalt(std::string_view text) {
    std::fprintf(stderr, "Halt: %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    // No shutdown steps run after a halt; every write the program made is
    // already complete on disk.
    std::_Exit(EXIT_FAILURE);
}

MessageBoxHandler& BoxHandler() {
    static MessageBoxHandler handler = ErrorOutputMessageBox;
    return handler;
}

HaltHandler& HaltFn() {
    static HaltHandler handler = DefaultHalt;
    return handler;
}

}  // namespace

int ErrorOutputMessageBox(std::string_view text, std::string_view caption, MessageIcon, int, int defaultButton) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    return defaultButton;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    BoxHandler() = handler ? std::move(handler) : MessageBoxHandler(ErrorOutputMessageBox);
}

void SetHaltHandler(HaltHandler handler) { HaltFn() = handler ? std::move(handler) : HaltHandler(DefaultHalt); }

int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon, int buttons, int defaultButton) {
    return BoxHandler()(text, caption, icon, buttons, defaultButton);
}

void Halt(std::string_view text) {
    // Copy first: the handler may replace itself while it runs.
    const HaltHandler handler = HaltFn();
    handler(text);
    // A handler that returns would let the caller go on with an unusable
    // file; end the process instead.
    DefaultHalt(text);
}

}  // namespace shell
