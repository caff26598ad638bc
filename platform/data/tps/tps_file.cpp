#include "platform/data/tps/tps_file.h"

#include "platform/data/tps/tps_bytes.h"
#include "platform/data/tps/tps_pages.h"
#include "platform/data/tps/tps_records.h"
#include "platform/text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <tuple>

namespace fw::tps {

namespace {

// Record kinds in the byte after the table number.
constexpr std::uint8_t kDataKind = 0xF3;
constexpr std::uint8_t kStatisticsKind = 0xF6;
constexpr std::uint8_t kDefinitionKind = 0xFA;
constexpr std::uint8_t kMemoKind = 0xFC;
constexpr std::uint8_t kNameMark = 0xFE;

struct DefinitionPart {
    std::uint16_t littleEndian;
    std::uint16_t bigEndian;
    std::string bytes;
};

struct MemoChunk {
    std::uint32_t owner;
    std::uint8_t memo;
    std::uint16_t sequence;
    std::string bytes;
};

// What one table's records add up to while the pages are read.
struct TableParts {
    std::string rows;
    std::vector<std::uint32_t> recordNumbers;
    std::size_t shortestRow = SIZE_MAX;
    std::size_t longestRow = 0;
    std::vector<DefinitionPart> definition;
    std::vector<MemoChunk> memos;
    std::optional<std::uint32_t> statisticsRows;
};

std::uint64_t MemoKey(std::uint32_t owner, std::size_t memo) { return (std::uint64_t{owner} << 8) | memo; }

}  // namespace

class Assembler {
public:
    explicit Assembler(std::string_view file) : file_(file) {}

    TpsFile Run() {
        result_.header_ = ReadHeader(file_, result_.warnings_);
        const LeafPages pages = FindLeafPages(file_, result_.header_, result_.warnings_);
        result_.scanned_ = pages.scanned;
        std::string scratch;
        std::string record;
        for (const PageHeader& page : pages.leaves) {
            const std::string_view body = LeafBody(file_, page, scratch);
            ForEachRecord(page, body, record, [this](std::string_view h, std::string_view p) { Take(h, p); });
        }
        for (auto& [number, parts] : parts_) Finish(number, parts);
        return std::move(result_);
    }

private:
    void Take(std::string_view header, std::string_view payload) {
        if (header.empty()) return;  // the empty record that starts a page
        if (U8(header, 0) == kNameMark) {
            if (payload.size() < 4) return;
            names_.emplace(Be32(payload, 0), std::string(header.substr(1)));  // the first copy wins
            return;
        }
        if (header.size() < 5) return;
        const std::uint32_t table = Be32(header, 0);
        if (!current_ || table != currentNumber_) {
            current_ = &parts_[table];
            currentNumber_ = table;
        }
        TableParts& t = *current_;
        switch (U8(header, 4)) {
        case kDataKind:
            if (header.size() != 9) return;
            t.rows.append(payload);
            t.recordNumbers.push_back(Be32(header, 5));
            t.shortestRow = std::min(t.shortestRow, payload.size());
            t.longestRow = std::max(t.longestRow, payload.size());
            return;
        case kDefinitionKind:
            if (header.size() < 7) return;
            t.definition.push_back({Le16(header, 5), Be16(header, 5), std::string(payload)});
            return;
        case kMemoKind:
            if (header.size() < 12) return;
            t.memos.push_back({Be32(header, 5), U8(header, 9), Be16(header, 10), std::string(payload)});
            return;
        case kStatisticsKind:
            if (header.size() >= 6 && U8(header, 5) == kDataKind && payload.size() >= 4 && !t.statisticsRows)
                t.statisticsRows = Le32(payload, 0);
            return;
        default:
            return;  // keys and records this reader does not need
        }
    }

