#include "platform/data/file_ops.h"

#include "platform/data/background_check.h"
#include "platform/data/database.h"
#include "platform/data/file_access.h"
#include "platform/data/legacy_convert.h"
#include "platform/data/legacy_source.h"
#include "platform/data/names/path_names.h"
#include "platform/data/position.h"
#include "platform/data/schema.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fw {

using data::Anchor;
using data::Cursor;
using data::Database;
using data::Dir;
using data::KeyValues;
using data::StatementScope;
using data::Quote;

namespace data {

FileInstance* OpenInstance(File& f) {
    FileInstance& inst = f.Instance();
    if (!inst.open || !inst.db) {
        SetError(NotOpenErr);
        return nullptr;
    }
    return &inst;
}

FileInstance* WritableInstance(File& f) {
    FileInstance* inst = OpenInstance(f);
    if (!inst) return nullptr;
    if ((inst->mode & 0x0F) == ReadOnly || !inst->db->Writable()) {
        SetError(NoAccessErr);
        return nullptr;
    }
    // Nothing is written to a file before its check (if one runs) has
    // passed.
    if (!BackgroundCheck::WaitForChecksOf(inst->db->Path())) {
        SetFileError(FileSystemErr, "check", "the file is damaged");
        return nullptr;
    }
    return inst;
}

const FileInstance::Statements& SqlFor(FileInstance& inst) {
    FileInstance::Statements& s = inst.sql;
    const std::string& schema = inst.db->Schema();
    if (!s.insert.empty() && s.schema == schema) return s;
    const File& f = *inst.file;
    const std::string table = Quote(schema) + "." + kRecordsTable;
    std::string qs, sets;
    for (const auto& fd : f.Record().fields) {
        qs += qs.empty() ? "?" : ",?";
        sets += Quote(fd.name) + "=?,";
    }
    s.schema = schema;
    s.findId.assign(static_cast<std::size_t>(f.KeyCount()), std::string());
    s.findRow.assign(static_cast<std::size_t>(f.KeyCount()), std::string());
    s.insert = "INSERT INTO " + table + "(" + ColumnList(f) + ") VALUES(" + qs + ")";
    s.update = "UPDATE " + table + " SET " + sets + "_rev=_rev+1 WHERE _id=?";
    s.updateWatched = s.update + " AND _rev=?";
    s.byId = "SELECT _id,_rev," + ColumnList(f) + " FROM " + table + " WHERE _id=?";
    s.remove = "DELETE FROM " + table + " WHERE _id=?";
    return s;
}

bool ReadById(FileInstance& inst, std::int64_t id, std::vector<char>* row, std::int64_t* rev, int* rc) {
    Database& db = *inst.db;
    const File& f = *inst.file;
    sqlite3_stmt* s = db.Conn().Prepare(SqlFor(inst).byId, rc);
    if (!s) return false;
    StatementScope scope(s);
    sqlite3_bind_int64(s, 1, id);
    const int step = sqlite3_step(s);
    if (step == SQLITE_DONE) return false;
    if (step != SQLITE_ROW) {
        if (!BackgroundCheck::ReportsDamageOf(db.Path(), step)) *rc = step;
        return false;
    }
    row->assign(f.Record().size, 0);
    std::memcpy(row->data(), inst.Buffer(), f.Record().size);
    ReadRecord(s, 2, f.Record(), row->data());
    *rev = sqlite3_column_int64(s, 1);
    return true;
}

void SuspendStream(Database& db) {
    if (db.streamers > 0) db.Own().Exec("COMMIT");
}

void ResumeStream(Database& db) {
    if (db.streamers > 0) db.Own().Exec("BEGIN IMMEDIATE");
}

}  // namespace data

