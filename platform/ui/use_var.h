#pragma once
// The variable a control shows and edits (its USE variable), type-erased:
// FString<N>, CString<N>, std::string and every number type bind directly.

#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/text/fixed_string.h"
#include "platform/text/numbers.h"

namespace fw {

class UseVar {
public:
    UseVar() = default;
    template <std::size_t N>
    UseVar(FString<N>& v)  // NOLINT
        : get_([&v] { return std::string(v.View()); }), set_([&v](const std::string& s) { v = s; }) {}
    template <std::size_t N>
    UseVar(CString<N>& v)  // NOLINT
        : get_([&v] { return std::string(v.View()); }), set_([&v](const std::string& s) { v = s; }) {}
    UseVar(std::string& v)  // NOLINT
        : get_([&v] { return v; }), set_([&v](const std::string& s) { v = s; }) {}
    template <class T, class = std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>>>
    UseVar(T& v)  // NOLINT
        : get_([&v] { return NumberText(v); }),
          set_([&v](const std::string& s) { v = static_cast<T>(NumericValue(s)); }),
          numeric_(true),
          integral_(std::is_integral_v<T>),
          low_(static_cast<double>(std::numeric_limits<T>::lowest())),
          high_(static_cast<double>(std::numeric_limits<T>::max())) {}

    explicit operator bool() const { return static_cast<bool>(get_); }
    bool Numeric() const { return numeric_; }
    // A number variable's type: whole numbers only, and the lowest and
    // highest value it holds (a text variable: no limit). Entries refuse
    // what the variable cannot hold, so nothing wraps.
    bool Integral() const { return integral_; }
    double Low() const { return low_; }
    double High() const { return high_; }
    std::string Get() const { return get_ ? get_() : std::string(); }
    void Set(const std::string& value) const {
        if (set_) set_(value);
    }

private:
    std::function<std::string()> get_;
    std::function<void(const std::string&)> set_;
    bool numeric_ = false;
    bool integral_ = false;
    double low_ = -1e300, high_ = 1e300;
};

}  // namespace fw
