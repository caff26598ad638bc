#include "platform/data/queue/queue_order.h"

#include <cstring>

namespace fw {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Texts of different lengths compare as if the shorter were padded with blanks.
int ComparePadded(const unsigned char* a, std::size_t na, const unsigned char* b, std::size_t nb) {
    const std::size_t n = na < nb ? na : nb;
    if (int c = std::memcmp(a, b, n)) return c;
    for (std::size_t i = n; i < na; ++i)
        if (a[i] != ' ') return a[i] < ' ' ? -1 : 1;
    for (std::size_t i = n; i < nb; ++i)
        if (b[i] != ' ') return b[i] < ' ' ? 1 : -1;
    return 0;
}

template <class T>
int CompareNumber(const char* a, const char* b) {
    T x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x < y ? -1 : (y < x ? 1 : 0);
}

}  // namespace

int CompareField(const QueueOrder::Component& c, const void* ra, const void* rb) {
    const char* a = static_cast<const char*>(ra) + c.offset;
    const char* b = static_cast<const char*>(rb) + c.offset;
    switch (c.type) {
    case FieldType::String:
        return ComparePadded(reinterpret_cast<const unsigned char*>(a), c.size,
                             reinterpret_cast<const unsigned char*>(b), c.size);
    case FieldType::CString:
        return ComparePadded(reinterpret_cast<const unsigned char*>(a), strnlen(a, c.size),
                             reinterpret_cast<const unsigned char*>(b), strnlen(b, c.size));
    case FieldType::Byte: return CompareNumber<std::uint8_t>(a, b);
    case FieldType::Short: return CompareNumber<std::int16_t>(a, b);
    case FieldType::UShort: return CompareNumber<std::uint16_t>(a, b);
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time: return CompareNumber<std::int32_t>(a, b);
    case FieldType::ULong: return CompareNumber<std::uint32_t>(a, b);
    case FieldType::Real: return CompareNumber<double>(a, b);
    }
    return 0;
}

QueueOrder::QueueOrder(const RecordDecl& decl, std::string_view desc) {
    while (true) {
        const std::size_t comma = desc.find(',');
        std::string_view item = Trim(desc.substr(0, comma));
        bool descending = false;
        if (!item.empty() && (item.front() == '+' || item.front() == '-')) {
            descending = item.front() == '-';
            item = Trim(item.substr(1));
        }
        const int index = item.empty() ? -1 : decl.Find(item);
        if (index < 0) {
            parts_.clear();
            return;
        }
        const FieldDecl& f = decl.fields[static_cast<std::size_t>(index)];
        parts_.push_back({f.type, f.offset, f.size, descending});
        if (comma == std::string_view::npos) break;
        desc.remove_prefix(comma + 1);
    }
    valid_ = true;
}

bool QueueOrder::operator==(const QueueOrder& o) const {
    if (valid_ != o.valid_ || parts_.size() != o.parts_.size()) return false;
    for (std::size_t i = 0; i < parts_.size(); ++i)
        if (parts_[i].offset != o.parts_[i].offset || parts_[i].size != o.parts_[i].size ||
            parts_[i].type != o.parts_[i].type || parts_[i].descending != o.parts_[i].descending)
            return false;
    return true;
}

int QueueOrder::CompareFirst(const void* a, const void* b, std::size_t n) const {
    for (std::size_t i = 0; i < n && i < parts_.size(); ++i) {
        const int c = CompareField(parts_[i], a, b);
        if (c != 0) return parts_[i].descending ? -c : c;
    }
    return 0;
}

bool QueueOrder::StartsWith(const QueueOrder& o) const {
    if (!valid_ || !o.valid_ || o.parts_.size() > parts_.size()) return false;
    for (std::size_t i = 0; i < o.parts_.size(); ++i)
        if (parts_[i].offset != o.parts_[i].offset || parts_[i].size != o.parts_[i].size ||
            parts_[i].type != o.parts_[i].type)
            return false;
    return true;
}

}  // namespace fw
