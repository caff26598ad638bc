#pragma once
// An order over some fields of a record layout, as queues sort and search
// by it: "+QUE:Title,-QUE:Track" (a field without a sign ascends). Texts
// compare by byte, case-sensitively, as if the shorter were padded with
// blanks (so trailing blanks never count); numbers compare numerically.

#include "platform/data/record.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class QueueOrder {
public:
    struct Component {
        FieldType type;
        std::size_t offset;
        std::size_t size;
        bool descending;
    };

    QueueOrder() = default;
    // Parses `desc` against the layout; Valid() is false when a name is
    // unknown or the text is empty.
    QueueOrder(const RecordDecl& decl, std::string_view desc);

    bool Valid() const { return valid_; }
    const std::vector<Component>& Components() const { return parts_; }
    bool operator==(const QueueOrder& o) const;

    // <0, 0, >0 comparing records a and b in this order.
    int Compare(const void* a, const void* b) const { return CompareFirst(a, b, parts_.size()); }
    // The same over the first n components only.
    int CompareFirst(const void* a, const void* b, std::size_t n) const;
    // True when this order starts with the fields of `o` (directions aside).
    bool StartsWith(const QueueOrder& o) const;

private:
    std::vector<Component> parts_;
    bool valid_ = false;
};

// <0, 0, >0 comparing one field of two records, by the same rules (ascending).
int CompareField(const QueueOrder::Component& c, const void* a, const void* b);

}  // namespace fw
