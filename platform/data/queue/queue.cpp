#include "platform/data/queue/queue.h"

#include "platform/runtime/error_state.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace fw {
namespace {
constexpr std::size_t kChunkMax = 512;  // a full chunk splits in two
constexpr std::size_t kChunkFill = 384; // chunk size after a SORT
constexpr std::size_t kBlockSlots = 1024;
constexpr std::size_t kCachedOrders = 4;
}  // namespace

Queue::Queue(const RecordDecl& decl, void* buffer) : decl_(decl), buffer_(buffer) {
    assert(decl_.size > 0);
}

Queue::~Queue() = default;

// ---- storage ---------------------------------------------------------------

char* Queue::NewEntry() {
    if (!freeSlots_.empty()) {
        char* e = freeSlots_.back();
        freeSlots_.pop_back();
        return e;
    }
    if (blocks_.empty() || usedInLastBlock_ == kBlockSlots) {
        blocks_.push_back(std::make_unique<char[]>(decl_.size * kBlockSlots));
        usedInLastBlock_ = 0;
    }
    return blocks_.back().get() + decl_.size * usedInLastBlock_++;
}

void Queue::Release(char* e) { freeSlots_.push_back(e); }

void Queue::RebuildCounts() {
    const std::size_t n = chunks_.size();
    counts_.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        counts_[i] += chunks_[i - 1].size();
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n) counts_[parent] += counts_[i];
    }
}

void Queue::CountAdd(std::size_t chunk, long delta) {
    for (std::size_t i = chunk + 1; i < counts_.size(); i += i & (~i + 1))
        counts_[i] = static_cast<std::size_t>(static_cast<long>(counts_[i]) + delta);
}

std::size_t Queue::ChunkStart(std::size_t chunk) const {
    std::size_t sum = 0;
    for (std::size_t i = chunk; i > 0; i -= i & (~i + 1)) sum += counts_[i];
    return sum;
}

Queue::Loc Queue::Locate(std::size_t position) const {
    // Descend the Fenwick tree to the chunk holding the position.
    std::size_t idx = 0;
    std::size_t rest = position;
    std::size_t step = 1;
    while (step * 2 < counts_.size()) step *= 2;
    for (; step > 0; step /= 2) {
        const std::size_t next = idx + step;
        if (next < counts_.size() && counts_[next] <= rest) {
            idx = next;
            rest -= counts_[next];
        }
    }
    return {idx, rest};
}

void Queue::InsertAt(Loc at, char* e) {
    if (chunks_.empty()) {
        chunks_.emplace_back();
        chunks_.back().reserve(kChunkMax);
        at = {0, 0};
        RebuildCounts();
    }
    auto& c = chunks_[at.chunk];
    if (c.size() >= kChunkMax) {
        if (at.chunk + 1 == chunks_.size() && at.offset == c.size()) {
            // Appending to a full last chunk starts a new one (keeps chunks full).
            chunks_.emplace_back();
            chunks_.back().reserve(kChunkMax);
            chunks_.back().push_back(e);
            RebuildCounts();
            return;
        }
        std::vector<char*> upper(c.begin() + kChunkMax / 2, c.end());
        upper.reserve(kChunkMax);
        c.resize(kChunkMax / 2);
        chunks_.insert(chunks_.begin() + static_cast<long>(at.chunk) + 1, std::move(upper));
        if (at.offset > kChunkMax / 2) {
            at.chunk += 1;
            at.offset -= kChunkMax / 2;
        }
        auto& target = chunks_[at.chunk];
        target.insert(target.begin() + static_cast<long>(at.offset), e);
        RebuildCounts();
        return;
    }
    c.insert(c.begin() + static_cast<long>(at.offset), e);
    CountAdd(at.chunk, 1);
}

const void* Queue::Entry(std::size_t position) const {
    if (position < 1 || position > count_) return nullptr;
    const Loc at = Locate(position - 1);
    return chunks_[at.chunk][at.offset];
}

// ---- orders ----------------------------------------------------------------

const QueueOrder& Queue::Parse(std::string_view desc) {
    for (auto& c : orders_)
        if (c.desc == desc) return c.order;
    if (orders_.size() == kCachedOrders) orders_.erase(orders_.begin());
    orders_.push_back({std::string(desc), QueueOrder(decl_, desc)});
    return orders_.back().order;
}

Queue::Loc Queue::UpperBound(const QueueOrder& order) const {
    // First chunk whose last entry is above the buffer, then within it.
    const void* key = buffer_;
    std::size_t lo = 0, hi = chunks_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (order.Compare(key, chunks_[mid].back()) < 0) hi = mid;
        else lo = mid + 1;
    }
    if (lo == chunks_.size()) return {chunks_.size() - 1, chunks_.back().size()};
    const auto& c = chunks_[lo];
    auto it = std::upper_bound(c.begin(), c.end(), key,
                               [&](const void* k, const char* e) { return order.Compare(k, e) < 0; });
    return {lo, static_cast<std::size_t>(it - c.begin())};
}

// True when the entry at a 0-based position still sits in the known order
// between its neighbours.
bool Queue::KeepsOrder(std::size_t position) const {
    const void* e = Entry(position + 1);
    if (position > 0 && sortedBy_.Compare(Entry(position), e) > 0) return false;
    if (position + 1 < count_ && sortedBy_.Compare(e, Entry(position + 2)) > 0) return false;
    return true;
}

// ---- operations ------------------------------------------------------------

int Queue::Add() {
    char* e = NewEntry();
    std::memcpy(e, buffer_, decl_.size);
    const Loc end = chunks_.empty() ? Loc{0, 0} : Loc{chunks_.size() - 1, chunks_.back().size()};
    InsertAt(end, e);
    current_ = count_++;
    ++changes_;
    if (sorted_ && !KeepsOrder(current_)) sorted_ = false;
    return 0;
}

