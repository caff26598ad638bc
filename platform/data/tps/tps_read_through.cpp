#include "platform/data/tps/tps_read_through.h"

#include "platform/data/tps/tps_file.h"

namespace fw::tps {
namespace {

std::string ReadTables(const TpsFile& file) {
    if (file.Tables().empty()) return "the file holds no table";
    std::size_t sink = 0;
    for (const Table& t : file.Tables()) {
        for (std::size_t row = 0; row < t.RowCount(); ++row) {
            for (std::size_t f = 0; f < t.definition.fields.size(); ++f)
                for (std::size_t e = 0; e < t.definition.fields[f].ElementCount(); ++e)
                    sink += DisplayText(t.definition.fields[f], t.Get(row, f, e)).size();
            for (std::size_t m = 0; m < t.definition.memos.size(); ++m) sink += t.Memo(row, m).size();
        }
    }
    return sink == std::size_t(-1) ? "unreachable" : "";
}

}  // namespace

std::string ReadThrough(std::string_view bytes) {
    try {
        return ReadTables(TpsFile::Parse(bytes));
    } catch (const TpsError& e) {
        return e.what();
    }
}

std::string ReadThroughFile(const std::string& path) {
    try {
        return ReadTables(TpsFile::Read(path));
    } catch (const TpsError& e) {
        return e.what();
    }
}

}  // namespace fw::tps
