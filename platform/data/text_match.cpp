#include "platform/data/text_match.h"

#include "platform/data/cursor.h"
#include "platform/data/file_access.h"
#include "platform/data/file_ops.h"
#include "platform/data/schema.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace fw {

namespace {

// Does field hold folded at its position `at`, letter case ignored?
bool HoldsAt(std::string_view field, std::size_t at, std::string_view folded) {
    for (std::size_t i = 0; i < folded.size(); ++i)
        if (UpperByte(static_cast<unsigned char>(field[at + i])) != static_cast<unsigned char>(folded[i])) return false;
    return true;
}

}  // namespace

bool TextMatches(std::string_view field, std::string_view folded, TextMatch mode) {
    if (folded.empty() || field.size() < folded.size()) return false;
    if (mode == TextMatch::BeginsWith) return HoldsAt(field, 0, folded);
    if (mode != TextMatch::Contains) return false;
    const unsigned char first = static_cast<unsigned char>(folded.front());
    const std::size_t last = field.size() - folded.size();
    for (std::size_t at = 0; at <= last; ++at)
        if (UpperByte(static_cast<unsigned char>(field[at])) == first && HoldsAt(field, at, folded)) return true;
    return false;
}

namespace {

// The key's columns, its predicate and the records table, for the SQL below.
struct KeySql {
    std::string table, where, columns;
    int components = 0;
};

KeySql SqlOf(const File& f, int key, data::Database& db) {
    KeySql k;
    k.table = data::Quote(db.Schema()) + "." + data::kRecordsTable;
    k.where = data::KeyPredicate(f, key);
    if (k.where.empty()) k.where = "1";
    k.components = static_cast<int>(f.KeyFields(key).size());
    for (int c = 0; c < k.components; ++c) k.columns += (c ? "," : "") + data::KeyColumn(f, key, c);
    return k;
}

}  // namespace

long KeyRank(const Key& k) {
    if (!k.Valid()) return 0;
    File& f = *k.file;
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return 0;
    if (inst->currentId == 0) {
        ClearError();
        return 0;
    }
    data::Database& db = *inst->db;
    const KeySql sql = SqlOf(f, k.index, db);
    std::string marks;
    for (int c = 0; c < sql.components; ++c) marks += c ? ",?" : "?";
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare("SELECT count(*) FROM " + sql.table + " WHERE " + sql.where + " AND ((" +
                                            sql.columns + ") < (" + marks + ") OR ((" + sql.columns + ") = (" + marks +
                                            ") AND _id < ?))",
                                        &rc);
    if (!s) {
        data::SetSqliteError(rc, db.Conn());
        return 0;
    }
    data::StatementScope scope(s);
    const data::KeyValues values = data::KeyValuesOf(f, k.index, inst->Buffer());
    const auto& fields = f.KeyFields(k.index);
    int p = 1;
    for (int pass = 0; pass < 2; ++pass)
        for (int c = 0; c < sql.components; ++c)
            data::BindKeyValue(s, p++, values[static_cast<std::size_t>(c)],
                               f.Record().fields[static_cast<std::size_t>(fields[static_cast<std::size_t>(c)])]);
    sqlite3_bind_int64(s, p, inst->currentId);
    rc = sqlite3_step(s);
    if (rc != SQLITE_ROW) {
        data::SetSqliteError(rc, db.Conn());
        return 0;
    }
    ClearError();
    return static_cast<long>(sqlite3_column_int64(s, 0)) + 1;
}

long KeyRecords(const Key& k) {
    if (!k.Valid()) return 0;
    FileInstance* inst = data::OpenInstance(*k.file);
    if (!inst) return 0;
    data::Database& db = *inst->db;
    const KeySql sql = SqlOf(*k.file, k.index, db);
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare("SELECT count(*) FROM " + sql.table + " WHERE " + sql.where, &rc);
    if (!s) {
        data::SetSqliteError(rc, db.Conn());
        return 0;
    }
    data::StatementScope scope(s);
    rc = sqlite3_step(s);
    if (rc != SQLITE_ROW) {
        data::SetSqliteError(rc, db.Conn());
        return 0;
    }
    ClearError();
    return static_cast<long>(sqlite3_column_int64(s, 0));
}

bool GetAtRank(const Key& k, long rank) {
    if (!k.Valid()) return false;
    File& f = *k.file;
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return false;
    if (rank < 1) {
        SetError(BadRecErr);
        return false;
    }
    data::Database& db = *inst->db;
    const KeySql sql = SqlOf(f, k.index, db);
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare("SELECT _id FROM " + sql.table + " WHERE " + sql.where + " ORDER BY " +
                                            sql.columns + ",_id LIMIT 1 OFFSET ?",
                                        &rc);
    if (!s) {
        data::SetSqliteError(rc, db.Conn());
        return false;
    }
    data::StatementScope scope(s);
    sqlite3_bind_int64(s, 1, rank - 1);
    rc = sqlite3_step(s);
    if (rc == SQLITE_DONE) {
        SetError(BadRecErr);
        return false;
    }
    if (rc != SQLITE_ROW) {
        data::SetSqliteError(rc, db.Conn());
        return false;
    }
    GET(f, static_cast<long>(sqlite3_column_int64(s, 0)));
    return ERRORCODE() == 0;
}

}  // namespace fw

namespace fw::data {

namespace {

void TextMatchCallback(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto* field = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* folded = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const std::string_view f(field ? field : "", static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
    const std::string_view t(folded ? folded : "", static_cast<std::size_t>(sqlite3_value_bytes(argv[1])));
    sqlite3_result_int(ctx, TextMatches(f, t, static_cast<TextMatch>(sqlite3_value_int(argv[2]))) ? 1 : 0);
}

}  // namespace

void RegisterTextMatch(sqlite3* db) {
    sqlite3_create_function(db, kTextMatchFunction, 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, TextMatchCallback,
                            nullptr, nullptr);
}

bool PrefixRange(std::string_view folded, std::string* low, std::string* high) {
    if (folded.empty() || folded.back() == ' ') return false;
    *low = std::string(folded);
    high->clear();
    // Folded texts are made of the bytes that fold to themselves: the next
    // such byte after the prefix's last one bounds every text that begins
    // with the prefix, and no other text lies below that bound.
    const unsigned char last = static_cast<unsigned char>(folded.back());
    for (int b = last + 1; b <= 0xFF; ++b) {
        if (UpperByte(static_cast<unsigned char>(b)) != b || b == ' ') continue;
        *high = std::string(folded.substr(0, folded.size() - 1)) + static_cast<char>(b);
        break;
    }
    return true;
}

}  // namespace fw::data