    void Finish(std::uint32_t number, TableParts& parts) {
        Table table;
        table.number = number;
        const auto named = names_.find(number);
        table.name = named != names_.end() ? named->second : std::to_string(number);
        if (parts.definition.empty()) {
            if (!parts.recordNumbers.empty() || !parts.memos.empty())
                throw TpsError("table " + table.name + " has rows but no definition");
            return;  // index or statistics records left of a table without a definition
        }
        table.definition = ParseDefinition(JoinDefinition(table.name, parts.definition), table.name);
        const std::size_t length = table.definition.recordLength;
        if (!parts.recordNumbers.empty() && (parts.shortestRow != length || parts.longestRow != length)) {
            const std::size_t other = parts.shortestRow != length ? parts.shortestRow : parts.longestRow;
            throw TpsError("table " + table.name + ": the definition does not match its rows (a row of " +
                           std::to_string(other) + " bytes, the definition gives " + std::to_string(length) + ")");
        }
        OrderRows(table, parts);
        JoinMemos(table, parts);
        if (parts.statisticsRows && *parts.statisticsRows != table.RowCount())
            Warn("table " + table.name + ": holds " + std::to_string(table.RowCount()) + " rows, its count says " +
                 std::to_string(*parts.statisticsRows));
        result_.tables_.push_back(std::move(table));
    }

    // Parts in order of their number: little-endian, or big-endian when
    // only that reading makes them 0, 1, 2 ...
    std::string JoinDefinition(const std::string& name, std::vector<DefinitionPart>& parts) {
        for (const bool little : {true, false}) {
            auto number = [little](const DefinitionPart& p) { return little ? p.littleEndian : p.bigEndian; };
            std::stable_sort(parts.begin(), parts.end(),
                             [&](const DefinitionPart& a, const DefinitionPart& b) { return number(a) < number(b); });
            std::vector<const DefinitionPart*> distinct;
            for (const auto& p : parts)
                if (distinct.empty() || number(*distinct.back()) != number(p)) distinct.push_back(&p);
            bool contiguous = true;
            for (std::size_t i = 0; i < distinct.size(); ++i) contiguous = contiguous && number(*distinct[i]) == i;
            if (!contiguous) continue;
            std::string joined;
            for (const auto* p : distinct) joined += p->bytes;
            return joined;
        }
        throw TpsError("table " + name + ": the definition is incomplete (a part is missing)");
    }

