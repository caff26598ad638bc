#include "platform/data/tps/tps_definition.h"

#include "platform/data/tps/tps_bytes.h"
#include "platform/data/tps/tps_error.h"

#include <cstdio>

namespace fw::tps {

std::string TypeName(std::uint8_t code) {
    switch (code) {
    case kByte: return "BYTE";
    case kShort: return "SHORT";
    case kUShort: return "USHORT";
    case kDate: return "DATE";
    case kTime: return "TIME";
    case kLong: return "LONG";
    case kULong: return "ULONG";
    case kSReal: return "SREAL";
    case kReal: return "REAL";
    case kDecimal: return "DECIMAL";
    case kString: return "STRING";
    case kCString: return "CSTRING";
    case kPString: return "PSTRING";
    case kGroup: return "GROUP";
    default: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "TYPE 0x%02x", code);
        return buf;
    }
    }
}

bool IsKnownType(std::uint8_t code) { return TypeName(code).rfind("TYPE ", 0) != 0; }
bool IsTextType(std::uint8_t code) { return code == kString || code == kCString || code == kPString; }

std::string_view Field::ShortName() const {
    const std::string_view n(name);
    const auto colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

std::size_t Field::ElementCount() const {
    std::size_t n = elements;
    for (const ArrayLevel& g : groups) n *= g.count;
    return n;
}

std::size_t Field::ElementOffset(std::size_t element) const {
    std::size_t at = offset + element % elements * ElementSize();
    element /= elements;
    for (auto g = groups.rbegin(); g != groups.rend(); ++g) {
        at += element % g->count * g->stride;
        element /= g->count;
    }
    return at;
}

namespace {

// Bytes of one element of a numeric type; 0 for types of any size.
std::size_t FixedSize(std::uint8_t code) {
    switch (code) {
    case kByte: return 1;
    case kShort: case kUShort: return 2;
    case kDate: case kTime: case kLong: case kULong: case kSReal: return 4;
    case kReal: return 8;
    default: return 0;
    }
}

class Cursor {
public:
    Cursor(std::string_view bytes, std::string_view table) : b_(bytes), table_(table) {}

    std::uint8_t U8() { Need(1); return fw::tps::U8(b_, pos_++); }
    std::uint16_t U16() { Need(2); const auto v = Le16(b_, pos_); pos_ += 2; return v; }
    std::string CStr() {
        const auto end = b_.find('\0', pos_);
        if (end == std::string_view::npos) Fail("a name runs past its end");
        std::string s(b_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return s;
    }
    // An external file name; an empty one is followed by the byte 1.
    std::string ExternalName() {
        std::string s = CStr();
        if (s.empty() && U8() != 1) Fail("an unexpected byte after an empty file name");
        return s;
    }
    bool AtEnd() const { return pos_ == b_.size(); }
    [[noreturn]] void Fail(const std::string& what) const {
        throw TpsError("table " + std::string(table_) + ": damaged definition (" + what + ")");
    }

private:
    void Need(std::size_t n) const {
        if (n > b_.size() - pos_) Fail("it ends early");
    }
    std::string_view b_;
    std::string_view table_;
    std::size_t pos_ = 0;
};

// The members of a GROUP are the fields after it that lie wholly within its
// first element; those of an arrayed group repeat in each of its elements.
void FindArrayedGroups(std::vector<Field>& fields) {
    struct Open {
        std::size_t begin, end;
        std::vector<Field::ArrayLevel> levels;  // the groups' levels down to this one
    };
    std::vector<Open> open;
    for (Field& f : fields) {
        // All of the field, every element of its own, lies in the group's
        // first element, so that each of its copies lies in its own element.
        while (!open.empty() && (f.offset < open.back().begin || std::size_t{f.offset} + f.length > open.back().end))
            open.pop_back();
        // A field of no bytes has no copies to tell apart (and a group of
        // none no members): only fields with bytes repeat, so that every
        // element of every field is a different byte of the record.
        if (f.ElementSize() == 0) continue;
        if (!open.empty()) f.groups = open.back().levels;
        if (f.type == kGroup) {
            Open g{f.offset, f.offset + f.ElementSize(), f.groups};
            if (f.elements > 1) g.levels.push_back({f.elements, f.ElementSize()});
            open.push_back(std::move(g));
        }
    }
}

[[noreturn]] void Mismatch(std::string_view table, const Field& f, const std::string& what) {
    throw TpsError("table " + std::string(table) + ": the definition does not match its rows (field " + f.name +
                   " " + what + ")");
}

void CheckField(const Definition& d, const Field& f, std::string_view table) {
    if (f.elements == 0) Mismatch(table, f, "has no elements");
    if (f.length % f.elements) Mismatch(table, f, "has a length that is no whole number of elements");
    if (std::size_t{f.offset} + f.length > d.recordLength)
        Mismatch(table, f, "ends at byte " + std::to_string(f.offset + f.length) + " of a " +
                               std::to_string(d.recordLength) + "-byte record");
    const std::size_t fixed = FixedSize(f.type);
    if (fixed && f.ElementSize() != fixed)
        Mismatch(table, f, "is " + TypeName(f.type) + " of " + std::to_string(f.ElementSize()) + " bytes");
    if (f.type == kDecimal && (f.ElementSize() == 0 || f.decimals > 2 * f.ElementSize() - 1))
        Mismatch(table, f, "has more decimals than digits");
    if (IsTextType(f.type) && f.ElementSize() == 0) Mismatch(table, f, "is a text of no bytes");
}

}  // namespace

Definition ParseDefinition(std::string_view bytes, std::string_view table) {
    Cursor c(bytes, table);
    Definition d;
    d.driverVersion = c.U16();
    d.recordLength = c.U16();
    const std::uint16_t fieldCount = c.U16();
    const std::uint16_t memoCount = c.U16();
    const std::uint16_t keyCount = c.U16();
    for (std::uint16_t i = 0; i < fieldCount; ++i) {
        Field f;
        f.type = c.U8();
        f.offset = c.U16();
        f.name = c.CStr();
        f.elements = c.U16();
        f.length = c.U16();
        f.flags = c.U16();
        f.number = c.U16();
        if (f.type == kDecimal) {
            f.decimals = c.U8();
            f.decimalExtra = c.U8();
        } else if (IsTextType(f.type)) {
            f.elementLength = c.U16();
            f.picture = c.CStr();
            if (f.picture.empty()) c.U8();
        }
        CheckField(d, f, table);
        d.fields.push_back(std::move(f));
    }
    FindArrayedGroups(d.fields);
    for (std::uint16_t i = 0; i < memoCount; ++i) {
        Memo m;
        m.externalFile = c.ExternalName();
        m.name = c.CStr();
        m.maxSize = c.U16();
        m.flags = c.U16();
        d.memos.push_back(std::move(m));
    }
    for (std::uint16_t i = 0; i < keyCount; ++i) {
        Key k;
        k.externalFile = c.ExternalName();
        k.name = c.CStr();
        k.flags = c.U8();
        const std::uint16_t parts = c.U16();
        for (std::uint16_t p = 0; p < parts; ++p) {
            KeyComponent kc;
            kc.field = c.U16();
            kc.descending = c.U16() != 0;
            k.components.push_back(kc);
        }
        d.keys.push_back(std::move(k));
    }
    if (!c.AtEnd()) c.Fail("bytes left over after the last key");
    return d;
}

}  // namespace fw::tps
