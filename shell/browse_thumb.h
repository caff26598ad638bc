#pragma once
// The hundred values of a browse order's first key component that the
// scroll thumb stands for, and the thumb step of a highlighted value.

#include "platform/data/record.h"

#include <string>
#include <vector>

namespace shell {

// NameThumbTable: blanks, then the 99 three-letter stops.
std::vector<std::string> NameThumbSteps();
// The computed tables of numeric and text keys (thumb_steps.h); numbers are
// cut to whole values, as the key holds them.
std::vector<std::string> NumericThumbSteps(double low, double high);
std::vector<std::string> TextThumbSteps(std::string_view first, std::string_view last, std::size_t length,
                                        int flags);

// The thumb position of a row whose first key component is value: 0 when the
// first entry is already not less than it, else the first entry n (2..100)
// not less than it, 100 when none is. Texts compare in capitals (the key's
// folding), numbers as numbers.
int ThumbStepFor(const std::vector<std::string>& steps, const fw::FieldDecl& field, const std::string& value);

}  // namespace shell