    void OrderRows(Table& table, TableParts& parts) {
        const std::size_t length = table.definition.recordLength;
        auto& numbers = parts.recordNumbers;
        if (std::is_sorted(numbers.begin(), numbers.end()) &&
            std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end()) {
            table.rows_ = std::move(parts.rows);
            table.recordNumbers_ = std::move(numbers);
            return;
        }
        std::vector<std::size_t> order(numbers.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; });
        std::size_t dropped = 0;
        table.rows_.reserve(parts.rows.size());
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::size_t i = order[k];
            if (!table.recordNumbers_.empty() && table.recordNumbers_.back() == numbers[i]) {
                ++dropped;  // a stale copy: the first one met is kept
                continue;
            }
            table.recordNumbers_.push_back(numbers[i]);
            table.rows_.append(parts.rows, i * length, length);
        }
        if (dropped)
            Warn("table " + table.name + ": " + std::to_string(dropped) + " duplicate rows dropped (stale copies)");
    }

    void JoinMemos(Table& table, TableParts& parts) {
        const auto& memos = table.definition.memos;
        for (std::size_t m = 0; m < memos.size(); ++m)
            if (!memos[m].externalFile.empty())
                Warn("table " + table.name + ": memo " + memos[m].name + " is kept in " + memos[m].externalFile +
                     ", which is not read");
        auto& chunks = parts.memos;
        std::stable_sort(chunks.begin(), chunks.end(), [](const MemoChunk& a, const MemoChunk& b) {
            return std::tie(a.owner, a.memo, a.sequence) < std::tie(b.owner, b.memo, b.sequence);
        });
        for (std::size_t i = 0; i < chunks.size();) {
            std::size_t end = i;
            while (end < chunks.size() && chunks[end].owner == chunks[i].owner && chunks[end].memo == chunks[i].memo) ++end;
            const MemoChunk& first = chunks[i];
            const std::string where = "table " + table.name + ", record " + std::to_string(first.owner) + ", memo " +
                                      std::to_string(first.memo);
            if (first.memo >= memos.size() ||
                !std::binary_search(table.recordNumbers_.begin(), table.recordNumbers_.end(), first.owner)) {
                Warn(where + ": belongs to no row and was skipped");
                i = end;
                continue;
            }
            std::string value;
            std::uint16_t expected = 0;
            bool gap = false;
            for (std::size_t k = i; k < end; ++k) {
                if (k > i && chunks[k].sequence == chunks[k - 1].sequence) continue;  // stale copy
                if (chunks[k].sequence != expected) { gap = true; break; }
                value += chunks[k].bytes;
                ++expected;
            }
            i = end;
            const std::string& field = memos[first.memo].name;
            if (gap) {
                Damage(table, first.owner, field, "a part is missing");
                continue;
            }
            if (memos[first.memo].IsBlob()) {
                if (value.size() < 4) {
                    Damage(table, first.owner, field, "a BLOB without its length");
                    continue;
                }
                const std::uint32_t size = Le32(value, 0);
                value.erase(0, 4);
                if (size > value.size()) {
                    Damage(table, first.owner, field,
                           "the BLOB gives " + std::to_string(size) + " bytes and holds " + std::to_string(value.size()));
                    continue;
                }
                value.resize(size);
            } else {
                while (!value.empty() && value.back() == '\0') value.pop_back();
            }
            table.memos_[MemoKey(first.owner, first.memo)] = std::move(value);
        }
    }

    void Warn(std::string text) { result_.warnings_.push_back(std::move(text)); }

    void Damage(Table& table, std::uint32_t record, const std::string& field, const std::string& what) {
        Warn("table " + table.name + ", record " + std::to_string(record) + ", " + field + ": " + what +
             "; the value was not read");
        table.damaged_.push_back({record, field, what});
    }

    std::string_view file_;
    TpsFile result_;
    std::map<std::uint32_t, TableParts> parts_;
    std::map<std::uint32_t, std::string> names_;
    TableParts* current_ = nullptr;
    std::uint32_t currentNumber_ = 0;
};

int Table::FindField(std::string_view name) const {
    const bool withPrefix = name.find(':') != std::string_view::npos;
    const auto& fields = definition.fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view candidate = withPrefix ? std::string_view(fields[i].name) : fields[i].ShortName();
        if (candidate.size() == name.size() && CompareFolded(candidate, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool Table::IsDamaged(std::size_t row, std::string_view field) const {
    const std::uint32_t record = recordNumbers_[row];
    return std::any_of(damaged_.begin(), damaged_.end(), [&](const DamagedValue& d) {
        return d.record == record && d.field.size() == field.size() && CompareFolded(d.field, field) == 0;
    });
}

std::string Table::Memo(std::size_t row, std::size_t memo) const {
    const auto it = memos_.find(MemoKey(recordNumbers_[row], memo));
    return it == memos_.end() ? std::string() : it->second;
}

TpsFile TpsFile::Parse(std::string_view bytes) { return Assembler(bytes).Run(); }

TpsFile TpsFile::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw TpsError("cannot open " + path + ": " + std::strerror(errno));
    const std::streamoff size = in.tellg();
    std::string content(static_cast<std::size_t>(std::max<std::streamoff>(size, 0)), '\0');
    in.seekg(0);
    if (size < 0 || !in.read(content.data(), size)) throw TpsError("cannot read " + path);
    return Parse(content);
}

const Table* TpsFile::FindTable(std::string_view name) const {
    for (const Table& t : tables_)
        if (t.name.size() == name.size() && CompareFolded(t.name, name) == 0) return &t;
    return nullptr;
}

bool IsTopSpeedFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[0x12];
    if (!in.read(head, sizeof head)) return false;
    return HasSignature(std::string_view(head, sizeof head));
}

}  // namespace fw::tps
