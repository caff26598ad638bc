#include "platform/data/schema.h"

#include "platform/text/codepage.h"

#include <set>
#include <vector>
#include <utility>

namespace fw::data {
namespace {

const char* ColumnType(FieldType t) {
    if (IsTextField(t)) return "TEXT";
    if (t == FieldType::Real) return "REAL";
    return "INTEGER";
}

std::string KeysText(const File& f) {
    std::string s;
    for (int k = 0; k < f.KeyCount(); ++k) {
        const KeyDecl& kd = f.KeyAt(k);
        s += UpperText(kd.name) + "(";
        for (std::size_t i = 0; i < kd.components.size(); ++i) s += (i ? "," : "") + UpperText(kd.components[i]);
        s += std::string(")") + (kd.unique ? " UNIQUE" : "") + (kd.optional ? " OPT" : "") +
             (kd.caseInsensitive ? " NOCASE" : "") + ";";
    }
    return s;
}

int Step(Connection& c, const std::string& sql) {
    int rc = SQLITE_OK;
    sqlite3_stmt* s = c.Prepare(sql, &rc);
    if (!s) return rc;
    StatementScope scope(s);
    rc = sqlite3_step(s);
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

// The columns of a table of ours, in order, upper case, with their declared
// types; a hidden or generated column gives an entry no table of ours has.
bool TableColumns(Connection& c, const char* table, std::vector<std::string>& columns, int* rc) {
    columns.clear();
    sqlite3_stmt* q = c.Prepare(std::string("SELECT name, type, hidden FROM pragma_table_xinfo('") + table + "')", rc);
    if (!q) return false;
    StatementScope scope(q);
    int step;
    while ((step = sqlite3_step(q)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(q, 0));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(q, 1));
        std::string column = UpperText(name ? name : "") + " " + UpperText(type ? type : "");
        if (sqlite3_column_int(q, 2) != 0) column += " HIDDEN";
        columns.push_back(std::move(column));
    }
    if (step != SQLITE_DONE) *rc = step;
    return step == SQLITE_DONE;
}

// Tables, indexes and nothing else: no trigger, no view, no table we do not
// make, and exactly our columns. A file that holds more could run its own
// SQL inside the program or read back as something it is not.
LayoutCheck CheckObjects(Connection& c, const File& f, int* rc, LayoutCheck (*classify)(int)) {
    sqlite3_stmt* q = c.Prepare("SELECT type, name, tbl_name FROM sqlite_master", rc);
    if (!q) return classify(*rc);
    {
        StatementScope scope(q);
        int step;
        while ((step = sqlite3_step(q)) == SQLITE_ROW) {
            const auto text = [q](int i) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(q, i));
                return std::string(t ? t : "");
            };
            const std::string type = text(0), name = UpperText(text(1)), table = UpperText(text(2));
            const bool ourTable = table == UpperText(kRecordsTable) || table == UpperText(kLayoutTable) ||
                                  table == "SQLITE_SEQUENCE";
            if (type == "table" && ourTable && name == table) continue;
            // The keys' indexes are compared with the declaration below.
            if (type == "index" && table == UpperText(kRecordsTable)) continue;
            if (type == "index" && table == UpperText(kLayoutTable) && name.rfind("SQLITE_AUTOINDEX_", 0) == 0) continue;
            return LayoutCheck::NotOurs;
        }
        if (step != SQLITE_DONE) {
            *rc = step;
            return classify(step);
        }
    }
    std::vector<std::string> want = {"_ID INTEGER", "_REV INTEGER"}, have;
    for (const auto& fd : f.Record().fields) want.push_back(UpperText(fd.name) + " " + ColumnType(fd.type));
    if (!TableColumns(c, kRecordsTable, have, rc)) return classify(*rc);
    if (have != want) return LayoutCheck::NotOurs;
    if (!TableColumns(c, kLayoutTable, have, rc)) return classify(*rc);
    if (have != std::vector<std::string>{"NAME TEXT", "VALUE TEXT"}) return LayoutCheck::NotOurs;
    return LayoutCheck::Ok;
}

