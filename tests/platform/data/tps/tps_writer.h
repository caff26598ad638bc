#pragma once
// A small TopSpeed writer for test fixtures and benchmarks only: it makes
// files from tables a test describes (definitions, rows, memos, keys) with
// compressed leaf pages, records sharing prefixes, a tree of inner pages
// when there is more than one leaf, optionally a stale orphan page and the
// owner-password encryption. Never for host data.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tps_fixture {

// Type codes, as stored.
enum : std::uint8_t {
    BYTE = 0x01, SHORT = 0x02, USHORT = 0x03, DATE = 0x04, TIME = 0x05, LONG = 0x06, ULONG = 0x07,
    SREAL = 0x08, REAL = 0x09, DECIMAL = 0x0A, STRING = 0x12, CSTRING = 0x13, PSTRING = 0x14, GROUP = 0x16,
};

inline void PutLe16(std::string& s, std::uint32_t v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); }
inline void PutLe32(std::string& s, std::uint32_t v) { PutLe16(s, v & 0xFFFF); PutLe16(s, v >> 16); }
inline void PutBe16(std::string& s, std::uint32_t v) { s += char((v >> 8) & 0xFF); s += char(v & 0xFF); }
inline void PutBe32(std::string& s, std::uint32_t v) { PutBe16(s, v >> 16); PutBe16(s, v & 0xFFFF); }
inline void SetLe16(std::string& s, std::size_t at, std::uint32_t v) { s[at] = char(v & 0xFF); s[at + 1] = char((v >> 8) & 0xFF); }
inline void SetLe32(std::string& s, std::size_t at, std::uint32_t v) { SetLe16(s, at, v & 0xFFFF); SetLe16(s, at + 2, v >> 16); }
inline std::uint32_t GetLe32(std::string_view s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// A row image built field by field.
class Row {
public:
    explicit Row(std::size_t length, char fill = '\0') : b_(length, fill) {}
    Row& U8(std::size_t at, std::uint8_t v) { b_[at] = char(v); return *this; }
    Row& Le16(std::size_t at, std::uint32_t v) { SetLe16(b_, at, v); return *this; }
    Row& Le32(std::size_t at, std::uint32_t v) { SetLe32(b_, at, v); return *this; }
    Row& Bytes(std::size_t at, std::string_view v) { std::memcpy(b_.data() + at, v.data(), v.size()); return *this; }
    // A STRING: the text, then blanks to n bytes.
    Row& Text(std::size_t at, std::size_t n, std::string_view v) {
        std::memset(b_.data() + at, ' ', n);
        return Bytes(at, v.substr(0, n));
    }
    Row& Date(std::size_t at, int year, int month, int day) {
        return U8(at, std::uint8_t(day)).U8(at + 1, std::uint8_t(month)).Le16(at + 2, std::uint32_t(year));
    }
    Row& Time(std::size_t at, int h, int m, int s, int cs) {
        return U8(at, std::uint8_t(cs)).U8(at + 1, std::uint8_t(s)).U8(at + 2, std::uint8_t(m)).U8(at + 3, std::uint8_t(h));
    }
    Row& Real(std::size_t at, double v) { std::memcpy(b_.data() + at, &v, 8); return *this; }
    Row& SReal(std::size_t at, float v) { std::memcpy(b_.data() + at, &v, 4); return *this; }
    const std::string& Str() const { return b_; }
    operator std::string() const { return b_; }  // NOLINT

private:
    std::string b_;
};

struct FieldPlan {
    std::uint8_t type = STRING;
    std::string name;              // "PRE:NAME"
    std::uint16_t offset = 0;
    std::uint16_t length = 0;      // all elements together
    std::uint16_t elements = 1;
    std::uint8_t decimals = 0;     // DECIMAL
    std::string picture;           // text types
    std::uint16_t flags = 0;
    int elementLength = -1;        // text types: -1 writes length / elements
};

struct MemoPlan {
    std::string name;
    bool blob = false;
    std::uint16_t maxSize = 1000;
    std::string externalFile;
};

struct KeyPlan {
    std::string name;
    std::vector<std::uint16_t> fields;  // positions in the table's field list
    std::uint8_t flags = 0x07;
};

struct MemoValue {
    std::uint32_t record = 0;
    std::uint8_t memo = 0;
    std::string bytes;              // a BLOB gets its length in front unless blobLength says otherwise
    std::size_t chunk = 64;         // bytes per chunk record
    int skipChunk = -1;             // leave this chunk out (a gap)
    long long blobLength = -1;      // the length written in front of a BLOB; -1: bytes.size()
    bool reversed = false;          // chunks in descending order among the records (sorting puts them back)
};

struct TablePlan {
    std::uint32_t number = 1;
    std::string name = "UNNAMED";
    bool named = true;
    std::uint16_t recordLength = 0;
    std::vector<FieldPlan> fields;
    std::vector<MemoPlan> memos;
    std::vector<KeyPlan> keys;
    std::vector<std::pair<std::uint32_t, std::string>> rows;  // record number, image
    std::vector<MemoValue> memoValues;
    int definitionParts = 1;
    int missingPart = -1;           // leave this definition part out
    bool bigEndianPartNumbers = false;
    bool reversedParts = false;     // definition parts emitted last first (seen with sortRecords off)
    bool statistics = true;
};

struct Record {
    std::string header;
    std::string payload;
};

inline std::string DefinitionBytes(const TablePlan& t) {
    std::string d;
    PutLe16(d, 1);
    PutLe16(d, t.recordLength);
    PutLe16(d, std::uint32_t(t.fields.size()));
    PutLe16(d, std::uint32_t(t.memos.size()));
    PutLe16(d, std::uint32_t(t.keys.size()));
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        const FieldPlan& f = t.fields[i];
        d += char(f.type);
        PutLe16(d, f.offset);
        d += f.name;
        d += '\0';
        PutLe16(d, f.elements);
        PutLe16(d, f.length);
        PutLe16(d, f.flags);
        PutLe16(d, std::uint32_t(i));
        if (f.type == DECIMAL) {
            d += char(f.decimals);
            d += char(f.length / std::max<int>(1, f.elements));
        } else if (f.type == STRING || f.type == CSTRING || f.type == PSTRING) {
            PutLe16(d, std::uint32_t(f.elementLength >= 0 ? f.elementLength : f.length / std::max<int>(1, f.elements)));
            d += f.picture;
            d += '\0';
            if (f.picture.empty()) d += '\0';
        }
    }
    for (const MemoPlan& m : t.memos) {
        d += m.externalFile;
        d += '\0';
        if (m.externalFile.empty()) d += '\1';
        d += m.name;
        d += '\0';
        PutLe16(d, m.maxSize);
        PutLe16(d, m.blob ? 0x04 : 0x00);
    }
    for (const KeyPlan& k : t.keys) {
        d += '\0';
        d += '\1';
        d += k.name;
        d += '\0';
        d += char(k.flags);
        PutLe16(d, std::uint32_t(k.fields.size()));
        for (auto f : k.fields) {
            PutLe16(d, f);
            PutLe16(d, 0);
        }
    }
    return d;
}

