#include "platform/data/record.h"

#include "platform/text/codepage.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace fw {

const char* FieldTypeName(FieldType t) {
    switch (t) {
    case FieldType::String: return "STRING";
    case FieldType::CString: return "CSTRING";
    case FieldType::Byte: return "BYTE";
    case FieldType::Short: return "SHORT";
    case FieldType::UShort: return "USHORT";
    case FieldType::Long: return "LONG";
    case FieldType::ULong: return "ULONG";
    case FieldType::Date: return "DATE";
    case FieldType::Time: return "TIME";
    case FieldType::Real: return "REAL";
    }
    return "?";
}

int RecordDecl::Find(std::string_view name) const {
    const std::string pre = prefix + ":";
    const std::string pre2 = prefix + ".";
    if (name.size() > pre.size() && (CompareFolded(name.substr(0, pre.size()), pre) == 0 ||
                                     CompareFolded(name.substr(0, pre2.size()), pre2) == 0))
        name.remove_prefix(pre.size());
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (CompareFolded(fields[i].name, name) == 0) return static_cast<int>(i);
    return -1;
}

bool IsTextField(FieldType t) { return t == FieldType::String || t == FieldType::CString; }
bool IsIntegerField(FieldType t) { return !IsTextField(t) && t != FieldType::Real; }

namespace {
template <class T>
T Load(const void* rec, const FieldDecl& f) {
    T v;
    std::memcpy(&v, static_cast<const char*>(rec) + f.offset, sizeof v);
    return v;
}
template <class T>
void Store(void* rec, const FieldDecl& f, T v) {
    std::memcpy(static_cast<char*>(rec) + f.offset, &v, sizeof v);
}

// Numeric value of a text: leading blanks skipped, an optional sign, digits,
// an optional decimal part; anything after that ignored; no digits gives 0.
double NumericValue(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    double v = 0;
    const char* b = s.data() + i;
    auto [p, ec] = std::from_chars(b, s.data() + s.size(), v);
    if (ec != std::errc()) return 0;
    (void)p;
    return v;
}
}  // namespace

std::string GetText(const void* rec, const FieldDecl& f) {
    const char* p = static_cast<const char*>(rec) + f.offset;
    switch (f.type) {
    case FieldType::String: {
        std::size_t n = f.size;
        while (n > 0 && p[n - 1] == ' ') --n;
        return std::string(p, n);
    }
    case FieldType::CString: {
        std::size_t n = strnlen(p, f.size);
        while (n > 0 && p[n - 1] == ' ') --n;
        return std::string(p, n);
    }
    case FieldType::Real: {
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, GetReal(rec, f));
        (void)ec;
        return std::string(buf, end);
    }
    default: return std::to_string(GetInteger(rec, f));
    }
}

std::int64_t GetInteger(const void* rec, const FieldDecl& f) {
    switch (f.type) {
    case FieldType::Byte: return Load<std::uint8_t>(rec, f);
    case FieldType::Short: return Load<std::int16_t>(rec, f);
    case FieldType::UShort: return Load<std::uint16_t>(rec, f);
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time: return Load<std::int32_t>(rec, f);
    case FieldType::ULong: return Load<std::uint32_t>(rec, f);
    case FieldType::Real: return static_cast<std::int64_t>(Load<double>(rec, f));
    default: return static_cast<std::int64_t>(NumericValue(GetText(rec, f)));
    }
}

double GetReal(const void* rec, const FieldDecl& f) {
    if (f.type == FieldType::Real) return Load<double>(rec, f);
    if (IsTextField(f.type)) return NumericValue(GetText(rec, f));
    return static_cast<double>(GetInteger(rec, f));
}

void SetText(void* rec, const FieldDecl& f, std::string_view value) {
    char* p = static_cast<char*>(rec) + f.offset;
    switch (f.type) {
    case FieldType::String: {
        const std::size_t n = std::min(f.size, value.size());
        std::memcpy(p, value.data(), n);
        std::memset(p + n, ' ', f.size - n);
        return;
    }
    case FieldType::CString: {
        const std::size_t n = std::min(f.size - 1, value.size());
        std::memcpy(p, value.data(), n);
        std::memset(p + n, 0, f.size - n);
        return;
    }
    case FieldType::Real: SetReal(rec, f, NumericValue(value)); return;
    default: SetInteger(rec, f, static_cast<std::int64_t>(NumericValue(value))); return;
    }
}