LayoutCheck Classify(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return LayoutCheck::Busy;
    case SQLITE_ERROR:  // no such table: SQLite, but not ours
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_RANGE: return LayoutCheck::NotOurs;
    default: return LayoutCheck::Error;
    }
}

}  // namespace

std::string LayoutSignature(const RecordDecl& d) {
    std::string s = "fields:";
    for (const auto& f : d.fields)
        s += UpperText(f.name) + " " + FieldTypeName(f.type) + "(" + std::to_string(f.size) + ");";
    return s;
}

std::string ColumnList(const File& f) {
    std::string s;
    for (const auto& fd : f.Record().fields) {
        if (!s.empty()) s += ',';
        s += Quote(fd.name);
    }
    return s;
}

std::string KeyColumn(const File& f, int key, int comp) {
    const FieldDecl& fd = f.Record().fields[static_cast<std::size_t>(f.KeyFields(key)[static_cast<std::size_t>(comp)])];
    std::string s = Quote(fd.name);
    if (IsTextField(fd.type) && !f.KeyAt(key).caseInsensitive) s += std::string(" COLLATE ") + kExactCollation;
    return s;
}

std::string KeyPredicate(const File& f, int key) {
    if (!f.KeyAt(key).optional) return "";
    std::string s = "(";
    const auto& fields = f.KeyFields(key);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDecl& fd = f.Record().fields[static_cast<std::size_t>(fields[i])];
        if (i) s += " OR ";
        s += Quote(fd.name) + (IsTextField(fd.type) ? " <> ''" : " <> 0");
    }
    return s + ")";
}

std::string IndexName(const File& f, int key) { return Quote("key_" + UpperText(f.KeyAt(key).name)); }

std::string IndexSql(const File& f, int key, std::string_view schema) {
    std::string s = std::string("CREATE ") + (f.KeyAt(key).unique ? "UNIQUE " : "") + "INDEX " +
                    (schema.empty() ? "" : "IF NOT EXISTS " + Quote(schema) + ".") + IndexName(f, key) + " ON " +
                    kRecordsTable + "(";
    for (std::size_t i = 0; i < f.KeyFields(key).size(); ++i) s += (i ? "," : "") + KeyColumn(f, key, static_cast<int>(i));
    s += ")";
    const std::string pred = KeyPredicate(f, key);
    if (!pred.empty()) s += " WHERE " + pred;
    return s;
}

bool IsOurDatabase(Connection& c) {
    int rc = SQLITE_OK;
    sqlite3_stmt* s = c.Prepare(std::string("SELECT value FROM ") + kLayoutTable + " WHERE name='fields'", &rc);
    if (!s) return false;
    StatementScope scope(s);
    return sqlite3_step(s) == SQLITE_ROW;
}

LayoutCheck CheckLayout(Connection& c, const File& f, int* rc) {
    *rc = SQLITE_OK;
    const auto classify = Classify;
    if (const LayoutCheck objects = CheckObjects(c, f, rc, Classify); objects != LayoutCheck::Ok) return objects;
    sqlite3_stmt* s = c.Prepare(std::string("SELECT value FROM ") + kLayoutTable + " WHERE name='fields'", rc);
    if (!s) return classify(*rc);
    std::string stored;
    {
        StatementScope scope(s);
        const int step = sqlite3_step(s);
        if (step == SQLITE_DONE) return LayoutCheck::NotOurs;
        if (step != SQLITE_ROW) {
            *rc = step;
            return classify(step);
        }
        const auto* text = sqlite3_column_text(s, 0);
        stored.assign(text ? reinterpret_cast<const char*>(text) : "",
                      static_cast<std::size_t>(sqlite3_column_bytes(s, 0)));
    }
    if (stored != LayoutSignature(f.Record())) return LayoutCheck::OtherLayout;

    std::set<std::pair<std::string, std::string>> want, have;
    for (int k = 0; k < f.KeyCount(); ++k) want.emplace(UpperText("key_" + f.KeyAt(k).name), IndexSql(f, k));
    sqlite3_stmt* q = c.Prepare(std::string("SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name='") +
                                    kRecordsTable + "' AND sql IS NOT NULL",
                                rc);
    if (!q) return classify(*rc);
    StatementScope scope(q);
    int step;
    while ((step = sqlite3_step(q)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(q, 0));
        const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(q, 1));
        have.emplace(UpperText(name ? name : ""), sql ? sql : "");
    }
    if (step != SQLITE_DONE) {
        *rc = step;
        return classify(step);
    }
    return want == have ? LayoutCheck::Ok : LayoutCheck::KeysDiffer;
}

