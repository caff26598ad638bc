#include "platform/data/cursor.h"

#include "platform/data/background_check.h"
#include "platform/data/schema.h"
#include "platform/data/text_match.h"

#include <cstring>
#include <limits>

namespace fw::data {

KeyValue FieldValue(const void* rec, const FieldDecl& f) {
    KeyValue v;
    if (IsTextField(f.type)) {
        v.kind = KeyValue::Text;
        v.s = GetText(rec, f);
    } else if (f.type == FieldType::Real) {
        v.kind = KeyValue::Real;
        v.r = GetReal(rec, f);
    } else {
        v.kind = KeyValue::Int;
        v.i = GetInteger(rec, f);
    }
    return v;
}

KeyValues KeyValuesOf(const File& f, int key, const void* rec) {
    KeyValues out;
    if (key < 0) return out;
    for (int fi : f.KeyFields(key)) out.push_back(FieldValue(rec, f.Record().fields[static_cast<std::size_t>(fi)]));
    return out;
}

void BindKeyValue(sqlite3_stmt* s, int index, const KeyValue& v, const FieldDecl& f) {
    if (IsTextField(f.type)) {
        std::string text = v.kind == KeyValue::Text ? v.s
                           : v.kind == KeyValue::Int ? std::to_string(v.i)
                                                     : std::to_string(v.r);
        while (!text.empty() && text.back() == ' ') text.pop_back();
        sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return;
    }
    double d = v.kind == KeyValue::Int ? static_cast<double>(v.i) : v.r;
    if (v.kind == KeyValue::Text) d = std::strtod(v.s.c_str(), nullptr);
    if (v.kind == KeyValue::Int) sqlite3_bind_int64(s, index, v.i);
    else if (f.type != FieldType::Real && d == static_cast<double>(static_cast<std::int64_t>(d)))
        sqlite3_bind_int64(s, index, static_cast<std::int64_t>(d));
    else sqlite3_bind_double(s, index, d);
}

void BindRecord(sqlite3_stmt* s, int first, const RecordDecl& d, const void* rec) {
    int i = first;
    for (const auto& f : d.fields) {
        if (IsTextField(f.type)) {
            // The text as stored: without trailing blanks (a CSTRING up to its
            // null), read from the buffer in place when the statement steps.
            const char* p = static_cast<const char*>(rec) + f.offset;
            std::size_t n = f.type == FieldType::CString ? strnlen(p, f.size) : f.size;
            while (n > 0 && p[n - 1] == ' ') --n;
            sqlite3_bind_text(s, i, p, static_cast<int>(n), SQLITE_STATIC);
        } else if (f.type == FieldType::Real) {
            sqlite3_bind_double(s, i, GetReal(rec, f));
        } else {
            sqlite3_bind_int64(s, i, GetInteger(rec, f));
        }
        ++i;
    }
}

void ReadRecord(sqlite3_stmt* s, int first, const RecordDecl& d, void* rec) {
    int i = first;
    for (const auto& f : d.fields) {
        const int type = sqlite3_column_type(s, i);
        if (type == SQLITE_NULL) {
            ClearFieldLow(rec, f);
            if (!IsTextField(f.type)) SetInteger(rec, f, 0);
        } else if (IsTextField(f.type)) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            SetText(rec, f, std::string_view(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i))));
        } else if (f.type == FieldType::Real) {
            SetReal(rec, f, sqlite3_column_double(s, i));
        } else {
            SetInteger(rec, f, sqlite3_column_int64(s, i));
        }
        ++i;
    }
}

void Cursor::Configure(const File* f, int key, KeyValues fixed) {
    file_ = f;
    key_ = key;
    fixed_ = std::move(fixed);
    textMode_ = 0;
    textField_ = -1;
    textFolded_.clear();
    anchor_ = Anchor{};
    DropBatch();
    row_.assign(f->Record().size, 0);
    ClearRecord(row_.data(), f->Record());
}

void Cursor::SetTextCondition(int mode, int field, std::string folded) {
    textMode_ = mode;
    textField_ = field;
    textFolded_ = std::move(folded);
    DropBatch();
}

const Anchor& Cursor::GetAnchor() {
    if (anchorValuesPending_) {
        anchor_.values = KeyValuesOf(*file_, key_, row_.data());
        anchorValuesPending_ = false;
    }
    return anchor_;
}

