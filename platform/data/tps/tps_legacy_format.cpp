#include "platform/data/tps/tps_legacy_format.h"

#include "platform/data/tps/tps_declaration.h"
#include "platform/data/tps/tps_file.h"
#include "platform/data/tps/tps_header.h"
#include "platform/runtime/error_state.h"

#include <bitset>
#include <optional>

namespace fw {
namespace tps {
namespace {

class TableReader : public LegacyReader {
public:
    // A reader that fails before its first record.
    TableReader(int code, std::string why) : code_(code), failure_(std::move(why)) {}
    TableReader(TpsFile file, std::size_t table, const RecordDecl& decl)
        : file_(std::move(file)), table_(&file_->Tables()[table]), loader_(std::in_place, *table_, decl) {}

    int Next(void* rec) override {
        if (code_ != 0) return -1;
        if (row_ == table_->RowCount()) return 0;
        loader_->Load(row_++, rec);
        return 1;
    }
    int FailureCode() const override { return code_; }
    std::string Failure() const override { return failure_; }
    long Count() const override { return table_ ? static_cast<long>(table_->RowCount()) : -1; }

private:
    int code_ = 0;
    std::string failure_;
    std::optional<TpsFile> file_;
    const Table* table_ = nullptr;
    std::optional<RecordLoader> loader_;
    std::size_t row_ = 0;
};

std::string TableName(const Table& t) { return t.name.empty() ? std::to_string(t.number) : t.name; }

std::unique_ptr<LegacyReader> OpenTable(const std::string& path, const RecordDecl& decl) {
    if (!IsTopSpeedFile(path)) return std::make_unique<TableReader>(FileSystemErr, kNotTopSpeedText);
    try {
        TpsFile file = TpsFile::Read(path);
        if (file.Tables().empty()) return std::make_unique<TableReader>(InvalidFileErr, "the file holds no table");
        std::string first;
        for (std::size_t i = 0; i < file.Tables().size(); ++i) {
            const std::string why = DeclarationMismatch(file.Tables()[i], decl);
            if (why.empty()) return std::make_unique<TableReader>(std::move(file), i, decl);
            if (first.empty()) first = "table " + TableName(file.Tables()[i]) + ", " + why;
        }
        return std::make_unique<TableReader>(InvalidFileErr, first);
    } catch (const TpsError& e) {
        return std::make_unique<TableReader>(FileSystemErr, e.what());
    }
}

std::string_view Block(std::string_view head, std::size_t at) { return head.substr(at, 64); }

std::size_t DistinctBytes(std::string_view block) {
    std::bitset<256> seen;
    for (char c : block) seen.set(static_cast<unsigned char>(c));
    return seen.count();
}

// While a file uses few of its 60 page ranges, the range table ends in the
// same page reference over and over, in the starts (0x80..0xFF) and in the
// ends (0x180..0x1FF): four equal blocks of ciphertext.
bool EqualRangeTail(std::string_view head) {
    const std::string_view tail = Block(head, 0x80);
    if (Block(head, 0xC0) != tail || Block(head, 0x180) != tail || Block(head, 0x1C0) != tail) return false;
    if (Block(head, 0x00) == tail) return false;
    return DistinctBytes(tail) >= 16;  // ciphertext, not padding
}

// A larger file fills more ranges, and its header has no equal blocks left;
// then every block of it must look like ciphertext: many different byte
// values and many different steps from byte to byte (which neither text,
// nor padding, nor a counting pattern has), and a good share of bytes
// with the top bit set (which text lacks).
bool CiphertextHeader(std::string_view head) {
    std::size_t high = 0;
    for (std::size_t at = 0; at < kHeaderSize; at += 64) {
        const std::string_view block = Block(head, at);
        std::bitset<256> steps;
        for (std::size_t i = 1; i < block.size(); ++i)
            steps.set(static_cast<unsigned char>(block[i] - block[i - 1]));
        if (DistinctBytes(block) < 24 || steps.count() < 24) return false;
        for (char c : block) high += static_cast<unsigned char>(c) >= 0x80;
    }
    return high >= kHeaderSize / 8;
}

}  // namespace

bool LooksEncrypted(std::string_view head) {
    if (head.size() < kHeaderSize || HasSignature(head)) return false;
    return EqualRangeTail(head) || CiphertextHeader(head);
}

LegacyFormat TopSpeedLegacyFormat() {
    LegacyFormat f;
    f.name = "TopSpeed";
    f.recognises = [](std::string_view head) { return HasSignature(head) || LooksEncrypted(head); };
    f.open = OpenTable;
    f.keptSuffix = kKeptSuffix;
    return f;
}

}  // namespace tps

void RegisterTopSpeedFormat() { RegisterLegacyFormat(tps::TopSpeedLegacyFormat()); }

}  // namespace fw
