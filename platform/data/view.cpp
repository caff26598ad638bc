#include "platform/data/view.h"

#include "platform/data/bind.h"
#include "platform/data/file_access.h"
#include "platform/data/file_ops.h"
#include "platform/data/position.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <stdexcept>

namespace fw {

using data::Anchor;
using data::Dir;
using data::KeyValue;
using data::KeyValues;

View::View(File& primary) {
    levels_.push_back(Level{&primary});
}

std::vector<File*> View::Files() const {
    std::vector<File*> files;
    files.reserve(levels_.size());
    for (const Level& level : levels_) files.push_back(level.file);
    return files;
}

View& View::Join(const Key& childKey, std::initializer_list<std::string_view> parentFields) {
    if (!childKey.Valid()) throw std::invalid_argument("JOIN on a key that does not exist");
    Level lv{childKey.file};
    lv.key = childKey.index;
    for (std::string_view name : parentFields) {
        bool found = false;
        for (std::size_t l = 0; l < levels_.size() && !found; ++l) {
            const RecordDecl& d = levels_[l].file->Record();
            const std::string& pre = d.prefix;
            if (name.size() > pre.size() + 1 && (name[pre.size()] == ':' || name[pre.size()] == '.') &&
                CompareFolded(name.substr(0, pre.size()), pre) == 0) {
                const int fi = d.Find(name.substr(pre.size() + 1));
                if (fi >= 0) {
                    lv.parentFields.emplace_back(static_cast<int>(l), fi);
                    found = true;
                }
            }
        }
        if (!found) throw std::invalid_argument("JOIN names no field of the view: " + std::string(name));
    }
    if (lv.parentFields.size() > childKey.file->KeyFields(childKey.index).size())
        throw std::invalid_argument("JOIN has more fields than its key");
    levels_.push_back(std::move(lv));
    return *this;
}

bool View::Resolve(std::string_view name, data::Operand* out) {
    for (auto& lv : levels_) {
        const RecordDecl& d = lv.file->Record();
        const std::string& pre = d.prefix;
        if (name.size() > pre.size() + 1 && name[pre.size()] == ':' && CompareFolded(name.substr(0, pre.size()), pre) == 0) {
            const std::string_view field = name.substr(pre.size() + 1);
            for (std::size_t i = 0; i < d.fields.size(); ++i)
                if (d.fields[i].name.size() == field.size() && CompareFolded(d.fields[i].name, field) == 0) {
                    File* f = lv.file;
                    *out = data::Operand{d.fields[i], [f] { return static_cast<const void*>(f->Buffer()); }, f,
                                         static_cast<int>(i)};
                    return true;
                }
        }
    }
    data::BoundName b;
    if (!data::LookupBound(name, &b)) return false;
    const void* address = b.address;
    *out = data::Operand{b.field, [address] { return address; }, nullptr, -1};
    return true;
}

void View::SetFilter(std::string_view text) {
    filterText_ = std::string(text);
    filter_.reset();
    fixed_.clear();
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        ClearError();
        return;
    }
    int error = 0;
    filter_ = data::Expression::Parse(text, [this](std::string_view n, data::Operand* o) { return Resolve(n, o); }, &error);
    if (!filter_) {
        SetError(error);
        return;
    }
    std::vector<const void*> own;
    for (auto& lv : levels_) own.push_back(lv.file);
    fixed_ = filter_->FixedFields(own);
    ClearError();
}

void View::SetTextMatch(std::string_view field, std::string_view text, TextMatch mode) {
    textMode_ = 0;
    textField_ = -1;
    textFolded_.clear();
    if (mode == TextMatch::None || text.empty()) return;
    const RecordDecl& d = levels_[0].file->Record();
    std::string_view name = field;
    if (const auto colon = name.find(':'); colon != std::string_view::npos) name = name.substr(colon + 1);
    const int index = d.Find(name);
    if (index < 0) throw std::invalid_argument("text match on a field the view's file lacks: " + std::string(field));
    textMode_ = static_cast<int>(mode);
    textField_ = index;
    textFolded_ = UpperText(text);
}

