#include "shell/browse_thumb.h"

#include "platform/text/codepage.h"
#include "shell/thumb_steps.h"

#include <cmath>
#include <cstdlib>

namespace shell {

std::vector<std::string> NameThumbSteps() {
    std::vector<std::string> steps;
    for (int n = 1; n <= 100; ++n) steps.emplace_back(NameThumbTable(n));
    return steps;
}

std::vector<std::string> NumericThumbSteps(double low, double high) {
    InitNumericScrollSteps(low, high);
    std::vector<std::string> steps;
    for (int n = 1; n <= 100; ++n) steps.push_back(std::to_string(static_cast<long long>(std::trunc(NextNumericScrollStep()))));
    return steps;
}

std::vector<std::string> TextThumbSteps(std::string_view first, std::string_view last, std::size_t length,
                                        int flags) {
    InitTextScrollSteps(first, last, length, flags);
    std::vector<std::string> steps;
    for (int n = 1; n <= 100; ++n) steps.push_back(NextTextScrollStep());
    return steps;
}

int ThumbStepFor(const std::vector<std::string>& steps, const fw::FieldDecl& field, const std::string& value) {
    const bool text = fw::IsTextField(field.type);
    const double number = text ? 0 : std::strtod(value.c_str(), nullptr);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const bool notLess = text ? fw::CompareFolded(steps[i], value) >= 0
                                  : std::strtod(steps[i].c_str(), nullptr) >= number;
        if (notLess) return i == 0 ? 0 : static_cast<int>(i + 1);
    }
    return 100;
}

}  // namespace shell
