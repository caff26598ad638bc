#pragma once
// The one rule for what is typed into a number entry or a spin box: a
// number of the control's picture (a date or time for those pictures),
// within the control's range and what its variable can hold. Anything else
// is refused with a message naming the range; nothing is ever stored as
// another number (no wrapping, cutting or substituting).

#include <optional>
#include <string>

namespace fw {

class UseVar;

struct NumberRule {
    std::string picture;
    double low = -1e300, high = 1e300;
    bool whole = false;  // the variable holds whole numbers only

    // The value of the typed text, or nullopt when the text is refused. An
    // empty text is 0 (for dates and times: none), refused only when the
    // range leaves 0 out.
    std::optional<double> Read(const std::string& text) const;
    // Why a text is refused: "Please enter a number from 0 to 65535."
    std::string Refusal() const;
};

// The rule of a control with this picture and range bound to var: the
// widest values the picture shows whole, the range when the layout or the
// program gives one, and the limits of the variable's type, whichever are
// narrowest.
NumberRule NumberRuleFor(const std::string& picture, std::optional<double> rangeLow, std::optional<double> rangeHigh,
                         const UseVar& var);

// Whether the control's picture and variable make it a number, date or
// time entry (not a text entry).
bool IsNumberEntry(const std::string& picture, const UseVar& var);

}  // namespace fw
