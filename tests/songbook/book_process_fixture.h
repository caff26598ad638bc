#pragma once
// Other copies of the program, as child processes: one that holds a book
// open, one that keeps adding listings to it; and the book's listings as
// the data layer reads them.

#include "tests/platform/data/data_test_support.h"
#include "tests/songbook/book_fixture.h"

#include <set>

namespace book_test {

// The listings file at `path` as the data layer declares it.
inline std::unique_ptr<fw::File> ListingsFile(const fs::path& path) {
    fw::FileDecl decl = shell::FileDeclOf(shell::SongBookFile());
    decl.name = fw::FixedName(fw::Utf8ToAnsi(path.string()));
    decl.thread = false;
    return std::make_unique<fw::File>(std::move(decl));
}

// Every listing's title, read through the data layer.
inline std::set<std::string> Titles(const fs::path& path) {
    auto f = ListingsFile(path);
    fw::OPEN(*f, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR() << " " << path;
    std::set<std::string> titles;
    fw::SET(*f);
    for (fw::NEXT(*f); fw::ERRORCODE() == 0; fw::NEXT(*f)) titles.insert(f->Rec<shell::SongBookRec>().Title.Str());
    fw::CLOSE(*f);
    return titles;
}

// A child holding the book's listings file open until it is killed.
inline std::unique_ptr<datatest::Child> HoldOpen(const fs::path& listings) {
    auto child = std::make_unique<datatest::Child>([listings](datatest::Child&) {
        auto f = ListingsFile(listings);
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        const char word = fw::ERRORCODE() == 0 ? 'o' : 'e';
        f.release();  // stays open until the process ends
        return word;
    });
    EXPECT_EQ(child->Receive(), 'o');
    return child;
}

}  // namespace book_test
