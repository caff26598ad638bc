#pragma once
// The framework's queue: an in-memory list of entries of one record layout,
// with a buffer that holds the entry last read or written.
//
//   struct TagRec { fw::FString<17> QUEUNQDISKID; fw::FString<17> DISKID; std::uint16_t TRACKNO; };
//   fw::QueueOf<TagRec> DiscTagQueue(TagDecl());
//   DiscTagQueue.rec.DISKID = "SC8123-01";
//   fw::ADD(DiscTagQueue, "+QUEUNQDISKID,+DISKID");   // sorted insert
//   fw::GET(DiscTagQueue, "DISKID");                  // first entry with that DISKID
//   if (fw::ERRORCODE()) ...                          // none
//
// Positions count from 1. Orders and field lists name fields of the layout
// (with or without the prefix), separated by commas; "-" before a name sorts
// it descending. Texts compare case-sensitively by byte with trailing blanks
// ignored; numbers numerically. Every operation sets ERRORCODE: 0, or
// 30 "Entry Not Found" when there is no such entry (and no current entry
// afterwards), or 75 when an order names a field the layout lacks.
//
// Entries live in chunks of a few hundred with a running count over them, so
// positional reads, sorted inserts (binary search) and deletes stay fast for
// queues of hundreds of thousands of entries.

#include "platform/data/queue/queue_order.h"
#include "platform/data/record.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

inline constexpr int kEntryNotFound = 30;
inline constexpr int kBadFieldList = 75;

class Queue {
public:
    // `buffer` is the queue's record buffer, decl.size bytes, kept by the caller.
    Queue(const RecordDecl& decl, void* buffer);
    ~Queue();
    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

    const RecordDecl& Decl() const { return decl_; }
    void* Buffer() const { return buffer_; }
    std::size_t Records() const { return count_; }
    // Position of the current entry (last read or written), 0 when none.
    std::size_t Pointer() const { return current_ == kNone ? 0 : current_ + 1; }
    // The entry at a position without touching the buffer (for lists shown
    // from a queue); nullptr outside 1..Records().
    const void* Entry(std::size_t position) const;
    // Grows with every change to the entries, so a view of the queue can tell
    // when to redraw.
    std::uint64_t Changes() const { return changes_; }

    // Each returns the error code (0 when done).
    int Add();                          // at the end
    int Add(std::string_view order);    // after the last entry not above the buffer in that order
    int Get(std::size_t position);
    int Get(std::string_view fields);   // first entry, in queue order, equal to the buffer in those fields
    int Put();                          // the buffer into the current entry
    int Delete();                       // the current entry
    void Free();
    int Sort(std::string_view order);   // stable: equal entries keep their order

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Loc {
        std::size_t chunk;
        std::size_t offset;
    };

    const QueueOrder& Parse(std::string_view desc);
    char* NewEntry();
    void Release(char* e);
    Loc Locate(std::size_t position) const;  // 0-based
    std::size_t ChunkStart(std::size_t chunk) const;
    void InsertAt(Loc at, char* e);
    void RebuildCounts();
    void CountAdd(std::size_t chunk, long delta);
    Loc UpperBound(const QueueOrder& order) const;
    bool KeepsOrder(std::size_t position) const;

    RecordDecl decl_;
    void* buffer_;
    std::size_t count_ = 0;
    std::size_t current_ = kNone;
    std::uint64_t changes_ = 0;
    std::vector<std::vector<char*>> chunks_;
    std::vector<std::size_t> counts_;  // Fenwick tree over the chunks' sizes
    // The order the entries are known to be in, if any.
    bool sorted_ = false;
    QueueOrder sortedBy_;
    // Entry storage: blocks of fixed-size slots and a list of free slots.
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<char*> freeSlots_;
    std::size_t usedInLastBlock_ = 0;
    // The last orders parsed, by their text.
    struct CachedOrder {
        std::string desc;
        QueueOrder order;
    };
    std::vector<CachedOrder> orders_;
};

// A queue that holds its own buffer: `rec` is the queue's record.
template <class R>
struct QueueRecord {
    R rec{};
};
template <class R>
class QueueOf : public QueueRecord<R>, public Queue {
public:
    explicit QueueOf(const RecordDecl& decl) : Queue(decl, &this->rec) {}
    R* operator->() { return &this->rec; }
    const R* operator->() const { return &this->rec; }
};

// The framework's operations; each sets ERRORCODE.
void ADD(Queue& q);
void ADD(Queue& q, std::string_view order);
void GET(Queue& q, long position);
void GET(Queue& q, std::string_view fields);
void PUT(Queue& q);
void DELETE(Queue& q);
void FREE(Queue& q);
void SORT(Queue& q, std::string_view order);
long RECORDS(const Queue& q);
long POINTER(const Queue& q);

}  // namespace fw