namespace {

std::string FileName(File& f) {
    std::string n = f.Decl().name ? f.Decl().name() : std::string();
    while (!n.empty() && (n.back() == ' ' || n.back() == '\0')) n.pop_back();
    return n;
}

// The file's name found on disk; blank when it has no name (error 45 set).
std::string DiskPathOf(File& f) {
    const std::string name = FileName(f);
    if (name.empty()) {
        SetError(BadKeyErr);
        return {};
    }
    return ResolvePath(name);
}

bool ParentExists(const std::string& path) {
    const std::filesystem::path p(path);
    const auto parent = p.parent_path();
    std::error_code ec;
    return parent.empty() || std::filesystem::is_directory(parent, ec);
}

// Error for a name that cannot be opened as it stands; 0 when it can be read.
int CheckReadable(const std::string& path, bool wantWrite) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return ParentExists(path) ? NoFileErr : PathErr;
    if (S_ISDIR(st.st_mode)) return NoAccessErr;
    // Permission bits count even for a privileged user, as the read-only
    // attribute does on the file system the program was written for.
    if ((st.st_mode & 0444) == 0 || access(path.c_str(), R_OK) != 0) return NoAccessErr;
    if (wantWrite && ((st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0)) return NoAccessErr;
    return 0;
}

void SetErrorFromRc(int rc, const Database& db) { data::SetSqliteError(rc, const_cast<Database&>(db).Own()); }

// Creates an empty file of ours at path (replacing what is there).
int CreateFresh(const File& f, const std::string& path) {
    const std::string temp = path + ".creating";
    std::remove(temp.c_str());
    std::remove((temp + "-journal").c_str());
    int rc;
    {
        data::Connection c;
        rc = c.Open(temp, true, false);
        if (rc == SQLITE_OK) rc = data::CreateSchema(c, f);
    }
    if (rc != SQLITE_OK) {
        std::remove(temp.c_str());
        return rc;
    }
    std::remove((path + "-journal").c_str());
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return SQLITE_CANTOPEN;
    }
    return SQLITE_OK;
}

void OpenWith(File& f, int mode) {
    FileInstance& inst = f.Instance();
    if (inst.open) {
        SetError(IsOpenErr);
        return;
    }
    const std::string path = DiskPathOf(f);
    if (path.empty()) return;
    const bool wantWrite = (mode & 0x0F) != ReadOnly;
    if (int e = CheckReadable(path, wantWrite)) {
        SetError(e);
        return;
    }
    std::string stored = path;  // the file of ours: a legacy file's is made by the seam
    if (!data::HasSqliteSignature(path)) {
        const LegacyFormat* legacy = FindLegacyFormat(path);
        if (!legacy) {
            SetError(InvalidFileErr);
            return;
        }
        stored = data::OpenLegacy(f, path, *legacy);
        if (stored.empty()) return;
    }
    if (data::IsTruncatedSqlite(stored)) {
        SetError(InvalidFileErr);
        return;
    }
    int rc = SQLITE_OK;
    auto db = data::AcquireDatabase(stored, &rc,
                                    inst.recoverSeconds >= 0 ? inst.recoverSeconds * 1000 : data::kDefaultLockWaitMs);
    if (!db) {
        if ((rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT) SetError(InvalidFileErr);
        else data::SetSqliteError(rc, sqlite3_errstr(rc));
        return;
    }
    db->Own().SetBusyTimeout(inst.recoverSeconds >= 0 ? inst.recoverSeconds * 1000 : data::kDefaultLockWaitMs);
    const data::LayoutCheck check = data::CheckLayout(db->Conn(), f, &rc);
    db->Own().SetBusyTimeout(data::kDefaultLockWaitMs);
    switch (check) {
    case data::LayoutCheck::Ok: break;
    case data::LayoutCheck::NotOurs:
    case data::LayoutCheck::OtherLayout: SetError(InvalidFileErr); return;
    case data::LayoutCheck::KeysDiffer: SetError(NeedRebuildErr); return;
    case data::LayoutCheck::Busy: SetError(IsLockedErr); return;
    case data::LayoutCheck::Error: SetErrorFromRc(rc, *db); return;
    }
    inst.open = true;
    inst.mode = mode;
    inst.openedName = FileName(f);
    inst.db = std::move(db);
    inst.sequence.Configure(&f, -1);
    inst.sequence.SetFirstBatch(inst.quickScan ? 64 : 16);
    inst.currentId = 0;
    inst.readSinceOpen = false;
    inst.watchArmed = inst.watchActive = false;
    ClearError();
}

FileInstance* InstanceOf(const Key& k) {
    if (!k.Valid()) {
        SetError(BadKeyErr);
        return nullptr;
    }
    return data::OpenInstance(*k.file);
}

// Reads the next record of the file's sequence into its buffer.
void ReadSequence(File& f, Dir d) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    if (inst->sequence.AnchorKind() == Anchor::None) {
        SetError(RecordNotAvailable);
        return;
    }
    int rc = SQLITE_OK;
    if (!inst->sequence.Read(*inst->db, d, &rc)) {
        if (rc != SQLITE_OK) SetErrorFromRc(rc, *inst->db);
        else SetError(RecordNotAvailable);
        return;
    }
    inst->TakeRecord(inst->sequence.RowData(), inst->sequence.RowId(), inst->sequence.RowRev());
    ClearError();
}