namespace {

int CompareValue(const KeyValue& a, const KeyValue& b, bool caseInsensitive) {
    if (a.kind == KeyValue::Text || b.kind == KeyValue::Text) {
        if (caseInsensitive) return CompareFolded(a.s, b.s);
        std::string_view x = a.s, y = b.s;
        while (!x.empty() && x.back() == ' ') x.remove_suffix(1);
        while (!y.empty() && y.back() == ' ') y.remove_suffix(1);
        return x.compare(y);
    }
    const double x = a.kind == KeyValue::Int ? static_cast<double>(a.i) : a.r;
    const double y = b.kind == KeyValue::Int ? static_cast<double>(b.i) : b.r;
    return x < y ? -1 : (x > y ? 1 : 0);
}

KeyValue ToKeyValue(const data::FilterValue& v, const FieldDecl& f) {
    KeyValue k;
    if (IsTextField(f.type)) {
        k.kind = KeyValue::Text;
        k.s = v.text ? v.s : std::to_string(v.n);
        while (!k.s.empty() && k.s.back() == ' ') k.s.pop_back();
    } else if (f.type == FieldType::Real) {
        k.kind = KeyValue::Real;
        k.r = v.text ? std::strtod(v.s.c_str(), nullptr) : v.n;
    } else {
        k.kind = KeyValue::Int;
        k.i = static_cast<std::int64_t>(v.text ? std::strtod(v.s.c_str(), nullptr) : v.n);
    }
    return k;
}

bool LevelsOpen(View& v) {
    if (!v.open_) {
        SetError(NotOpenErr);
        return false;
    }
    for (auto& lv : v.levels_)
        if (!data::OpenInstance(*lv.file)) return false;
    return true;
}

// Configures level L's cursor for the current parent records and the
// place it starts from; true when that is a position RESET gave.
bool StartLevel(View& v, std::size_t L) {
    View::Level& lv = v.levels_[L];
    FileInstance& inst = lv.file->Instance();
    if (L == 0) {
        lv.cursor.Configure(lv.file, lv.key, v.range_);
        lv.cursor.SetTextCondition(v.textMode_, v.textField_, v.textFolded_);
        lv.cursor.SetFirstBatch(v.readAhead_ > 0 ? v.readAhead_ : inst.quickScan ? 256 : View::kDefaultFirstBatch);
        lv.cursor.SetAnchor(v.startAnchor_);
        return false;
    }
    KeyValues fixed;
    for (auto [pl, fi] : lv.parentFields) {
        const File& pf = *v.levels_[static_cast<std::size_t>(pl)].file;
        fixed.push_back(data::FieldValue(v.levels_[static_cast<std::size_t>(pl)].file->Buffer(),
                                         pf.Record().fields[static_cast<std::size_t>(fi)]));
    }
    lv.cursor.Configure(lv.file, lv.key, std::move(fixed));
    lv.cursor.SetFirstBatch(inst.quickScan ? 64 : 4);
    Anchor a{Anchor::Begin, {}, 0};
    bool resumed = false;
    if (lv.resume) {
        bool same = true;
        for (std::size_t p = 0; p < L && p < lv.resumeParents.size(); ++p)
            same = same && v.levels_[p].file->Instance().currentId == lv.resumeParents[p];
        if (same) {
            a = lv.resumeAnchor;
            resumed = a.kind != Anchor::Begin;
        }
        lv.resume = false;
    }
    lv.cursor.SetAnchor(a);
    return resumed;
}

void LoadRow(View::Level& lv) {
    FileInstance& inst = lv.file->Instance();
    inst.TakeRecord(lv.cursor.RowData(), lv.cursor.RowId(), lv.cursor.RowRev());
    lv.null = false;
}

void LoadNull(View::Level& lv) {
    FileInstance& inst = lv.file->Instance();
    ClearRecord(inst.Buffer(), lv.file->Record());
    inst.currentId = 0;
    inst.watchActive = inst.watchArmed = false;
    lv.null = true;
}

bool ParentIsNull(View& v, std::size_t L) {
    for (auto [pl, fi] : v.levels_[L].parentFields)
        if (v.levels_[static_cast<std::size_t>(pl)].null) return true;
    return false;
}

// Reads the next row at level L and below. fresh: L starts anew under
// its parents' current records. A joined level that finds no records
// gives one null row, unless it resumed from a position past its last
// record: then it has nothing more, and the level above moves on.
bool Fetch(View& v, std::size_t L, Dir d, bool fresh, int* rc) {
    View::Level& lv = v.levels_[L];
    data::Database& db = *lv.file->Instance().db;
    const bool last = L + 1 == v.levels_.size();
    if (fresh) {
        const bool resumed = StartLevel(v, L);
        if (L > 0 && ParentIsNull(v, L)) {
            LoadNull(lv);
        } else if (lv.cursor.Read(db, d, rc)) {
            LoadRow(lv);
        } else {
            if (*rc != SQLITE_OK || L == 0 || resumed) return false;
            LoadNull(lv);
        }
        if (last || Fetch(v, L + 1, d, true, rc)) return true;
        if (*rc != SQLITE_OK) return false;
    } else if (!last) {
        if (Fetch(v, L + 1, d, false, rc)) return true;
        if (*rc != SQLITE_OK) return false;
    }
    for (;;) {
        if (lv.null || !lv.cursor.Read(db, d, rc)) return false;
        LoadRow(lv);
        if (last || Fetch(v, L + 1, d, true, rc)) return true;
        if (*rc != SQLITE_OK) return false;
    }
}

// The filter's fixed values, and where the start anchor stands relative to them.
void TakeRange(View& v) {
    v.range_.clear();
    View::Level& top = v.levels_[0];
    if (top.key < 0 || v.fixed_.empty()) return;
    const File& f = *top.file;
    for (int fi : f.KeyFields(top.key)) {
        const data::FixedField* match = nullptr;
        for (const auto& ff : v.fixed_)
            if (ff.tag == top.file && ff.fieldIndex == fi) match = &ff;
        if (!match) break;
        v.range_.push_back(ToKeyValue(match->value->Evaluate(), f.Record().fields[static_cast<std::size_t>(fi)]));
    }
    Anchor& a = v.startAnchor_;
    if (a.kind != Anchor::Values && a.kind != Anchor::At && a.kind != Anchor::After) return;
    for (std::size_t i = 0; i < v.range_.size() && i < a.values.size(); ++i) {
        const int c = CompareValue(a.values[i], v.range_[i], f.KeyAt(top.key).caseInsensitive);
        if (c < 0) {
            a = Anchor{Anchor::BeforeStart, {}, 0};
            return;
        }
        if (c > 0) {
            a = Anchor{Anchor::PastEnd, {}, 0};
            return;
        }
    }
}

void Read(View& v, Dir d) {
    if (!LevelsOpen(v)) return;
    int rc = SQLITE_OK;
    for (;;) {
        const bool fresh = !v.started_;
        if (fresh) TakeRange(v);
        v.started_ = true;
        if (!Fetch(v, 0, d, fresh, &rc)) {
            if (rc != SQLITE_OK) data::SetSqliteError(rc, v.levels_[0].file->Instance().db->Conn());
            else SetError(RecordNotAvailable);
            return;
        }
        if (!v.filter_ || v.filter_->Test()) break;
    }
    ClearError();
}

}  // namespace

