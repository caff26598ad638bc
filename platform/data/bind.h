#pragma once
// BIND: names that filter expressions can use, kept per program thread in
// nested scopes. A procedure opens a scope (PUSHBIND) on entry and closes it
// (POPBIND) on exit; a name is looked up in the innermost scope first.
//   fw::BIND("SearchField", SearchField);   // a variable, read when a filter is evaluated
//   fw::BIND(SongBook);                     // the record: SBK:Title, SBK:Artist ...

#include "platform/data/file.h"
#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstdint>
#include <string_view>

namespace fw {

namespace data {
// A bound name's storage: a field-like description of a variable.
struct BoundName {
    FieldDecl field;         // offset 0 from address for a variable
    const void* address = nullptr;  // the record buffer or the variable
};
void BindVariable(std::string_view name, FieldType type, void* address, std::size_t size);
// Looks a name up in the current thread's scopes; false if it is not bound.
bool LookupBound(std::string_view name, BoundName* out);
}  // namespace data

template <std::size_t N>
void BIND(std::string_view name, FString<N>& v) { data::BindVariable(name, FieldType::String, v.data, N); }
template <std::size_t N>
void BIND(std::string_view name, CString<N>& v) { data::BindVariable(name, FieldType::CString, v.data, N); }
inline void BIND(std::string_view name, std::uint8_t& v) { data::BindVariable(name, FieldType::Byte, &v, 1); }
inline void BIND(std::string_view name, std::int16_t& v) { data::BindVariable(name, FieldType::Short, &v, 2); }
inline void BIND(std::string_view name, std::uint16_t& v) { data::BindVariable(name, FieldType::UShort, &v, 2); }
inline void BIND(std::string_view name, std::int32_t& v) { data::BindVariable(name, FieldType::Long, &v, 4); }
inline void BIND(std::string_view name, std::uint32_t& v) { data::BindVariable(name, FieldType::ULong, &v, 4); }
inline void BIND(std::string_view name, double& v) { data::BindVariable(name, FieldType::Real, &v, 8); }
// A record group: its fields by "PRE:Field".
void BIND(const RecordDecl& group, void* buffer);
// A file's record (the current thread's buffer).
void BIND(File& f);
void UNBIND(std::string_view name);
void PUSHBIND();
void POPBIND();

}  // namespace fw