void StartSequence(FileInstance& inst, int key, Anchor a) {
    inst.sequence.Configure(inst.file, key);
    inst.sequence.SetFirstBatch(inst.quickScan ? 64 : 16);
    inst.sequence.SetAnchor(std::move(a));
}

bool KeyIsBlank(const File& f, int key, const void* rec) {
    if (!f.KeyAt(key).optional) return false;
    for (int fi : f.KeyFields(key))
        if (!FieldIsEmpty(rec, f.Record().fields[static_cast<std::size_t>(fi)])) return false;
    return true;
}

// The first record (other than exclude) whose key k equals the buffer's; 0
// if none. With row given, the record itself is read into it too.
std::int64_t FindByKey(FileInstance& inst, int k, std::int64_t exclude, int* rc, std::vector<char>* row = nullptr,
                       std::int64_t* rev = nullptr) {
    const File& f = *inst.file;
    Database& db = *inst.db;
    *rc = SQLITE_OK;
    const void* rec = inst.Buffer();
    if (KeyIsBlank(f, k, rec)) return 0;
    data::SqlFor(inst);  // the statements of the schema the file is reached by now
    std::string& sql = (row ? inst.sql.findRow : inst.sql.findId)[static_cast<std::size_t>(k)];
    if (sql.empty()) {
        sql = std::string(row ? "SELECT _id,_rev," + data::ColumnList(f) : "SELECT _id") + " FROM " +
              Quote(db.Schema()) + "." + data::kRecordsTable + " WHERE _id<>?";
        const std::string pred = data::KeyPredicate(f, k);
        if (!pred.empty()) sql += " AND " + pred;
        for (std::size_t c = 0; c < f.KeyFields(k).size(); ++c)
            sql += " AND " + data::KeyColumn(f, k, static_cast<int>(c)) + " = ?";
        sql += " ORDER BY _id LIMIT 1";
    }
    sqlite3_stmt* s = db.Conn().Prepare(sql, rc);
    if (!s) return 0;
    StatementScope scope(s);
    sqlite3_bind_int64(s, 1, exclude);
    int p = 2;
    for (int fi : f.KeyFields(k)) {
        const FieldDecl& fd = f.Record().fields[static_cast<std::size_t>(fi)];
        data::BindKeyValue(s, p++, data::FieldValue(rec, fd), fd);
    }
    const int step = sqlite3_step(s);
    if (step == SQLITE_ROW) {
        if (row) {
            row->assign(f.Record().size, 0);
            std::memcpy(row->data(), rec, f.Record().size);
            data::ReadRecord(s, 2, f.Record(), row->data());
            *rev = sqlite3_column_int64(s, 1);
        }
        return sqlite3_column_int64(s, 0);
    }
    if (step != SQLITE_DONE && !BackgroundCheck::ReportsDamageOf(db.Path(), step)) *rc = step;
    return 0;
}

int InsertRecord(FileInstance& inst) {
    const File& f = *inst.file;
    Database& db = *inst.db;
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare(data::SqlFor(inst).insert, &rc);
    if (!s) return rc;
    StatementScope scope(s);
    data::BindRecord(s, 1, f.Record(), inst.Buffer());
    rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) return rc;
    db.Wrote(1);
    inst.currentId = sqlite3_last_insert_rowid(db.Conn().Handle());
    inst.currentRev = 1;
    inst.watchActive = false;
    return SQLITE_OK;
}