int CreateSchema(Connection& c, const File& f) {
    int rc = c.Exec("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return rc;
    std::string sql = std::string("DROP TABLE IF EXISTS ") + kRecordsTable + ";DROP TABLE IF EXISTS " + kLayoutTable +
                      ";CREATE TABLE " + kRecordsTable +
                      "(_id INTEGER PRIMARY KEY AUTOINCREMENT, _rev INTEGER NOT NULL DEFAULT 1";
    for (const auto& fd : f.Record().fields) {
        sql += "," + Quote(fd.name) + " " + ColumnType(fd.type);
        if (IsTextField(fd.type)) sql += std::string(" COLLATE ") + kFoldedCollation + " NOT NULL DEFAULT ''";
        else sql += " NOT NULL DEFAULT 0";
    }
    sql += ");CREATE TABLE " + std::string(kLayoutTable) + "(name TEXT PRIMARY KEY, value TEXT NOT NULL);";
    for (int k = 0; k < f.KeyCount(); ++k) sql += IndexSql(f, k) + ";";
    rc = c.Exec(sql);
    if (rc == SQLITE_OK) {
        int prc = SQLITE_OK;
        sqlite3_stmt* s = c.Prepare(std::string("INSERT INTO ") + kLayoutTable + " VALUES(?,?)", &prc);
        const std::pair<std::string, std::string> rows[] = {
            {"format", "1"}, {"fields", LayoutSignature(f.Record())}, {"keys", KeysText(f)}, {"label", f.Label()}};
        for (const auto& [name, value] : rows) {
            if (!s) { rc = prc; break; }
            StatementScope scope(s);
            sqlite3_bind_text(s, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
            const int step = sqlite3_step(s);
            if (step != SQLITE_DONE) { rc = step; break; }
        }
    }
    if (rc != SQLITE_OK) {
        c.Exec("ROLLBACK");
        return rc;
    }
    rc = c.Exec("COMMIT");
    if (rc != SQLITE_OK) c.Exec("ROLLBACK");
    return rc;
}

int RebuildKeys(Connection& c, const File& f, long* removed) {
    *removed = 0;
    int rc = c.Exec("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return rc;
    std::vector<std::string> drop;
    {
        sqlite3_stmt* q = c.Prepare(std::string("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='") +
                                        kRecordsTable + "' AND sql IS NOT NULL",
                                    &rc);
        if (q) {
            StatementScope scope(q);
            while (sqlite3_step(q) == SQLITE_ROW)
                drop.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
        }
    }
    for (const auto& name : drop)
        if (rc == SQLITE_OK) rc = c.Exec("DROP INDEX " + Quote(name));
    for (int k = 0; k < f.KeyCount() && rc == SQLITE_OK; ++k) {
        if (!f.KeyAt(k).unique) continue;
        std::string cols;
        for (std::size_t i = 0; i < f.KeyFields(k).size(); ++i) cols += (i ? "," : "") + KeyColumn(f, k, static_cast<int>(i));
        const std::string pred = KeyPredicate(f, k);
        rc = Step(c, std::string("DELETE FROM ") + kRecordsTable +
                         " WHERE _id IN (SELECT _id FROM (SELECT _id, row_number() OVER (PARTITION BY " + cols +
                         " ORDER BY _id) AS n FROM " + kRecordsTable + (pred.empty() ? "" : " WHERE " + pred) +
                         ") WHERE n > 1)");
        if (rc == SQLITE_OK) *removed += sqlite3_changes(c.Handle());
    }
    for (int k = 0; k < f.KeyCount() && rc == SQLITE_OK; ++k) rc = c.Exec(IndexSql(f, k));
    if (rc != SQLITE_OK) {
        c.Exec("ROLLBACK");
        return rc;
    }
    rc = c.Exec("COMMIT");
    if (rc != SQLITE_OK) c.Exec("ROLLBACK");
    return rc;
}

}  // namespace fw::data