void OPEN(View& v, int mode) {
    (void)mode;
    for (auto& lv : v.levels_)
        if (!data::OpenInstance(*lv.file)) return;
    View::Level& top = v.levels_[0];
    FileInstance& inst = top.file->Instance();
    top.key = inst.sequence.KeyIndex();
    Anchor a = inst.sequence.GetAnchor();
    if (a.kind == Anchor::None || a.kind == Anchor::PastEnd || a.kind == Anchor::BeforeStart) a = Anchor{Anchor::Begin, {}, 0};
    if (a.kind == Anchor::After) a.kind = Anchor::At;
    v.startAnchor_ = a;
    v.open_ = true;
    v.started_ = false;
    for (auto& lv : v.levels_) lv.resume = false;
    ClearError();
}

void CLOSE(View& v) {
    v.open_ = false;
    v.started_ = false;
    ClearError();
}

void SET(View& v) {
    if (!LevelsOpen(v)) return;
    v.startAnchor_ = Anchor{Anchor::Begin, {}, 0};
    v.started_ = false;
    ClearError();
}

void NEXT(View& v) { Read(v, Dir::Forward); }
void PREVIOUS(View& v) { Read(v, Dir::Backward); }

std::string POSITION(View& v) {
    if (!LevelsOpen(v)) return "";
    if (!v.started_) {
        SetError(RecordNotAvailable);
        return "";
    }
    std::string s = "V";
    for (auto& lv : v.levels_) {
        s += ';';
        if (lv.null) {
            s += '-';
            continue;
        }
        const Anchor& a = lv.cursor.GetAnchor();
        s += data::EncodePosition(*lv.file, lv.key, a.values, a.id);
    }
    ClearError();
    return s;
}