void SetWriteError(int rc, const Database& db) {
    if ((rc & 0xFF) == SQLITE_CONSTRAINT && rc != SQLITE_CONSTRAINT_UNIQUE) SetFileError(FileSystemErr, std::to_string(rc), const_cast<Database&>(db).Conn().ErrorMessage());
    else data::SetSqliteError(rc, const_cast<Database&>(db).Conn());
}

}  // namespace

bool IsOpen(File& f) { return f.Instance().open; }

void OPEN(File& f, int mode) { OpenWith(f, mode); }
void SHARE(File& f, int mode) { OpenWith(f, mode); }

void CLOSE(File& f) {
    FileInstance& inst = f.Instance();
    if (!inst.open) {
        ClearError();
        return;
    }
    if (inst.streaming) FLUSH(f);
    inst.Release();
    inst.sequence.Configure(&f, -1);
    ClearError();
}

void CREATE(File& f) {
    FileInstance& inst = f.Instance();
    if (inst.open) {
        SetError(IsOpenErr);
        return;
    }
    const std::string path = DiskPathOf(f);
    if (path.empty()) return;
    if (!ParentExists(path)) {
        SetError(PathErr);
        return;
    }
    int rc = SQLITE_OK;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (int e = CheckReadable(path, true)) {
            SetError(e);
            return;
        }
        // A file this process holds open is emptied in place, so its other
        // holders keep a valid file; any other is replaced whole.
        if (auto db = data::FindDatabase(path); db && data::IsOurDatabase(db->Own())) {
            data::SuspendStream(*db);
            rc = data::CreateSchema(db->Own(), f);
            data::ResumeStream(*db);
            db->Changed();
            if (rc != SQLITE_OK) SetErrorFromRc(rc, *db);
            else ClearError();
            return;
        }
    }
    rc = CreateFresh(f, path);
    if (rc == SQLITE_CANTOPEN || (rc & 0xFF) == SQLITE_PERM || (rc & 0xFF) == SQLITE_READONLY) SetError(NoAccessErr);
    else if (rc != SQLITE_OK) data::SetSqliteError(rc, sqlite3_errstr(rc));
    else ClearError();
}

long BUILD(File& f) {
    const std::string path = DiskPathOf(f);
    if (path.empty()) return -1;
    if (int e = CheckReadable(path, true)) {
        SetError(e);
        return -1;
    }
    if (!data::HasSqliteSignature(path) || data::IsTruncatedSqlite(path)) {
        SetError(InvalidFileErr);
        return -1;
    }
    int rc = SQLITE_OK;
    auto db = data::AcquireDatabase(path, &rc);
    if (!db) {
        SetError(InvalidFileErr);
        return -1;
    }
    const data::LayoutCheck check = data::CheckLayout(db->Own(), f, &rc);
    if (check == data::LayoutCheck::NotOurs || check == data::LayoutCheck::OtherLayout) {
        SetError(InvalidFileErr);
        return -1;
    }
    if (check == data::LayoutCheck::Busy) {
        SetError(IsLockedErr);
        return -1;
    }
    long removed = 0;
    data::SuspendStream(*db);
    rc = data::RebuildKeys(db->Own(), f, &removed);
    data::ResumeStream(*db);
    db->Changed();
    if (rc != SQLITE_OK) {
        SetErrorFromRc(rc, *db);
        return -1;
    }
    ClearError();
    return removed;
}

std::string SEND(File& f, std::string_view command) {
    FileInstance& inst = f.Instance();
    const auto eq = command.find('=');
    const std::string option = UpperText(command.substr(0, eq));
    const std::string value = eq == std::string_view::npos ? "" : UpperText(command.substr(eq + 1));
    if (option == "RECOVER") {
        inst.recoverSeconds = std::atoi(value.c_str());
        if (inst.recoverSeconds < 0) inst.recoverSeconds = 0;
    } else if (option == "QUICKSCAN") {
        inst.quickScan = value == "ON";
        inst.sequence.SetFirstBatch(inst.quickScan ? 64 : 16);
    }
    ClearError();
    return "";
}

