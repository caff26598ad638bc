#include "platform/data/tps/tps_declaration.h"

#include "platform/text/codepage.h"

namespace fw::tps {
namespace {

bool TypeMatches(std::uint8_t stored, FieldType declared) {
    switch (declared) {
    case FieldType::String: return stored == kString;
    case FieldType::CString: return stored == kCString;
    case FieldType::Byte: return stored == kByte;
    case FieldType::Short: return stored == kShort;
    case FieldType::UShort: return stored == kUShort;
    case FieldType::Long: return stored == kLong;
    case FieldType::ULong: return stored == kULong;
    case FieldType::Date: return stored == kDate || stored == kLong;
    case FieldType::Time: return stored == kTime || stored == kLong;
    case FieldType::Real: return stored == kReal;
    }
    return false;
}

std::string Declared(const FieldDecl& f) {
    const std::string type = FieldTypeName(f.type);
    return IsTextField(f.type) ? type + "(" + std::to_string(f.size) + ")" : type;
}

std::string Stored(const Field& f) {
    const std::string type = TypeName(f.type);
    std::string s = IsTextType(f.type) ? type + "(" + std::to_string(f.ElementSize()) + ")" : type;
    if (f.ElementCount() > 1) s += ", " + std::to_string(f.ElementCount()) + " elements";
    return s;
}

// The stored fields that hold values, in order.
std::vector<std::size_t> ValueFields(const Table& t) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < t.definition.fields.size(); ++i)
        if (t.definition.fields[i].type != kGroup) out.push_back(i);
    return out;
}

}  // namespace

std::string DeclarationMismatch(const Table& table, const RecordDecl& decl) {
    const auto stored = ValueFields(table);
    if (stored.size() != decl.fields.size())
        return std::to_string(stored.size()) + " fields, declared " + std::to_string(decl.fields.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const Field& s = table.definition.fields[stored[i]];
        const FieldDecl& d = decl.fields[i];
        const std::string where = "field " + std::to_string(i + 1) + ": " + s.name;
        const std::string_view name = s.ShortName();
        if (name.size() != d.name.size() || CompareFolded(name, d.name) != 0)
            return where + " where " + decl.prefix + ":" + d.name + " is declared";
        if (!TypeMatches(s.type, d.type) || s.ElementCount() != 1 || s.ElementSize() != d.size)
            return where + " is " + Stored(s) + ", declared " + Declared(d);
    }
    return {};
}

void LoadRecord(const Table& table, std::size_t row, const RecordDecl& decl, void* record) {
    RecordLoader(table, decl).Load(row, record);
}

RecordLoader::RecordLoader(const Table& table, const RecordDecl& decl)
    : table_(&table), decl_(&decl), stored_(ValueFields(table)) {
    if (stored_.size() > decl.fields.size()) stored_.resize(decl.fields.size());
}

void RecordLoader::Load(std::size_t row, void* record) const {
    const std::string_view image = table_->Row(row);
    for (std::size_t i = 0; i < stored_.size(); ++i) {
        const FieldDecl& d = decl_->fields[i];
        const Field& s = table_->definition.fields[stored_[i]];
        // A STRING goes straight from the row image, without a decoded copy.
        if (s.type == kString && d.type == FieldType::String) {
            SetText(record, d, image.substr(s.offset, s.ElementSize()));
            continue;
        }
        const Value v = DecodeField(s, image);
        switch (v.kind) {
        case Value::Kind::Text: SetText(record, d, v.text); break;
        case Value::Kind::Real: SetReal(record, d, v.real); break;
        default: SetInteger(record, d, v.valid ? v.integer : 0); break;
        }
    }
}

}  // namespace fw::tps