void SetInteger(void* rec, const FieldDecl& f, std::int64_t value) {
    switch (f.type) {
    case FieldType::Byte: Store(rec, f, static_cast<std::uint8_t>(value)); return;
    case FieldType::Short: Store(rec, f, static_cast<std::int16_t>(value)); return;
    case FieldType::UShort: Store(rec, f, static_cast<std::uint16_t>(value)); return;
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time: Store(rec, f, static_cast<std::int32_t>(value)); return;
    case FieldType::ULong: Store(rec, f, static_cast<std::uint32_t>(value)); return;
    case FieldType::Real: Store(rec, f, static_cast<double>(value)); return;
    default: SetText(rec, f, std::to_string(value)); return;
    }
}

void SetReal(void* rec, const FieldDecl& f, double value) {
    if (f.type == FieldType::Real) Store(rec, f, value);
    else if (IsTextField(f.type)) {
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
        (void)ec;
        SetText(rec, f, std::string_view(buf, static_cast<std::size_t>(end - buf)));
    } else SetInteger(rec, f, static_cast<std::int64_t>(std::trunc(value)));
}

void ClearRecord(void* rec, const RecordDecl& d) {
    for (const auto& f : d.fields) {
        char* p = static_cast<char*>(rec) + f.offset;
        std::memset(p, f.type == FieldType::String ? ' ' : 0, f.size);
    }
}

bool FieldIsEmpty(const void* rec, const FieldDecl& f) {
    if (IsTextField(f.type)) return GetText(rec, f).empty();
    if (f.type == FieldType::Real) return GetReal(rec, f) == 0.0;
    return GetInteger(rec, f) == 0;
}

void ClearFieldLow(void* rec, const FieldDecl& f) {
    char* p = static_cast<char*>(rec) + f.offset;
    switch (f.type) {
    case FieldType::String: std::memset(p, ' ', f.size); return;
    case FieldType::CString: std::memset(p, 0, f.size); return;
    case FieldType::Byte: Store<std::uint8_t>(rec, f, 0); return;
    case FieldType::Short: Store<std::int16_t>(rec, f, INT16_MIN); return;
    case FieldType::UShort: Store<std::uint16_t>(rec, f, 0); return;
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time: Store<std::int32_t>(rec, f, INT32_MIN); return;
    case FieldType::ULong: Store<std::uint32_t>(rec, f, 0); return;
    case FieldType::Real: Store<double>(rec, f, -1.7976931348623157e308); return;
    }
}

void ClearFieldHigh(void* rec, const FieldDecl& f) {
    char* p = static_cast<char*>(rec) + f.offset;
    switch (f.type) {
    case FieldType::String: std::memset(p, 0xFF, f.size); return;
    case FieldType::CString: std::memset(p, 0xFF, f.size - 1); p[f.size - 1] = 0; return;
    case FieldType::Byte: Store<std::uint8_t>(rec, f, UINT8_MAX); return;
    case FieldType::Short: Store<std::int16_t>(rec, f, INT16_MAX); return;
    case FieldType::UShort: Store<std::uint16_t>(rec, f, UINT16_MAX); return;
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time: Store<std::int32_t>(rec, f, INT32_MAX); return;
    case FieldType::ULong: Store<std::uint32_t>(rec, f, UINT32_MAX); return;
    case FieldType::Real: Store<double>(rec, f, 1.7976931348623157e308); return;
    }
}

bool RecordsEqual(const void* a, const void* b, const RecordDecl& d) {
    for (const auto& f : d.fields)
        if (std::memcmp(static_cast<const char*>(a) + f.offset, static_cast<const char*>(b) + f.offset, f.size) != 0)
            return false;
    return true;
}

void CopyRecord(void* dst, const void* src, const RecordDecl& d) {
    for (const auto& f : d.fields)
        std::memcpy(static_cast<char*>(dst) + f.offset, static_cast<const char*>(src) + f.offset, f.size);
}

int AssignByName(void* dst, const RecordDecl& dstDecl, const void* src, const RecordDecl& srcDecl) {
    int n = 0;
    for (const auto& f : dstDecl.fields) {
        const FieldDecl* from = nullptr;
        for (const auto& g : srcDecl.fields)
            if (CompareFolded(g.name, f.name) == 0 && g.name.size() == f.name.size()) { from = &g; break; }
        if (!from) continue;
        if (IsTextField(f.type) || IsTextField(from->type)) SetText(dst, f, GetText(src, *from));
        else if (f.type == FieldType::Real || from->type == FieldType::Real) SetReal(dst, f, GetReal(src, *from));
        else SetInteger(dst, f, GetInteger(src, *from));
        ++n;
    }
    return n;
}

std::size_t DeclaredSize(const RecordDecl& d) {
    std::size_t n = 0;
    for (const auto& f : d.fields) n += f.size;
    return n;
}

}  // namespace fw