inline std::string TableHeader(std::uint32_t table, std::uint8_t kind) {
    std::string h;
    PutBe32(h, table);
    h += char(kind);
    return h;
}

// Key bytes of one field: texts as stored, numbers big-endian with the sign
// bit flipped for signed types, so that byte order is value order.
inline std::string KeyBytes(const FieldPlan& f, std::string_view row) {
    std::string k(row.substr(f.offset, f.length));
    if (f.type == STRING || f.type == CSTRING || f.type == PSTRING) return k;
    std::reverse(k.begin(), k.end());
    if ((f.type == SHORT || f.type == LONG) && !k.empty()) k[0] = char(k[0] ^ 0x80);
    return k;
}

// Every record of a table, in no particular order.
inline std::vector<Record> TableRecords(const TablePlan& t) {
    std::vector<Record> out;
    if (t.named) {
        Record r{"\xFE" + t.name, {}};
        PutBe32(r.payload, t.number);
        out.push_back(std::move(r));
    }
    const std::string def = DefinitionBytes(t);
    const int parts = std::max(1, t.definitionParts);
    const std::size_t slice = (def.size() + parts - 1) / parts;
    for (int q = 0; q < parts; ++q) {
        const int p = t.reversedParts ? parts - 1 - q : q;
        if (p == t.missingPart) continue;
        Record r{TableHeader(t.number, 0xFA), def.substr(std::min(def.size(), p * slice), slice)};
        if (t.bigEndianPartNumbers) PutBe16(r.header, std::uint32_t(p)); else PutLe16(r.header, std::uint32_t(p));
        out.push_back(std::move(r));
    }
    for (const auto& [number, image] : t.rows) {
        Record r{TableHeader(t.number, 0xF3), image};
        PutBe32(r.header, number);
        out.push_back(std::move(r));
        for (std::size_t k = 0; k < t.keys.size(); ++k) {
            Record e{TableHeader(t.number, std::uint8_t(k)), {}};
            for (auto f : t.keys[k].fields) e.header += KeyBytes(t.fields[f], image);
            PutBe32(e.header, number);
            out.push_back(std::move(e));
        }
    }
    if (t.statistics) {
        for (std::size_t k = 0; k <= t.keys.size(); ++k) {
            Record r{TableHeader(t.number, 0xF6), {}};
            r.header += char(k == t.keys.size() ? 0xF3 : k);
            PutLe32(r.payload, std::uint32_t(t.rows.size()));
            PutLe32(r.payload, 0);
            out.push_back(std::move(r));
        }
    }
    for (const MemoValue& m : t.memoValues) {
        std::string value = m.bytes;
        if (m.memo < t.memos.size() && t.memos[m.memo].blob) {
            std::string len;
            PutLe32(len, std::uint32_t(m.blobLength >= 0 ? m.blobLength : (long long)m.bytes.size()));
            value = len + value;
        }
        std::vector<Record> chunks;
        for (std::size_t at = 0, seq = 0; at < value.size(); at += m.chunk, ++seq) {
            if (int(seq) == m.skipChunk) continue;
            Record r{TableHeader(t.number, 0xFC), value.substr(at, m.chunk)};
            PutBe32(r.header, m.record);
            r.header += char(m.memo);
            PutBe16(r.header, std::uint32_t(seq));
            chunks.push_back(std::move(r));
        }
        if (m.reversed) std::reverse(chunks.begin(), chunks.end());
        for (auto& c : chunks) out.push_back(std::move(c));
    }
    return out;
}

