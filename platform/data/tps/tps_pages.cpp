#include "platform/data/tps/tps_pages.h"

#include "platform/data/tps/tps_bytes.h"
#include "platform/data/tps/tps_error.h"
#include "platform/data/tps/tps_rle.h"

#include <algorithm>

namespace fw::tps {
namespace {

// A page starts where its first field holds its own offset.
bool LooksLikePage(std::string_view file, std::uint64_t at, PageHeader& page) {
    if (at + kPageHeaderSize > file.size() || at > 0xFFFFFFFFu) return false;
    if (Le32(file, at) != at) return false;
    page.offset = at;
    page.diskSize = Le16(file, at + 4);
    page.fullSize = Le16(file, at + 6);
    page.count = Le16(file, at + 10);
    page.level = U8(file, at + 12);
    return page.diskSize >= kPageHeaderSize && page.fullSize >= kPageHeaderSize;
}

void CheckInsideFile(std::string_view file, const PageHeader& page) {
    if (page.offset + page.diskSize > file.size())
        throw TpsError("page at " + HexOffset(page.offset) + " runs past the end of the file");
}

std::uint64_t UnitIndex(std::uint64_t offset) { return (offset - kHeaderSize) / kPageUnit; }

// Depth-first from the root, children in stored order. False when the tree
// cannot be trusted.
bool WalkTree(std::string_view file, std::uint32_t rootRef, std::vector<PageHeader>& leaves) {
    struct Pending {
        std::uint32_t ref;
        int parentLevel;  // 256 for the root
    };
    std::vector<bool> seen(file.size() / kPageUnit + 1, false);
    std::vector<Pending> stack{{rootRef, 256}};
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        const std::uint64_t at = PageOffset(p.ref);
        if (at + kPageHeaderSize > file.size())
            throw TpsError("page reference " + std::to_string(p.ref) + " points past the end of the file");
        PageHeader page;
        if (!LooksLikePage(file, at, page)) return false;
        if (page.level >= p.parentLevel) return false;
        const std::uint64_t unit = UnitIndex(at);
        if (seen[unit]) return false;
        seen[unit] = true;
        CheckInsideFile(file, page);
        if (page.level == 0) {
            leaves.push_back(page);
            continue;
        }
        // An inner page's body is never compressed: child references, then
        // keys this reader does not need.
        if (std::size_t{page.count} * 4 > page.diskSize - kPageHeaderSize) return false;
        for (std::size_t i = page.count; i-- > 0;)
            stack.push_back({Le32(file, at + kPageHeaderSize + 4 * i), page.level});
    }
    return true;
}

// Every page in the header's ranges, in file order. A page whose extent
// holds the start of another page was partly overwritten and is skipped.
std::vector<PageHeader> ScanRanges(std::string_view file, const FileHeader& header) {
    auto ranges = header.ranges;
    if (ranges.empty()) ranges.emplace_back(0, static_cast<std::uint32_t>(UnitIndex(file.size() + kPageUnit - 1)));
    std::sort(ranges.begin(), ranges.end());
    std::vector<PageHeader> leaves;
    std::uint64_t done = kHeaderSize;  // ranges may overlap; never visit a unit twice
    for (const auto& [startRef, endRef] : ranges) {
        const std::uint64_t end = std::min<std::uint64_t>(PageOffset(endRef), file.size());
        std::uint64_t at = std::max(PageOffset(startRef), done);
        while (at + kPageHeaderSize <= end) {
            PageHeader page;
            if (!LooksLikePage(file, at, page)) {
                at += kPageUnit;
                continue;
            }
            std::uint64_t overwrittenAt = 0;
            for (std::uint64_t q = at + kPageUnit; q < at + page.diskSize && !overwrittenAt; q += kPageUnit) {
                PageHeader inner;
                if (LooksLikePage(file, q, inner)) overwrittenAt = q;
            }
            if (overwrittenAt) {
                at = overwrittenAt;
                continue;
            }
            CheckInsideFile(file, page);
            if (page.level == 0) leaves.push_back(page);
            at += (page.diskSize + kPageUnit - 1) / kPageUnit * kPageUnit;
        }
        done = std::max(done, at);
    }
    return leaves;
}

}  // namespace

LeafPages FindLeafPages(std::string_view file, const FileHeader& header, std::vector<std::string>& warnings) {
    LeafPages result;
    if (WalkTree(file, header.rootRef, result.leaves)) return result;
    warnings.push_back("the page tree is damaged; pages were found by scanning the file");
    result.leaves = ScanRanges(file, header);
    result.scanned = true;
    return result;
}

std::string_view LeafBody(std::string_view file, const PageHeader& page, std::string& scratch) {
    const std::string_view stored = file.substr(page.offset + kPageHeaderSize, page.diskSize - kPageHeaderSize);
    if (page.fullSize <= page.diskSize) return stored.substr(0, page.fullSize - kPageHeaderSize);
    if (!Decompress(stored, page.fullSize - kPageHeaderSize, scratch))
        throw TpsError("page at " + HexOffset(page.offset) + ": damaged compression run");
    return scratch;
}

}  // namespace fw::tps