void SET(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    StartSequence(*inst, -1, Anchor{Anchor::Begin, {}, 0});
    ClearError();
}

void SET(const Key& k) {
    FileInstance* inst = InstanceOf(k);
    if (!inst) return;
    StartSequence(*inst, k.index, Anchor{Anchor::Begin, {}, 0});
    ClearError();
}

void SET(const Key& order, const Key& start) {
    FileInstance* inst = InstanceOf(order);
    if (!inst) return;
    if (!start.Valid() || start.file != order.file) {
        SetError(BadKeyErr);
        return;
    }
    KeyValues values = data::KeyValuesOf(*order.file, start.index, inst->Buffer());
    if (start.index != order.index) values = data::KeyValuesOf(*order.file, order.index, inst->Buffer());
    StartSequence(*inst, order.index, Anchor{Anchor::Values, std::move(values), 0});
    ClearError();
}

namespace {
void ResetTo(FileInstance& inst, int key, std::string_view position) {
    File& f = *inst.file;
    data::DecodedPosition pos;
    if (!data::DecodePosition(f, position, &pos)) {
        SetError(BadRecErr);
        return;
    }
    if (pos.key != key) {
        // A position of another order: find the record to learn its values.
        std::vector<char> row;
        std::int64_t rev = 0;
        int rc = SQLITE_OK;
        if (!data::ReadById(inst, pos.id, &row, &rev, &rc)) {
            if (rc != SQLITE_OK) SetErrorFromRc(rc, *inst.db);
            else SetError(BadRecErr);
            return;
        }
        pos.values = data::KeyValuesOf(f, key, row.data());
    }
    StartSequence(inst, key, Anchor{Anchor::At, std::move(pos.values), pos.id});
    ClearError();
}
}  // namespace

void RESET(const Key& k, std::string_view position) {
    FileInstance* inst = InstanceOf(k);
    if (inst) ResetTo(*inst, k.index, position);
}

void RESET(File& f, std::string_view position) {
    FileInstance* inst = data::OpenInstance(f);
    if (inst) ResetTo(*inst, -1, position);
}

void NEXT(File& f) { ReadSequence(f, Dir::Forward); }
void PREVIOUS(File& f) { ReadSequence(f, Dir::Backward); }

void GET(File& f, const Key& k) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    if (!k.Valid() || k.file != &f) {
        SetError(BadKeyErr);
        return;
    }
    int rc = SQLITE_OK;
    std::vector<char> row;
    std::int64_t rev = 0;
    const std::int64_t id = FindByKey(*inst, k.index, 0, &rc, &row, &rev);
    if (rc != SQLITE_OK) {
        SetErrorFromRc(rc, *inst->db);
        return;
    }
    if (id == 0) {
        SetError(BadRecErr);
        return;
    }
    inst->TakeRecord(row.data(), id, rev);
    ClearError();
}

void GET(File& f, long pointer) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    if (pointer == 0) {
        inst->currentId = 0;
        inst->watchActive = false;
        ClearError();
        return;
    }
    std::vector<char> row;
    std::int64_t rev = 0;
    int rc = SQLITE_OK;
    if (!data::ReadById(*inst, pointer, &row, &rev, &rc)) {
        if (rc != SQLITE_OK) SetErrorFromRc(rc, *inst->db);
        else SetError(BadRecErr);
        return;
    }
    inst->TakeRecord(row.data(), pointer, rev);
    ClearError();
}

void REGET(File& f, std::string_view position) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    data::DecodedPosition pos;
    if (!data::DecodePosition(f, position, &pos)) {
        SetError(BadRecErr);
        return;
    }
    GET(f, static_cast<long>(pos.id));
}

void REGET(const Key& k, std::string_view position) {
    if (!k.Valid()) {
        SetError(BadKeyErr);
        return;
    }
    REGET(*k.file, position);
}

std::string POSITION(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return "";
    if (inst->currentId == 0) {
        SetError(RecordNotAvailable);
        return "";
    }
    ClearError();
    return data::EncodePosition(f, -1, {}, inst->currentId);
}

