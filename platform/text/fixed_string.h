#pragma once
// STRING(n): a fixed-length, blank-padded Windows-1252 text.
// Assignment pads with blanks or truncates; comparisons ignore trailing
// blanks (and are case-sensitive, as the framework's are; keys fold case
// through CompareFolded instead).

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace fw {

template <std::size_t N>
struct FString {
    static_assert(N > 0);
    char data[N];

    FString() { std::memset(data, ' ', N); }
    FString(std::string_view s) { Assign(s); }  // NOLINT: implicit, as in the design's assignments
    FString(const char* s) { Assign(s); }        // NOLINT
    FString(const std::string& s) { Assign(s); } // NOLINT: results of the string functions

    FString& operator=(std::string_view s) { Assign(s); return *this; }
    FString& operator=(const char* s) { Assign(s); return *this; }
    FString& operator=(const std::string& s) { Assign(s); return *this; }
    template <std::size_t M>
    FString& operator=(const FString<M>& o) { Assign(o.View()); return *this; }

    void Assign(std::string_view s) {
        const std::size_t n = std::min(N, s.size());
        std::memcpy(data, s.data(), n);
        std::memset(data + n, ' ', N - n);
    }
    void Clear() { std::memset(data, ' ', N); }

    static constexpr std::size_t Size() { return N; }
    // The whole padded text.
    std::string_view View() const { return {data, N}; }
    // CLIP: the text without trailing blanks.
    std::string_view Clip() const {
        std::size_t n = N;
        while (n > 0 && data[n - 1] == ' ') --n;
        return {data, n};
    }
    std::string Str() const { return std::string(Clip()); }
    bool Blank() const { return Clip().empty(); }

    operator std::string_view() const { return View(); }  // NOLINT
};

// CSTRING(n): a null-terminated text of at most n-1 characters in n bytes.
template <std::size_t N>
struct CString {
    static_assert(N > 1);
    char data[N];

    CString() { std::memset(data, 0, N); }
    CString(std::string_view s) { Assign(s); }  // NOLINT
    CString(const char* s) { Assign(s); }        // NOLINT
    CString(const std::string& s) { Assign(s); } // NOLINT
    CString& operator=(std::string_view s) { Assign(s); return *this; }
    CString& operator=(const char* s) { Assign(s); return *this; }
    CString& operator=(const std::string& s) { Assign(s); return *this; }

    void Assign(std::string_view s) {
        const std::size_t n = std::min(N - 1, s.size());
        std::memcpy(data, s.data(), n);
        std::memset(data + n, 0, N - n);
    }
    void Clear() { std::memset(data, 0, N); }
    static constexpr std::size_t Size() { return N; }
    std::string_view View() const { return {data, std::strlen(data)}; }
    std::string_view Clip() const {
        std::string_view v = View();
        while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
        return v;
    }
    std::string Str() const { return std::string(Clip()); }
    operator std::string_view() const { return View(); }  // NOLINT
};

template <std::size_t N, std::size_t M>
bool operator==(const FString<N>& a, const FString<M>& b) { return a.Clip() == b.Clip(); }
template <std::size_t N>
bool operator==(const FString<N>& a, std::string_view b) {
    std::size_t n = b.size();
    while (n > 0 && b[n - 1] == ' ') --n;
    return a.Clip() == b.substr(0, n);
}
template <std::size_t N, std::size_t M>
auto operator<=>(const FString<N>& a, const FString<M>& b) { return a.Clip() <=> b.Clip(); }

}  // namespace fw
