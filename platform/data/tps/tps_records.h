#pragma once
// The records of a leaf page. Each starts with a control byte: 0x80 = a
// record length follows, 0x40 = a header length follows (else both carry
// over from the record before), low 6 bits = bytes shared with the start of
// the record before. Header and payload are one byte string; the header is
// the record's sort key.

#include "platform/data/tps/tps_bytes.h"
#include "platform/data/tps/tps_pages.h"

#include <cstring>
#include <string>
#include <string_view>

namespace fw::tps {

[[noreturn]] void ThrowRecordError(const PageHeader& page, std::size_t index, const char* what);
// A page whose records disagree with its count: they end after `read`, or
// `left` bytes follow the last one it counts.
[[noreturn]] void ThrowCountError(const PageHeader& page, std::size_t read, std::size_t left = 0);

// Calls f(header, payload) for each record of the page; `record` is the
// caller's buffer, reused from page to page. The views are valid until the
// next call of f. Throws TpsError for a record that does not fit its page or
// refers to bytes it cannot have, and for a page that holds fewer or more
// records than it counts.
template <class F>
void ForEachRecord(const PageHeader& page, std::string_view body, std::string& record, F&& f) {
    std::size_t pos = 0;
    std::size_t recordLength = 0;
    std::size_t headerLength = 0;
    record.clear();
    for (std::size_t i = 0; i < page.count; ++i) {
        // Fewer records than the page counts: the rest are lost.
        if (pos >= body.size()) ThrowCountError(page, i);
        const auto control = static_cast<unsigned char>(body[pos++]);
        if (i == 0 && (control & 0xC0) != 0xC0) ThrowRecordError(page, i, "does not start a record list");
        const bool hasRecordLength = control & 0x80;
        const bool hasHeaderLength = control & 0x40;
        const std::size_t need = (hasRecordLength ? 2 : 0) + (hasHeaderLength ? 2 : 0);
        if (need > body.size() - pos) ThrowRecordError(page, i, "is longer than its page");
        if (hasRecordLength) { recordLength = Le16(body, pos); pos += 2; }
        if (hasHeaderLength) { headerLength = Le16(body, pos); pos += 2; }
        const std::size_t shared = i == 0 ? 0 : (control & 0x3F);
        if (shared > record.size() || shared > recordLength) ThrowRecordError(page, i, "shares more bytes than the record before has");
        if (headerLength > recordLength) ThrowRecordError(page, i, "has a header longer than the record");
        const std::size_t fresh = recordLength - shared;
        if (fresh > body.size() - pos) ThrowRecordError(page, i, "is longer than its page");
        record.resize(recordLength);
        if (fresh) std::memcpy(record.data() + shared, body.data() + pos, fresh);
        pos += fresh;
        const std::string_view whole(record);
        f(whole.substr(0, headerLength), whole.substr(headerLength));
    }
    // More than it counts: records it does not own, or damage.
    if (pos != body.size()) ThrowCountError(page, page.count, body.size() - pos);
}

}  // namespace fw::tps
