#pragma once
// VIEW: a primary file read in the order of its current key (SET(key) or
// RESET(key, ...) before OPEN(view)), with outer joins to other files on a
// child key, and a filter in the framework's expression language.
//
//   fw::View tracks(SongBook);
//   tracks.Join(SBDiscs.FindKey("SBD:KUNQDISKID"), {"SBK:UnqDiskID"});
//   tracks.SetFilter("UPPER(SBK:UnqDiskID) = UPPER(Saved)");
//   fw::SET(SongBook.FindKey("SBK:KUnqDiskID"));
//   fw::OPEN(tracks);
//   while (fw::NEXT(tracks), fw::ERRORCODE() == 0) { ... }
//
// A joined file's rows come in its key's order; a record without matching
// child records appears once with the child's buffer cleared. The view keeps
// its own place, apart from the files' sequences, and shares their record
// buffers. A filter whose top-level AND terms fix the leading components of
// the order key limits the scan to that range of the index.

#include "platform/data/cursor.h"
#include "platform/data/file.h"
#include "platform/data/filter_expression.h"
#include "platform/data/text_match.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class View {
public:
    explicit View(File& primary);
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Joins the records of childKey's file whose leading key components
    // equal the named fields ("PRE:Field") of files already in the view.
    View& Join(const Key& childKey, std::initializer_list<std::string_view> parentFields);

    // PROP:Filter. A text that does not parse sets error 800 (801 for an
    // unknown name) and the view runs unfiltered; "" removes the filter.
    void SetFilter(std::string_view text);
    const std::string& Filter() const { return filterText_; }
    // The primary file, then each joined file in the order of the joins:
    // the files whose record buffers a row of the view fills.
    std::vector<File*> Files() const;

    // A text condition on a field ("PRE:Field") of the primary file, tested
    // by the storage as it reads (text_match.h), beside the filter; an
    // empty text or TextMatch::None removes it. Taken at the next start of
    // the view's reading (OPEN, SET or RESET).
    void SetTextMatch(std::string_view field, std::string_view text, TextMatch mode);

    // Read-ahead: how many rows the reads after the next start of the
    // view's reading (OPEN, SET, RESET) are expected to take, so its first
    // batch holds them at once (a page of a list: its rows and the row it
    // starts from); 0: the default, kDefaultFirstBatch (more with
    // QUICKSCAN). Later batches double.
    void SetReadAhead(int rows) { readAhead_ = rows < 0 ? 0 : rows; }
    static constexpr int kDefaultFirstBatch = 64;

    struct Level {
        File* file;
        int key = -1;                                  // child key (the primary's order key once opened)
        std::vector<std::pair<int, int>> parentFields;  // (level, field index) per leading component
        data::Cursor cursor;
        bool null = false;                             // no matching child: a cleared buffer
        data::Anchor resumeAnchor;                     // from RESET, for the first start under resumeParents
        std::vector<std::int64_t> resumeParents;
        bool resume = false;
    };

    // Used by the operations in view_ops.cpp.
    std::vector<Level> levels_;
    std::string filterText_;
    std::shared_ptr<data::Expression> filter_;
    std::vector<data::FixedField> fixed_;
    int textMode_ = 0;
    int textField_ = -1;
    std::string textFolded_;
    int readAhead_ = 0;
    bool open_ = false;
    bool started_ = false;
    data::Anchor startAnchor_;
    data::KeyValues range_;  // values of the fixed leading components, taken at the start of a scan

    bool Resolve(std::string_view name, data::Operand* out);
};

void OPEN(View& v, int mode = ReadWrite | DenyWrite);
void CLOSE(View& v);
void SET(View& v);   // back to the start of the view's order
void NEXT(View& v);
void PREVIOUS(View& v);
std::string POSITION(View& v);  // the primary and joined records of the current row
// The current row's record id of each file of the view (0: a joined file
// without a record), and POSITION made later from them and copies of the
// row's record buffers (primary first): what a list keeps for each of its
// rows, so only the positions it uses are ever written out.
std::vector<std::int64_t> RowIds(View& v);
std::string POSITION(View& v, const std::vector<std::int64_t>& ids,
                     const std::vector<std::vector<unsigned char>>& records);
void RESET(View& v, std::string_view position);  // NEXT or PREVIOUS then lands on that row or its neighbour
void REGET(View& v, std::string_view position);  // re-reads the row's records into the buffers
void WATCH(View& v);
void PUT(View& v);  // writes the primary record

}  // namespace fw