int Queue::Add(std::string_view desc) {
    const QueueOrder& order = Parse(desc);
    if (!order.Valid()) return kBadFieldList;
    const bool wasEmpty = count_ == 0;
    const bool inOrder = wasEmpty || (sorted_ && sortedBy_ == order);
    char* e = NewEntry();
    std::memcpy(e, buffer_, decl_.size);
    const Loc at = wasEmpty ? Loc{0, 0} : UpperBound(order);
    const std::size_t position = wasEmpty ? 0 : ChunkStart(at.chunk) + at.offset;
    InsertAt(at, e);
    ++count_;
    current_ = position;
    ++changes_;
    if (inOrder) {
        sorted_ = true;
        sortedBy_ = order;
    } else {
        sorted_ = false;
    }
    return 0;
}

int Queue::Get(std::size_t position) {
    const void* e = Entry(position);
    if (!e) {
        current_ = kNone;
        return kEntryNotFound;
    }
    std::memcpy(buffer_, e, decl_.size);
    current_ = position - 1;
    return 0;
}

int Queue::Get(std::string_view fields) {
    const QueueOrder& want = Parse(fields);
    if (!want.Valid()) {
        current_ = kNone;
        return kBadFieldList;
    }
    std::size_t found = kNone;
    if (count_ > 0 && sorted_ && sortedBy_.StartsWith(want)) {
        // Binary search for the first entry not below the buffer in those
        // fields: first over the chunks' last entries, then within one chunk.
        const std::size_t n = want.Components().size();
        auto below = [&](const char* e) { return sortedBy_.CompareFirst(e, buffer_, n) < 0; };
        std::size_t lo = 0, hi = chunks_.size();
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (below(chunks_[mid].back())) lo = mid + 1;
            else hi = mid;
        }
        if (lo < chunks_.size()) {
            const auto& c = chunks_[lo];
            const auto it = std::partition_point(c.begin(), c.end(), below);
            if (it != c.end() && sortedBy_.CompareFirst(*it, buffer_, n) == 0)
                found = ChunkStart(lo) + static_cast<std::size_t>(it - c.begin());
        }
    } else {
        const auto& parts = want.Components();
        std::size_t position = 0;
        for (const auto& c : chunks_) {
            for (const char* e : c) {
                bool equal = true;
                for (const auto& p : parts)
                    if (CompareField(p, e, buffer_) != 0) {
                        equal = false;
                        break;
                    }
                if (equal) {
                    found = position;
                    break;
                }
                ++position;
            }
            if (found != kNone) break;
        }
    }
    if (found == kNone) {
        current_ = kNone;
        return kEntryNotFound;
    }
    return Get(found + 1);
}

int Queue::Put() {
    if (current_ == kNone) return kEntryNotFound;
    const Loc at = Locate(current_);
    std::memcpy(chunks_[at.chunk][at.offset], buffer_, decl_.size);
    ++changes_;
    if (sorted_ && !KeepsOrder(current_)) sorted_ = false;
    return 0;
}

int Queue::Delete() {
    if (current_ == kNone) return kEntryNotFound;
    const Loc at = Locate(current_);
    auto& c = chunks_[at.chunk];
    Release(c[at.offset]);
    c.erase(c.begin() + static_cast<long>(at.offset));
    if (c.empty()) {
        chunks_.erase(chunks_.begin() + static_cast<long>(at.chunk));
        RebuildCounts();
    } else {
        CountAdd(at.chunk, -1);
    }
    --count_;
    current_ = kNone;
    ++changes_;
    return 0;
}

void Queue::Free() {
    chunks_.clear();
    counts_.clear();
    blocks_.clear();
    freeSlots_.clear();
    usedInLastBlock_ = 0;
    count_ = 0;
    current_ = kNone;
    sorted_ = false;
    ++changes_;
}

int Queue::Sort(std::string_view desc) {
    const QueueOrder& order = Parse(desc);
    if (!order.Valid()) return kBadFieldList;
    std::vector<char*> all;
    all.reserve(count_);
    for (const auto& c : chunks_) all.insert(all.end(), c.begin(), c.end());
    std::stable_sort(all.begin(), all.end(),
                     [&](const char* a, const char* b) { return order.Compare(a, b) < 0; });
    chunks_.clear();
    for (std::size_t i = 0; i < all.size(); i += kChunkFill) {
        const std::size_t end = std::min(all.size(), i + kChunkFill);
        chunks_.emplace_back(all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(end));
        chunks_.back().reserve(kChunkMax);
    }
    RebuildCounts();
    current_ = kNone;
    sorted_ = true;
    sortedBy_ = order;
    ++changes_;
    return 0;
}

// ---- the framework's operations --------------------------------------------

void ADD(Queue& q) { SetError(q.Add()); }
void ADD(Queue& q, std::string_view order) { SetError(q.Add(order)); }
void GET(Queue& q, long position) {
    SetError(position < 1 ? kEntryNotFound : q.Get(static_cast<std::size_t>(position)));
}
void GET(Queue& q, std::string_view fields) { SetError(q.Get(fields)); }
void PUT(Queue& q) { SetError(q.Put()); }
void DELETE(Queue& q) { SetError(q.Delete()); }
void FREE(Queue& q) {
    q.Free();
    ClearError();
}
void SORT(Queue& q, std::string_view order) { SetError(q.Sort(order)); }
long RECORDS(const Queue& q) { return static_cast<long>(q.Records()); }
long POINTER(const Queue& q) { return static_cast<long>(q.Pointer()); }

}  // namespace fw