std::vector<std::int64_t> RowIds(View& v) {
    std::vector<std::int64_t> ids;
    ids.reserve(v.levels_.size());
    for (auto& lv : v.levels_) ids.push_back(lv.null ? 0 : lv.cursor.RowId());
    return ids;
}

std::string POSITION(View& v, const std::vector<std::int64_t>& ids,
                     const std::vector<std::vector<unsigned char>>& records) {
    if (ids.size() != v.levels_.size() || records.size() != v.levels_.size()) return {};
    std::string s = "V";
    for (std::size_t L = 0; L < v.levels_.size(); ++L) {
        s += ';';
        const View::Level& lv = v.levels_[L];
        if (ids[L] == 0) {
            s += '-';
            continue;
        }
        s += data::EncodePosition(*lv.file, lv.key, data::KeyValuesOf(*lv.file, lv.key, records[L].data()), ids[L]);
    }
    return s;
}

namespace {
// Splits a view position into its levels' parts; false if it is not one of v's.
bool SplitViewPosition(View& v, std::string_view text, std::vector<std::string_view>* parts) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    *parts = data::SplitParts(text, ';');
    if (parts->size() != v.levels_.size() + 1 || (*parts)[0] != "V") return false;
    parts->erase(parts->begin());
    return true;
}
}  // namespace

void RESET(View& v, std::string_view position) {
    if (!LevelsOpen(v)) return;
    std::vector<std::string_view> parts;
    if (!SplitViewPosition(v, position, &parts)) {
        SetError(BadRecErr);
        return;
    }
    std::vector<std::int64_t> ids;
    for (std::size_t L = 0; L < v.levels_.size(); ++L) {
        View::Level& lv = v.levels_[L];
        data::DecodedPosition pos;
        Anchor a{Anchor::Begin, {}, 0};
        if (parts[L] != "-") {
            if (!data::DecodePosition(*lv.file, parts[L], &pos) || pos.key != lv.key) {
                SetError(BadRecErr);
                return;
            }
            a = Anchor{Anchor::At, pos.values, pos.id};
        } else if (L == 0) {
            SetError(BadRecErr);
            return;
        }
        if (L == 0) {
            v.startAnchor_ = a;
        } else {
            lv.resume = true;
            lv.resumeAnchor = a;
            lv.resumeParents = ids;
        }
        ids.push_back(pos.id);
    }
    v.started_ = false;
    ClearError();
}

void REGET(View& v, std::string_view position) {
    if (!LevelsOpen(v)) return;
    std::vector<std::string_view> parts;
    if (!SplitViewPosition(v, position, &parts)) {
        SetError(BadRecErr);
        return;
    }
    for (std::size_t L = 0; L < v.levels_.size(); ++L) {
        View::Level& lv = v.levels_[L];
        FileInstance& inst = lv.file->Instance();
        if (parts[L] == "-") {
            LoadNull(lv);
            continue;
        }
        data::DecodedPosition pos;
        if (!data::DecodePosition(*lv.file, parts[L], &pos)) {
            SetError(BadRecErr);
            return;
        }
        std::vector<char> row;
        std::int64_t rev = 0;
        int rc = SQLITE_OK;
        if (!data::ReadById(inst, pos.id, &row, &rev, &rc)) {
            if (rc != SQLITE_OK) data::SetSqliteError(rc, inst.db->Conn());
            else SetError(BadRecErr);
            return;
        }
        inst.TakeRecord(row.data(), pos.id, rev);
        lv.null = false;
    }
    ClearError();
}

void WATCH(View& v) {
    if (!LevelsOpen(v)) return;
    for (auto& lv : v.levels_) lv.file->Instance().watchArmed = true;
    ClearError();
}

void PUT(View& v) {
    if (!LevelsOpen(v)) return;
    PUT(*v.levels_[0].file);
}

}  // namespace fw
