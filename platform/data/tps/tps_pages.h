#pragma once
// Pages: finding the leaf pages that hold the records (walking the page
// tree from the header's root, or scanning the page ranges when the tree is
// damaged) and reading a leaf's body, decompressed.

#include "platform/data/tps/tps_header.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw::tps {

inline constexpr std::size_t kPageHeaderSize = 13;

struct PageHeader {
    std::uint64_t offset = 0;     // where it starts in the file (also its first field)
    std::uint16_t diskSize = 0;   // bytes on disk, header included
    std::uint16_t fullSize = 0;   // bytes after decompression, header included
    std::uint16_t count = 0;      // records (leaf) or children (inner page)
    std::uint8_t level = 0;       // 0: leaf; above: inner page of the tree
};

struct LeafPages {
    std::vector<PageHeader> leaves;  // in tree order (or file order when scanned)
    bool scanned = false;            // the tree was unusable; pages found by scanning
};

// Throws TpsError for a page reference or a page that reaches past the end
// of the file; a tree that is otherwise unusable (a reference that lands on
// no page, a loop, levels out of order) falls back to the scan with a warning.
LeafPages FindLeafPages(std::string_view file, const FileHeader& header, std::vector<std::string>& warnings);

// The body of a leaf page, decompressed into `scratch` when compressed.
// Throws TpsError for a damaged compression run.
std::string_view LeafBody(std::string_view file, const PageHeader& page, std::string& scratch);

}  // namespace fw::tps