std::string POSITION(const Key& k) {
    FileInstance* inst = InstanceOf(k);
    if (!inst) return "";
    ClearError();
    return data::EncodePosition(*k.file, k.index, data::KeyValuesOf(*k.file, k.index, inst->Buffer()), inst->currentId);
}

void ADD(File& f) {
    FileInstance* inst = data::WritableInstance(f);
    if (!inst) return;
    const int rc = InsertRecord(*inst);
    if (rc != SQLITE_OK) SetWriteError(rc, *inst->db);
    else ClearError();
}

void APPEND(File& f) {
    FileInstance* inst = data::WritableInstance(f);
    if (!inst) return;
    int rc = InsertRecord(*inst);
    if (rc == SQLITE_CONSTRAINT_UNIQUE) {
        // Keys are not kept while appending: the unique keys go, and the
        // file asks for BUILD (error 46) until it has been rebuilt.
        Database& db = *inst->db;
        for (int k = 0; k < f.KeyCount(); ++k)
            if (f.KeyAt(k).unique)
                db.Conn().Exec("DROP INDEX IF EXISTS " + Quote(db.Schema()) + "." + Quote("key_" + UpperText(f.KeyAt(k).name)));
        rc = InsertRecord(*inst);
    }
    if (rc != SQLITE_OK) SetWriteError(rc, *inst->db);
    else ClearError();
}

void PUT(File& f) {
    FileInstance* inst = data::WritableInstance(f);
    if (!inst) return;
    if (inst->currentId == 0) {
        SetError(RecordNotAvailable);
        return;
    }
    Database& db = *inst->db;
    const auto& sql = data::SqlFor(*inst);
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare(inst->watchActive ? sql.updateWatched : sql.update, &rc);
    if (!s) {
        SetErrorFromRc(rc, db);
        return;
    }
    int changed = 0;
    {
        StatementScope scope(s);
        data::BindRecord(s, 1, f.Record(), inst->Buffer());
        const int n = static_cast<int>(f.Record().fields.size());
        sqlite3_bind_int64(s, n + 1, inst->currentId);
        if (inst->watchActive) sqlite3_bind_int64(s, n + 2, inst->watchRev);
        rc = sqlite3_step(s);
        changed = sqlite3_changes(db.Conn().Handle());
    }
    if (rc != SQLITE_DONE) {
        SetWriteError(rc, db);
        return;
    }
    db.Wrote(0);
    if (changed == 0) {
        std::vector<char> row;
        std::int64_t rev = 0;
        const bool exists = data::ReadById(*inst, inst->currentId, &row, &rev, &rc);
        SetError(exists && inst->watchActive ? RecordChangedErr : BadRecErr);
        return;
    }
    inst->currentRev = inst->watchActive ? inst->watchRev + 1 : inst->currentRev + 1;
    inst->watchActive = false;
    ClearError();
}

void DELETE(File& f) {
    FileInstance* inst = data::WritableInstance(f);
    if (!inst) return;
    if (inst->currentId == 0) {
        SetError(RecordNotAvailable);
        return;
    }
    Database& db = *inst->db;
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare(data::SqlFor(*inst).remove, &rc);
    if (!s) {
        SetErrorFromRc(rc, db);
        return;
    }
    int changed = 0;
    {
        StatementScope scope(s);
        sqlite3_bind_int64(s, 1, inst->currentId);
        rc = sqlite3_step(s);
        changed = sqlite3_changes(db.Conn().Handle());
    }
    if (rc != SQLITE_DONE) {
        SetWriteError(rc, db);
        return;
    }
    db.Wrote(-changed);
    inst->currentId = 0;
    inst->watchActive = false;
    if (changed == 0) SetError(BadRecErr);
    else ClearError();
}

bool DUPLICATE(const Key& k) {
    FileInstance* inst = InstanceOf(k);
    if (!inst) return false;
    ClearError();
    if (!k.file->KeyAt(k.index).unique) return false;
    int rc = SQLITE_OK;
    const bool dup = FindByKey(*inst, k.index, inst->currentId, &rc) != 0;
    if (rc != SQLITE_OK) SetErrorFromRc(rc, *inst->db);
    return dup;
}

