#pragma once
// A table's definition: record length, fields, memos and keys, as stored in
// its definition records (joined in part order).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tps {

// Field type codes.
enum TypeCode : std::uint8_t {
    kByte = 0x01,
    kShort = 0x02,
    kUShort = 0x03,
    kDate = 0x04,
    kTime = 0x05,
    kLong = 0x06,
    kULong = 0x07,
    kSReal = 0x08,
    kReal = 0x09,
    kDecimal = 0x0A,
    kString = 0x12,
    kCString = 0x13,
    kPString = 0x14,
    kGroup = 0x16,
};

// "STRING", "LONG" ...; "TYPE 0x33" for a code this reader does not know.
std::string TypeName(std::uint8_t code);
bool IsKnownType(std::uint8_t code);
bool IsTextType(std::uint8_t code);

struct Field {
    std::uint8_t type = 0;
    std::uint16_t offset = 0;       // in the row image
    std::string name;               // "PRE:NAME" as stored
    std::uint16_t elements = 1;     // above 1: an array
    std::uint16_t length = 0;       // bytes of all elements together
    std::uint16_t flags = 0;
    std::uint16_t number = 0;       // position in the definition, as stored
    std::uint8_t decimals = 0;      // DECIMAL: digits after the point
    std::uint8_t decimalExtra = 0;  // DECIMAL: a second value this reader does not use
    std::uint16_t elementLength = 0;  // text types: as stored
    std::string picture;            // text types: display picture

    // The arrayed groups the field lies in, outermost first: the field's
    // copy in element g of such a group lies g * stride bytes further on.
    struct ArrayLevel {
        std::size_t count = 1;
        std::size_t stride = 0;
    };
    std::vector<ArrayLevel> groups;

    std::size_t ElementSize() const { return elements ? length / elements : 0; }
    // Every element of the field: its own elements in each element of each
    // arrayed group around it.
    std::size_t ElementCount() const;
    // Where element `element` (0-based, below ElementCount(); the field's
    // own elements vary fastest) starts in the row image.
    std::size_t ElementOffset(std::size_t element) const;
    // The name without the "PRE:" prefix.
    std::string_view ShortName() const;
};

struct Memo {
    std::string externalFile;  // non-empty: the memo lives in another file
    std::string name;
    std::uint16_t maxSize = 0;
    std::uint16_t flags = 0;
    bool IsBlob() const { return flags & 0x04; }
};

struct KeyComponent {
    std::uint16_t field = 0;
    bool descending = false;
};

struct Key {
    std::string externalFile;
    std::string name;
    std::uint8_t flags = 0;
    std::vector<KeyComponent> components;
};

struct Definition {
    std::uint16_t driverVersion = 0;
    std::uint16_t recordLength = 0;
    std::vector<Field> fields;
    std::vector<Memo> memos;
    std::vector<Key> keys;
};

// Parses joined definition bytes. Throws TpsError naming `table` when the
// bytes end early, are left over, or describe fields that do not fit the
// record length or have sizes their type cannot have.
Definition ParseDefinition(std::string_view bytes, std::string_view table);

}  // namespace fw::tps
