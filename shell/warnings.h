#pragma once
// The standard warnings: a numbered message with its caption, text, icon and
// buttons, composed from up to two texts and the reported error
// (saved_error.h). Warnings about unusable files end the program.

#include "shell/message_box.h"

#include <span>
#include <string_view>

namespace shell {

// Shows warning number with the texts t1 and t2 (trailing blanks cut) and
// returns the button pressed. Warnings 1, 3, 4 and 5, and 2 answered No,
// halt and never return. The saved error state is cleared by every call.
// A number that is not a warning shows nothing and returns 0.
int ShowWarning(int number, std::string_view t1, std::string_view t2);
int ShowWarningOneText(int number, std::string_view t1);
int ShowWarningNoText(int number);

// One warning. The text may hold {T1}, {T2}, {t1} (T1 in lower case) and
// {E} (the reported error); everything else is shown as it stands.
struct Warning {
    // When the alternative caption and text are used instead.
    enum class Variant {
        None,
        ChangedByAnother,  // the reported code is 0 or 89
        NotPut,            // T1 is not "Put"
    };
    int number;
    std::string_view caption;
    std::string_view text;
    MessageIcon icon;
    int buttons;
    int defaultButton;
    std::string_view haltText;  // empty: the warning returns
    int returnsOn;              // with a halt text: the button that returns instead (0: none)
    Variant variant = Variant::None;
    std::string_view altCaption = {};  // empty: the caption above
    std::string_view altText = {};
};

// Every warning, in number order.
std::span<const Warning> Warnings();

}  // namespace shell