inline void SortRecords(std::vector<Record>& records) {
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.header < b.header; });
}

// A leaf body: the empty record, then each record sharing up to maxShared
// leading bytes with the one before and carrying lengths over when equal.
inline std::string EncodeRecords(const std::vector<Record>& records, int maxShared = 63) {
    std::string body;
    body += char(0xC0);
    PutLe16(body, 0);
    PutLe16(body, 0);
    std::string prev;
    std::size_t prevHeader = 0;
    for (const Record& r : records) {
        const std::string whole = r.header + r.payload;
        std::size_t shared = 0;
        while (shared < std::size_t(maxShared) && shared < prev.size() && shared < whole.size() &&
               prev[shared] == whole[shared])
            ++shared;
        const bool newLength = whole.size() != prev.size();
        const bool newHeader = r.header.size() != prevHeader;
        body += char((newLength ? 0x80 : 0) | (newHeader ? 0x40 : 0) | shared);
        if (newLength) PutLe16(body, std::uint32_t(whole.size()));
        if (newHeader) PutLe16(body, std::uint32_t(r.header.size()));
        body += whole.substr(shared);
        prev = whole;
        prevHeader = r.header.size();
    }
    return body;
}

// The page compression: literal runs, each followed by a repeat of its last
// byte; runs of four or more equal bytes become repeats. With `spareZero`
// the stream ends in one zero byte after the data, as the database driver
// writes it (a repeat count of zero after a closing literal, or one spare
// byte after a closing repeat).
inline std::string Rle(std::string_view in, bool spareZero = false) {
    auto count = [](std::string& out, std::size_t n) {
        if (n < 0x80) {
            out += char(n);
        } else {
            out += char(0x80 | (n & 0x7F));
            out += char(n >> 7);
        }
    };
    constexpr std::size_t kMax = 0x7FFF;
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t end = i;  // the literal is [i, end]; a run starts at end
        while (true) {
            std::size_t run = 1;
            while (end + run < in.size() && in[end + run] == in[end] && run < kMax + 1) ++run;
            if (run >= 4 || end + 1 >= in.size() || end + 1 - i >= kMax) break;
            ++end;
        }
        const std::size_t literal = end + 1 - i;
        count(out, literal);
        out.append(in.substr(i, literal));
        i = end + 1;
        if (i >= in.size()) break;
        std::size_t repeat = 0;
        while (i + repeat < in.size() && in[i + repeat] == in[end] && repeat < kMax) ++repeat;
        count(out, repeat);
        i += repeat;
    }
    if (spareZero) out += '\0';
    return out;
}