void Cursor::SetAnchor(Anchor a) {
    anchor_ = std::move(a);
    anchorValuesPending_ = false;
    DropBatch();
    nextBatch_ = firstBatch_;
}

namespace {
enum Phase { OpenPhase, FromAnchorPhase };
}  // namespace

// OpenPhase: every record (within the fixed components) in order.
// FromAnchorPhase: the records beyond the anchor in the reading direction,
// the key's free components and the row id compared as one row value, so
// the index serves the seek and one statement reads the batch: after the
// anchor (After), from it (At), from its values on (Values).
int Cursor::Query(Database& db, Dir d, int phase, int limit, int* rc) {
    const bool fwd = d == Dir::Forward;
    const RecordDecl& rd = file_->Record();
    if (phase != OpenPhase) GetAnchor();
    const int ncomp = key_ < 0 ? 0 : static_cast<int>(file_->KeyFields(key_).size());
    const int nfixed = static_cast<int>(fixed_.size()) < ncomp ? static_cast<int>(fixed_.size()) : ncomp;
    std::string low, high;
    const bool text = textMode_ != 0 && textField_ >= 0;
    const bool prefixRange = text && textMode_ == static_cast<int>(TextMatch::BeginsWith) && nfixed == 0 &&
                             ncomp > 0 && file_->KeyFields(key_).front() == textField_ &&
                             file_->KeyAt(key_).caseInsensitive && PrefixRange(textFolded_, &low, &high);
    const bool withId = phase == FromAnchorPhase && anchor_.kind != Anchor::Values;
    const bool inclusive = anchor_.kind != Anchor::After;

    // The statement's text depends on these alone: it is built once for each.
    const SqlShape shape{file_, &db.Conn(), db.Schema(), key_, nfixed, text, prefixRange, !high.empty(), phase,
                         fwd, withId, inclusive};
    const std::string* cached = nullptr;
    for (const auto& [k, v] : sql_)
        if (k == shape) cached = &v;
    if (!cached) {
        std::string sql = "SELECT _id,_rev," + ColumnList(*file_) + " FROM " + Quote(db.Schema()) + "." +
                          kRecordsTable + " WHERE 1";
        if (key_ >= 0) {
            const std::string pred = KeyPredicate(*file_, key_);
            if (!pred.empty()) sql += " AND " + pred;
        }
        for (int c = 0; c < nfixed; ++c) sql += " AND " + KeyColumn(*file_, key_, c) + " = ?";
        if (text)
            sql += std::string(" AND ") + kTextMatchFunction + "(" +
                   Quote(rd.fields[static_cast<std::size_t>(textField_)].name) + ",?,?)";
        if (prefixRange) {
            sql += " AND " + KeyColumn(*file_, key_, 0) + " >= ?";
            if (!high.empty()) sql += " AND " + KeyColumn(*file_, key_, 0) + " < ?";
        }
        if (phase == FromAnchorPhase && (withId || ncomp > nfixed)) {
            std::string l, r;
            for (int c = nfixed; c < ncomp; ++c) {
                l += (c > nfixed ? "," : "") + KeyColumn(*file_, key_, c);
                r += c > nfixed ? ",?" : "?";
            }
            if (withId) {
                l += ncomp > nfixed ? ",_id" : "_id";
                r += ncomp > nfixed ? ",?" : "?";
            }
            sql += " AND (" + l + ") " + (fwd ? ">" : "<") + (inclusive ? "=" : "") + " (" + r + ")";
        }
        std::string order;
        for (int c = nfixed; c < ncomp; ++c) order += KeyColumn(*file_, key_, c) + (fwd ? "," : " DESC,");
        order += fwd ? "_id" : "_id DESC";
        sql += " ORDER BY " + order + " LIMIT ?";
        if (sql_.size() >= 16) sql_.erase(sql_.begin());
        sql_.emplace_back(shape, std::move(sql));
        cached = &sql_.back().second;
    }

    sqlite3_stmt* s = db.Conn().Prepare(*cached, rc);
    if (!s) return -1;
    StatementScope scope(s);
    int p = 1;
    const auto& kf = key_ >= 0 ? file_->KeyFields(key_) : std::vector<int>{};
    for (int c = 0; c < nfixed; ++c)
        BindKeyValue(s, p++, fixed_[static_cast<std::size_t>(c)], rd.fields[static_cast<std::size_t>(kf[static_cast<std::size_t>(c)])]);
    if (text) {
        sqlite3_bind_text(s, p++, textFolded_.data(), static_cast<int>(textFolded_.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, p++, textMode_);
    }
    if (prefixRange) {
        sqlite3_bind_text(s, p++, low.data(), static_cast<int>(low.size()), SQLITE_TRANSIENT);
        if (!high.empty()) sqlite3_bind_text(s, p++, high.data(), static_cast<int>(high.size()), SQLITE_TRANSIENT);
    }
    if (phase == FromAnchorPhase) {
        for (int c = nfixed; c < ncomp; ++c) {
            KeyValue v = static_cast<std::size_t>(c) < anchor_.values.size() ? anchor_.values[static_cast<std::size_t>(c)] : KeyValue{};
            BindKeyValue(s, p++, v, rd.fields[static_cast<std::size_t>(kf[static_cast<std::size_t>(c)])]);
        }
        if (withId) sqlite3_bind_int64(s, p++, anchor_.id);
    }
    sqlite3_bind_int(s, p, limit);

    int got = 0;
    const std::size_t size = rd.size;
    for (;;) {
        const int step = sqlite3_step(s);
        if (step == SQLITE_DONE) break;
        if (step != SQLITE_ROW) {
            *rc = step;
            return -1;
        }
        batchIds_.push_back(sqlite3_column_int64(s, 0));
        batchRevs_.push_back(sqlite3_column_int64(s, 1));
        const std::size_t at = batchRows_.size();
        batchRows_.resize(at + size);
        std::memcpy(batchRows_.data() + at, row_.data(), size);  // keeps padding bytes as they were
        ReadRecord(s, 2, rd, batchRows_.data() + at);
        ++got;
    }
    *rc = SQLITE_OK;
    return got;
}

bool Cursor::Read(Database& db, Dir d, int* rc) {
    *rc = SQLITE_OK;
    const bool fwd = d == Dir::Forward;
    const bool batchUsable = !batchIds_.empty() && batchDb_ == &db && batchDir_ == d &&
                             batchGeneration_ == db.Generation() && anchor_.kind == Anchor::After;
    if (batchUsable && batchPos_ < batchIds_.size()) {
        // served from the read-ahead below
    } else if (batchUsable && batchComplete_) {
        anchor_ = Anchor{fwd ? Anchor::PastEnd : Anchor::BeforeStart, {}, 0};
        anchorValuesPending_ = false;
        DropBatch();
        return false;
    } else {
        if (!batchUsable) nextBatch_ = firstBatch_;
        DropBatch();
        batchRows_.clear();
        batchRevs_.clear();
        const int limit = nextBatch_;
        int got = 0;
        switch (anchor_.kind) {
        case Anchor::None: return false;
        case Anchor::PastEnd:
            if (fwd) return false;
            got = Query(db, d, OpenPhase, limit, rc);
            break;
        case Anchor::BeforeStart:
            if (!fwd) return false;
            got = Query(db, d, OpenPhase, limit, rc);
            break;
        case Anchor::Begin: got = Query(db, d, OpenPhase, limit, rc); break;
        case Anchor::Values:
        case Anchor::At:
        case Anchor::After: got = Query(db, d, FromAnchorPhase, limit, rc); break;
        }
        if (got < 0 && BackgroundCheck::ReportsDamageOf(db.Path(), *rc)) {
            // The file's check has found the damage and its owner says so:
            // the reading ends here.
            *rc = SQLITE_OK;
            got = 0;
        }
        if (got < 0) {
            DropBatch();
            return false;
        }
        batchComplete_ = got < limit;
        batchDir_ = d;
        batchDb_ = &db;
        batchGeneration_ = db.Generation();
        if (nextBatch_ < 1024) nextBatch_ *= 2;
        if (got == 0) {
            anchor_ = Anchor{fwd ? Anchor::PastEnd : Anchor::BeforeStart, {}, 0};
            anchorValuesPending_ = false;
            return false;
        }
    }
    const std::size_t size = file_->Record().size;
    std::memcpy(row_.data(), batchRows_.data() + batchPos_ * size, size);
    rowId_ = batchIds_[batchPos_];
    rowRev_ = batchRevs_[batchPos_];
    ++batchPos_;
    anchor_.kind = Anchor::After;
    anchor_.id = rowId_;
    anchorValuesPending_ = true;
    return true;
}

}  // namespace fw::data
