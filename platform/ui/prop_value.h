#pragma once
// A property's value: a text that reads as a number where one is wanted,
// as the framework's properties do.

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/text/numbers.h"

namespace fw {

class PropValue {
public:
    PropValue() = default;
    PropValue(std::string_view text) : text_(text) {}  // NOLINT: implicit on purpose
    PropValue(const char* text) : text_(text ? text : "") {}  // NOLINT
    PropValue(std::string text) : text_(std::move(text)) {}  // NOLINT
    template <class T, class = std::enable_if_t<std::is_arithmetic_v<T>>>
    PropValue(T number) : text_(NumberText(number)) {}  // NOLINT

    const std::string& Str() const { return text_; }
    double Num() const { return NumericValue(text_); }
    long Int() const { return static_cast<long>(Num()); }
    bool Bool() const { return Num() != 0; }

    bool operator==(const PropValue& o) const { return text_ == o.text_; }

private:
    std::string text_;
};

}  // namespace fw