bool DUPLICATE(File& f) {
    for (int k = 0; k < f.KeyCount(); ++k)
        if (f.KeyAt(k).unique && DUPLICATE(f.KeyNumber(k))) return true;
    return false;
}

// The count is kept between calls (Database::Wrote follows this process's
// own adds and deletes), so a window that shows it on every refresh does not
// count the file each time; inside a transaction the file is counted.
long RECORDS(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return 0;
    Database& db = *inst->db;
    const std::int64_t version = db.Routed() ? -1 : db.DataVersion();
    if (version >= 0) {
        if (const long known = db.KnownRecords(version); known >= 0) {
            ClearError();
            return known;
        }
    }
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare("SELECT count(*) FROM " + Quote(db.Schema()) + "." + data::kRecordsTable, &rc);
    if (!s) {
        SetErrorFromRc(rc, db);
        return 0;
    }
    StatementScope scope(s);
    rc = sqlite3_step(s);
    if (rc != SQLITE_ROW) {
        SetErrorFromRc(rc, db);
        return 0;
    }
    const long n = static_cast<long>(sqlite3_column_int64(s, 0));
    if (version >= 0) db.KnowRecords(n, version);
    ClearError();
    return n;
}

std::string QuickCheck(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return ERROR();
    Database& db = *inst->db;
    int rc = SQLITE_OK;
    sqlite3_stmt* s = db.Conn().Prepare("PRAGMA " + Quote(db.Schema()) + ".quick_check(1)", &rc);
    if (!s) return db.Conn().ErrorMessage();
    StatementScope scope(s);
    rc = sqlite3_step(s);
    if (rc != SQLITE_ROW) return db.Conn().ErrorMessage();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    const std::string answer = text ? text : "";
    ClearError();
    return answer == "ok" ? std::string() : answer.empty() ? std::string("the check gave no answer") : answer;
}

long BYTES(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return 0;
    ClearError();
    if (inst->readSinceOpen) return static_cast<long>(inst->lastBytes);
    struct stat st {};
    return stat(inst->db->Path().c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

std::string NAME(File& f) {
    FileInstance& inst = f.Instance();
    return inst.open ? inst.openedName : FileName(f);
}

void WATCH(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    inst->watchArmed = true;
    ClearError();
}

void STREAM(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    Database& db = *inst->db;
    if (inst->streaming || db.Routed()) {
        ClearError();
        return;
    }
    if (db.streamers == 0) {
        const int rc = db.Own().Exec("BEGIN IMMEDIATE");
        if (rc != SQLITE_OK) {
            data::SetSqliteError(rc, db.Own());
            return;
        }
    }
    ++db.streamers;
    inst->streaming = true;
    ClearError();
}

void FLUSH(File& f) {
    FileInstance* inst = data::OpenInstance(f);
    if (!inst) return;
    if (!inst->streaming) {
        ClearError();
        return;
    }
    Database& db = *inst->db;
    if (db.streamers == 1 && !db.inTransaction) {
        const int rc = db.Own().Exec("COMMIT");
        if (rc != SQLITE_OK) {
            // The batch stays open: a later FLUSH or CLOSE commits it.
            data::SetSqliteError(rc, db.Own());
            return;
        }
    }
    --db.streamers;
    inst->streaming = false;
    db.Wrote(0);
    ClearError();
}

std::optional<std::string> RecordKeyText(const Key& k, const void* record) {
    if (!k.Valid()) return std::nullopt;
    const File& f = *k.file;
    if (KeyIsBlank(f, k.index, record)) return std::nullopt;
    std::string value;
    for (int fi : f.KeyFields(k.index)) {
        const FieldDecl& fd = f.Record().fields[static_cast<std::size_t>(fi)];
        std::string part = GetText(record, fd);
        if (IsTextField(fd.type)) {
            if (f.KeyAt(k.index).caseInsensitive) part = UpperText(part);
            while (!part.empty() && part.back() == ' ') part.pop_back();
        }
        value += part;
        value += '\x01';
    }
    return value;
}

}  // namespace fw
