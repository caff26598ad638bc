#pragma once
// Reads every part of a TopSpeed file the way a conversion would: every
// table, row, field element and memo. Returns the error text, or "" when
// the file read. Any other exception (or a crash) is a fault of the reader.

#include "platform/data/tps/tps_file.h"

#include <string>
#include <string_view>

namespace tps_fixture {

inline std::string ReadAll(std::string_view bytes) {
    try {
        const fw::tps::TpsFile file = fw::tps::TpsFile::Parse(bytes);
        std::size_t sink = 0;
        for (const fw::tps::Table& t : file.Tables()) {
            for (std::size_t row = 0; row < t.RowCount(); ++row) {
                for (std::size_t f = 0; f < t.definition.fields.size(); ++f)
                    for (std::size_t e = 0; e < t.definition.fields[f].ElementCount(); ++e)
                        sink += fw::tps::DisplayText(t.definition.fields[f], t.Get(row, f, e)).size();
                for (std::size_t m = 0; m < t.definition.memos.size(); ++m) sink += t.Memo(row, m).size();
            }
        }
        return sink == std::size_t(-1) ? "unreachable" : "";
    } catch (const fw::tps::TpsError& e) {
        return e.what();
    }
}

}  // namespace tps_fixture
