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

}  // namespace

bool LooksEncrypted(std::string_view head) {
    if (head.size() < kHeaderSize || HasSignature(head)) return false;
    // The range table's tail: the same page reference over and over, in
    // the starts (0x80..0xFF) and in the ends (0x180..0x1FF).
    const std::string_view tail = Block(head, 0x80);
    if (Block(head, 0xC0) != tail || Block(head, 0x180) != tail || Block(head, 0x1C0) != tail) return false;
    if (Block(head, 0x00) == tail) return false;
    // Ciphertext, not padding: many different byte values.
    std::bitset<256> seen;
    for (char c : tail) seen.set(static_cast<unsigned char>(c));
    return seen.count() >= 16;
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
