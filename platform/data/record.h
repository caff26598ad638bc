#pragma once
// Record declarations: the fields of a record buffer, their types, sizes and
// offsets. Every driver (the keyed data files, the comma-delimited and the
// byte files, the reader of older files) works on records through these.
//
// A record buffer is a plain struct of fixed-size members:
//   struct SongBookRec { fw::FString<40> Title; uint16_t Track; int32_t DateAdded; };
//   const fw::RecordDecl& Decl() {
//       static const fw::RecordDecl d = fw::RecordDeclBuilder<SongBookRec>("SBK")
//           .Field("Title", &SongBookRec::Title)
//           .Field("Track", &SongBookRec::Track)
//           .Date("DateAdded", &SongBookRec::DateAdded)
//           .Build();
//       return d;
//   }

#include "platform/text/fixed_string.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

enum class FieldType { String, CString, Byte, Short, UShort, Long, ULong, Date, Time, Real };

const char* FieldTypeName(FieldType t);  // "STRING", "BYTE", ...

struct FieldDecl {
    std::string name;   // without prefix: "Title"
    FieldType type;
    std::size_t offset; // in the record buffer
    std::size_t size;   // bytes (STRING(n): n)
};

struct RecordDecl {
    std::string prefix;             // "SBK"
    std::vector<FieldDecl> fields;  // in declaration order
    std::size_t size = 0;           // sizeof the record buffer

    // Field by name, with or without "PRE:" / "PRE." prefix, case-insensitive; -1 if none.
    int Find(std::string_view name) const;
};

// Generic access to one field of a record buffer.
bool IsTextField(FieldType t);
bool IsIntegerField(FieldType t);  // Byte..ULong, Date, Time
std::string GetText(const void* rec, const FieldDecl& f);   // text fields: clipped; numbers: plain decimal
std::int64_t GetInteger(const void* rec, const FieldDecl& f);
double GetReal(const void* rec, const FieldDecl& f);
void SetText(void* rec, const FieldDecl& f, std::string_view value);  // numbers: numeric value of the text
void SetInteger(void* rec, const FieldDecl& f, std::int64_t value);     // wraps like the framework's assignment
void SetReal(void* rec, const FieldDecl& f, double value);
// CLEAR: texts to blanks (CSTRING to nulls), numbers to zero.
void ClearRecord(void* rec, const RecordDecl& d);
// True when the field is blank or zero (a record whose key fields all are is not in an optional key).
bool FieldIsEmpty(const void* rec, const FieldDecl& f);

// CLEAR(field, -1) / CLEAR(field, 1): the lowest or highest value the field
// can hold in key order (to position at the start or end of a key range).
void ClearFieldLow(void* rec, const FieldDecl& f);
void ClearFieldHigh(void* rec, const FieldDecl& f);

// Whole-record operations. Records are compared and copied field by field
// through the declaration, never over the padding bytes between members.
bool RecordsEqual(const void* a, const void* b, const RecordDecl& d);
void CopyRecord(void* dst, const void* src, const RecordDecl& d);
// Deep assignment between two layouts: each field of dst takes the value of
// the src field of the same name (case-insensitive), converted to its type;
// fields src lacks keep their value. Returns the number of fields assigned.
int AssignByName(void* dst, const RecordDecl& dstDecl, const void* src, const RecordDecl& srcDecl);
// The record's size as declared: the sum of its fields' sizes.
std::size_t DeclaredSize(const RecordDecl& d);

namespace detail {
template <class T> struct FieldTypeOf;
template <std::size_t N> struct FieldTypeOf<FString<N>> { static constexpr FieldType type = FieldType::String; };
template <std::size_t N> struct FieldTypeOf<CString<N>> { static constexpr FieldType type = FieldType::CString; };
template <> struct FieldTypeOf<std::uint8_t> { static constexpr FieldType type = FieldType::Byte; };
template <> struct FieldTypeOf<std::int16_t> { static constexpr FieldType type = FieldType::Short; };
template <> struct FieldTypeOf<std::uint16_t> { static constexpr FieldType type = FieldType::UShort; };
template <> struct FieldTypeOf<std::int32_t> { static constexpr FieldType type = FieldType::Long; };
template <> struct FieldTypeOf<std::uint32_t> { static constexpr FieldType type = FieldType::ULong; };
template <> struct FieldTypeOf<double> { static constexpr FieldType type = FieldType::Real; };
}  // namespace detail

template <class R>
class RecordDeclBuilder {
public:
    explicit RecordDeclBuilder(std::string prefix) { decl_.prefix = std::move(prefix); decl_.size = sizeof(R); }

    template <class T>
    RecordDeclBuilder& Field(std::string name, T R::*member) {
        return Add(std::move(name), detail::FieldTypeOf<T>::type, member);
    }
    // A LONG member that holds a day number (DATE) or hundredths since midnight (TIME).
    RecordDeclBuilder& Date(std::string name, std::int32_t R::*member) { return Add(std::move(name), FieldType::Date, member); }
    RecordDeclBuilder& Time(std::string name, std::int32_t R::*member) { return Add(std::move(name), FieldType::Time, member); }

    RecordDecl Build() const { return decl_; }

private:
    template <class T>
    RecordDeclBuilder& Add(std::string name, FieldType type, T R::*member) {
        static const R probe{};
        const auto offset = static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*member)) -
                                                     reinterpret_cast<const char*>(&probe));
        decl_.fields.push_back({std::move(name), type, offset, sizeof(T)});
        return *this;
    }
    RecordDecl decl_;
};

}  // namespace fw