inline std::string PageBytes(std::uint32_t offset, std::string_view stored, std::size_t fullSize, std::size_t flatSize,
                             std::size_t count, std::uint8_t level) {
    std::string p;
    PutLe32(p, offset);
    PutLe16(p, std::uint32_t(13 + stored.size()));
    PutLe16(p, std::uint32_t(fullSize));
    PutLe16(p, std::uint32_t(flatSize));
    PutLe16(p, std::uint32_t(count));
    p += char(level);
    p += stored;
    return p;
}

// The owner-password cipher: a key of 16 words from the password, applied
// to each 64-byte block on its own.
using OwnerKey = std::array<std::uint32_t, 16>;

inline OwnerKey SmearedKey(std::string_view password) {
    std::string k(password);
    k += '\0';
    unsigned char b[64];
    for (std::size_t t = 0; t < 64; ++t)
        b[(t * 17) % 64] = static_cast<unsigned char>(t + static_cast<unsigned char>(k[(t + 1) % k.size()]));
    OwnerKey w;
    for (std::size_t i = 0; i < 16; ++i)
        w[i] = std::uint32_t(b[4 * i]) | std::uint32_t(b[4 * i + 1]) << 8 | std::uint32_t(b[4 * i + 2]) << 16 |
               std::uint32_t(b[4 * i + 3]) << 24;
    return w;
}

inline OwnerKey MakeOwnerKey(std::string_view password) {
    OwnerKey w = SmearedKey(password);
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t t = 0; t < 16; ++t) {
            const std::uint32_t a = w[t];
            const std::size_t j = a & 15;
            const std::uint32_t b = w[j];
            w[j] = a + (a & b);
            w[t] = (a | b) + a;
        }
    return w;
}

inline void EncryptBlock(const OwnerKey& w, std::string& bytes, std::size_t at) {
    std::uint32_t d[16];
    for (std::size_t i = 0; i < 16; ++i) d[i] = GetLe32(bytes, at + 4 * i);
    for (std::size_t t = 0; t < 16; ++t) {
        const std::uint32_t k = w[t];
        const std::size_t j = k & 15;
        const std::uint32_t a = d[t];
        const std::uint32_t b = d[j];
        d[t] = k + ((k & a) | (~k & b));
        d[j] = k + ((k & b) | (~k & a));
    }
    for (std::size_t i = 0; i < 16; ++i) SetLe32(bytes, at + 4 * i, d[i]);
}

inline void EncryptFile(std::string& bytes, std::string_view password) {
    const OwnerKey w = MakeOwnerKey(password);
    for (std::size_t at = 0; at + 64 <= bytes.size(); at += 64) EncryptBlock(w, bytes, at);
}

struct Options {
    bool compress = true;
    bool spareZero = true;             // compressed pages end in a spare zero byte, as the driver's do
    std::size_t leafBytes = 4000;      // record bytes per leaf page at most (one record at least)
    std::size_t fanOut = 400;          // children per inner page
    std::vector<Record> orphan;        // records of an extra leaf that no inner page refers to
    std::string password;              // encrypt every block when set
    std::uint32_t unitsPerRange = 0;   // above 0: the pages spread over ranges of that many units
    int maxShared = 63;
    bool sortRecords = true;           // false: records in the order the tables give them
};

// Where the writer put the pages, for tests that damage a file.
struct Layout {
    std::string bytes;
    std::vector<std::uint32_t> leafOffsets;   // in tree order
    std::vector<std::uint32_t> innerOffsets;  // bottom level first; the root last
    std::uint32_t rootOffset = 0;
    std::uint32_t orphanOffset = 0;
};

namespace detail {

inline void Align(std::string& file) {
    file.append((256 - file.size() % 256) % 256, char(0xB0));
}

inline std::uint32_t AddLeaf(std::string& file, const std::vector<Record>& records, const Options& o) {
    const std::uint32_t offset = std::uint32_t(file.size());
    const std::string body = EncodeRecords(records, o.maxShared);
    std::size_t flat = 13 + 5;  // the empty record
    for (const Record& r : records) flat += 5 + r.header.size() + r.payload.size();
    std::string stored = o.compress ? Rle(body, o.spareZero) : body;
    if (stored.size() >= body.size()) stored = body;
    file += PageBytes(offset, stored, 13 + body.size(), flat, records.size() + 1, 0);
    Align(file);
    return offset;
}

inline std::uint32_t Ref(std::uint32_t offset) { return (offset - 0x200) / 256; }

}  // namespace detail

