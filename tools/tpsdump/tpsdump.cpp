// tpsdump [--rows N] [--table NAME] FILE...
// Lists each table of a TopSpeed file: its number and name, its fields
// (type, offset, length, elements, decimals, picture), memos and keys, and
// its first rows (10 unless --rows says otherwise), text shown as UTF-8
// from Windows-1252. For checking the files hosts send.

#include "platform/data/tps/tps_file.h"
#include "platform/text/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace fw::tps;

std::string Utf8(const std::string& ansi) { return fw::AnsiToUtf8(ansi); }

std::string FieldValue(const Table& t, std::size_t row, std::size_t f) {
    const Field& field = t.definition.fields[f];
    std::string out;
    for (std::size_t e = 0; e < field.ElementCount(); ++e) {
        if (e) out += ",";
        out += DisplayText(field, t.Get(row, f, e));
    }
    return Utf8(out);
}

void DumpTable(const Table& t, std::size_t rows) {
    const Definition& d = t.definition;
    std::printf("\ntable %u \"%s\": record length %u, %zu fields, %zu memos, %zu keys, %zu rows (driver version %u)\n",
                t.number, Utf8(t.name).c_str(), d.recordLength, d.fields.size(), d.memos.size(), d.keys.size(),
                t.RowCount(), d.driverVersion);
    std::printf("  %-3s %-24s %-10s %6s %6s %5s %4s %s\n", "#", "field", "type", "offset", "length", "elems", "dec",
                "picture");
    for (std::size_t i = 0; i < d.fields.size(); ++i) {
        const Field& f = d.fields[i];
        std::printf("  %-3zu %-24s %-10s %6u %6u %5u %4u %s%s\n", i, Utf8(f.name).c_str(), TypeName(f.type).c_str(),
                    f.offset, f.length, f.elements, f.decimals, Utf8(f.picture).c_str(), f.flags ? " (overlay)" : "");
    }
    for (const Memo& m : d.memos)
        std::printf("  memo %s: %s, at most %u bytes%s%s\n", Utf8(m.name).c_str(), m.IsBlob() ? "BLOB" : "text",
                    m.maxSize, m.externalFile.empty() ? "" : ", in ", Utf8(m.externalFile).c_str());
    for (const Key& k : d.keys) {
        std::printf("  key %s (flags 0x%02x):", Utf8(k.name).c_str(), k.flags);
        for (const KeyComponent& c : k.components)
            std::printf(" %s%s", c.field < d.fields.size() ? Utf8(d.fields[c.field].name).c_str() : "?",
                        c.descending ? " descending" : "");
        std::printf("\n");
    }
    const std::size_t shown = std::min(rows, t.RowCount());
    if (!shown) return;
    std::printf("  first %zu rows:\n", shown);
    for (std::size_t r = 0; r < shown; ++r) {
        std::printf("  [%u]", t.RecordNumber(r));
        for (std::size_t f = 0; f < d.fields.size(); ++f)
            if (d.fields[f].type != kGroup) std::printf(" %s=%s", Utf8(std::string(d.fields[f].ShortName())).c_str(),
                                                        FieldValue(t, r, f).c_str());
        for (std::size_t m = 0; m < d.memos.size(); ++m) {
            const std::string memo = t.Memo(r, m);
            if (!memo.empty()) std::printf(" %s=<%zu bytes>", Utf8(d.memos[m].name).c_str(), memo.size());
        }
        std::printf("\n");
    }
}

int Dump(const std::string& path, std::size_t rows, const std::string& only) {
    std::printf("%s\n", path.c_str());
    try {
        const TpsFile file = TpsFile::Read(path);
        const FileHeader& h = file.Header();
        std::printf("  %u bytes, last record number %u, %u changes, root page %u, %zu page ranges%s\n", h.fileLength,
                    h.lastRecordNumber, h.changeCount, h.rootRef, h.ranges.size(),
                    file.Scanned() ? ", pages found by scanning" : "");
        for (const std::string& w : file.Warnings()) std::printf("  warning: %s\n", Utf8(w).c_str());
        const Table* wanted = only.empty() ? nullptr : file.FindTable(only);
        if (!only.empty() && !wanted) {
            std::fprintf(stderr, "%s: no table %s\n", path.c_str(), only.c_str());
            return 1;
        }
        for (const Table& t : file.Tables())
            if (!wanted || wanted == &t) DumpTable(t, rows);
        return 0;
    } catch (const TpsError& e) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t rows = 10;
    std::string table;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc) {
            rows = std::strtoul(argv[++i], nullptr, 10);
        } else if (a == "--table" && i + 1 < argc) {
            table = argv[++i];
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "usage: tpsdump [--rows N] [--table NAME] FILE...\n");
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: tpsdump [--rows N] [--table NAME] FILE...\n");
        return 2;
    }
    int status = 0;
    for (const std::string& f : files) status |= Dump(f, rows, table);
    return status;
}
