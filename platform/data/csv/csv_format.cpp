#include "platform/data/csv/csv_format.h"

#include "platform/text/codepage.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace fw::csv {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

void AppendQuoted(std::string_view text, std::string& out) {
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

bool IntegerRange(FieldType t, std::int64_t& lo, std::int64_t& hi) {
    switch (t) {
    case FieldType::Byte: lo = 0; hi = 255; return true;
    case FieldType::Short: lo = -32768; hi = 32767; return true;
    case FieldType::UShort: lo = 0; hi = 65535; return true;
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time:
        lo = std::numeric_limits<std::int32_t>::min();
        hi = std::numeric_limits<std::int32_t>::max();
        return true;
    case FieldType::ULong: lo = 0; hi = std::numeric_limits<std::uint32_t>::max(); return true;
    default: return false;
    }
}

}  // namespace

void FormatRecord(const RecordDecl& decl, const void* record, TextEncoding encoding, std::string& out,
                  std::string& lost) {
    bool first = true;
    for (const FieldDecl& f : decl.fields) {
        if (!first) out.push_back(',');
        first = false;
        if (IsTextField(f.type)) {
            const std::string text = GetText(record, f);  // clipped
            AppendQuoted(AnsiToFileText(text, encoding, lost), out);
        } else if (f.type == FieldType::Real) {
            char buf[64];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, GetReal(record, f));
            (void)ec;
            out.append(buf, end);
        } else {
            char buf[24];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, GetInteger(record, f));
            (void)ec;
            out.append(buf, end);
        }
    }
    out += "\r\n";
}

std::string FillRecord(const RecordDecl& decl, const std::vector<std::string>& fields, TextEncoding encoding,
                       bool shortRows, void* record, std::string& lost) {
    if (fields.size() > decl.fields.size() || (!shortRows && fields.size() < decl.fields.size()))
        return std::to_string(fields.size()) + (fields.size() == 1 ? " field, " : " fields, ") +
               std::to_string(decl.fields.size()) + " expected";
    std::string scratch(static_cast<const char*>(record), decl.size);
    std::string lostHere;
    const std::string missing;
    for (std::size_t i = 0; i < decl.fields.size(); ++i) {
        const FieldDecl& f = decl.fields[i];
        const std::string& text = i < fields.size() ? fields[i] : missing;
        if (IsTextField(f.type)) {
            SetText(scratch.data(), f, FileTextToAnsi(text, encoding, lostHere));
            continue;
        }
        auto bad = [&](const char* why) {
            return "field " + std::to_string(i + 1) + " (" + f.name + "): \"" + text + "\" " + why;
        };
        std::string_view v = TrimBlanks(text);
        if (!v.empty() && v.front() == '+') v.remove_prefix(1);
        if (f.type == FieldType::Real) {
            double d = 0;
            if (!v.empty()) {
                auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
                if (ec != std::errc() || p != v.data() + v.size()) return bad("is not a number");
            }
            SetReal(scratch.data(), f, d);
            continue;
        }
        std::int64_t n = 0;
        if (!v.empty()) {
            auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec == std::errc::result_out_of_range) return bad("is out of range");
            if (ec != std::errc() || p != v.data() + v.size()) return bad("is not a whole number");
        }
        std::int64_t lo = 0, hi = 0;
        if (IntegerRange(f.type, lo, hi) && (n < lo || n > hi)) return bad("is out of range");
        SetInteger(scratch.data(), f, n);
    }
    std::memcpy(record, scratch.data(), decl.size);
    lost = std::move(lostHere);
    return {};
}

}  // namespace fw::csv
