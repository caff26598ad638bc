#pragma once
// A few small files of every shape the reader knows, for the mutation test
// and the fuzz seed corpus.

#include "tests/platform/data/tps/tps_fixtures.h"

#include <string>
#include <utility>
#include <vector>

namespace tps_fixture {

inline std::vector<std::pair<std::string, std::string>> SeedFiles() {
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back("alltypes.tps", Write({AllTypesTable()}));
    Options raw;
    raw.compress = false;
    files.emplace_back("alltypes-raw.tps", Write({AllTypesTable()}, raw));
    Options tree;
    tree.leafBytes = 700;
    tree.fanOut = 3;
    files.emplace_back("tree.tps", Write({TrackTableOf(1, "TRACKS", 40)}, tree));
    files.emplace_back("memos.tps", Write({MemoTable()}));
    TablePlan parts = TrackTableOf(9, "PARTS", 3);
    parts.definitionParts = 3;
    files.emplace_back("tables.tps", Write({parts, MemoTable(), TrackTableOf(300, "MORE", 4)}));
    Options orphan;
    Record stale{TableHeader(1, 0xF3), TrackRow("Old", "Old", "", 1, 1, "")};
    PutBe32(stale.header, 2);
    orphan.orphan = {stale};
    orphan.leafBytes = 1000;
    files.emplace_back("orphan.tps", Write({TrackTableOf(1, "TRACKS", 12)}, orphan));
    return files;
}

}  // namespace tps_fixture