// Fills in the header of a file of pages: lengths, signature, the highest
// record number, the root page and the page ranges: one over every page, or
// with `unitsPerRange` consecutive ranges of that many units each, as the
// driver adds ranges while a file grows (the last of the 60 takes the rest).
// Unused ranges start and end at the end of the file.
inline void FinishHeader(std::string& file, std::uint32_t rootOffset, std::uint32_t lastRecord,
                         std::uint32_t unitsPerRange = 0) {
    detail::Align(file);
    const std::uint32_t units = std::uint32_t((file.size() - 0x200) / 256);
    SetLe32(file, 0x00, 0);
    SetLe16(file, 0x04, 0x200);
    SetLe32(file, 0x06, std::uint32_t(file.size()));
    SetLe32(file, 0x0A, std::uint32_t(file.size()));
    std::memcpy(file.data() + 0x0E, "tOpS", 4);
    for (int i = 0; i < 4; ++i) file[0x14 + i] = char(lastRecord >> (24 - 8 * i));
    SetLe32(file, 0x18, 1);
    SetLe32(file, 0x1C, detail::Ref(rootOffset));
    const std::uint32_t step = unitsPerRange ? unitsPerRange : std::max<std::uint32_t>(units, 1);
    for (std::uint32_t i = 0; i < 60; ++i) {
        // Range 0 stays empty; ranges 1 onwards cover the pages in turn.
        std::uint32_t start = units, end = units;
        if (i == 0) start = end = 0;
        else if (step * (i - 1) < units) {
            start = step * (i - 1);
            end = i == 59 ? units : std::min(units, step * i);
        }
        SetLe32(file, 0x20 + 4 * i, start);
        SetLe32(file, 0x110 + 4 * i, end);
    }
}

// A file of one leaf page holding `body` as it is (raw), with `count`
// records: for tests of damaged record lists.
inline std::string SinglePageFile(std::string_view body, std::size_t count) {
    std::string file(0x200, '\0');
    file += PageBytes(0x200, body, 13 + body.size(), 13 + body.size(), count, 0);
    FinishHeader(file, 0x200, 1);
    return file;
}

inline Layout WriteLayout(const std::vector<TablePlan>& tables, const Options& o = {}) {
    std::vector<Record> records;
    std::uint32_t lastRecord = 0;
    for (const TablePlan& t : tables) {
        auto r = TableRecords(t);
        for (auto& x : r) records.push_back(std::move(x));
        for (const auto& row : t.rows) lastRecord = std::max(lastRecord, row.first);
    }
    if (o.sortRecords) SortRecords(records);

    Layout out;
    std::string& file = out.bytes;
    file.assign(0x200, '\0');
    std::vector<Record> leaf;
    std::size_t leafSize = 0;
    auto flush = [&] {
        out.leafOffsets.push_back(detail::AddLeaf(file, leaf, o));
        leaf.clear();
        leafSize = 0;
    };
    for (Record& r : records) {
        const std::size_t size = 5 + r.header.size() + r.payload.size();
        if (!leaf.empty() && leafSize + size > o.leafBytes) flush();
        leafSize += size;
        leaf.push_back(std::move(r));
    }
    if (!leaf.empty() || out.leafOffsets.empty()) flush();
    if (!o.orphan.empty()) {
        auto orphan = o.orphan;
        SortRecords(orphan);
        out.orphanOffset = detail::AddLeaf(file, orphan, o);
    }
    std::vector<std::uint32_t> level = out.leafOffsets;
    std::uint8_t height = 0;
    while (level.size() > 1) {
        ++height;
        std::vector<std::uint32_t> up;
        for (std::size_t i = 0; i < level.size(); i += o.fanOut) {
            const std::size_t n = std::min(o.fanOut, level.size() - i);
            std::string body;
            for (std::size_t k = 0; k < n; ++k) PutLe32(body, detail::Ref(level[i + k]));
            const std::uint32_t offset = std::uint32_t(file.size());
            file += PageBytes(offset, body, 13 + body.size(), 13 + body.size(), n, height);
            detail::Align(file);
            out.innerOffsets.push_back(offset);
            up.push_back(offset);
        }
        level = std::move(up);
    }
    out.rootOffset = level.front();

    FinishHeader(file, out.rootOffset, lastRecord, o.unitsPerRange);
    if (!o.password.empty()) EncryptFile(file, o.password);
    return out;
}

inline std::string Write(const std::vector<TablePlan>& tables, const Options& o = {}) {
    return WriteLayout(tables, o).bytes;
}

}  // namespace tps_fixture
