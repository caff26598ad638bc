#pragma once
// Whether a file is a book file the program can trust, before it takes a
// book's place (a restore): an SQLite file must open as the book file of its
// extension, with exactly the declared schema, and pass SQLite's integrity
// check; a file of the older format must read through to its end and
// convert, every record, under the earlier layout its name says (as its
// conversion will read it). Paths are names on disk.

#include <string>

namespace songbook {

// `fileName` is the name the file is to have (its extension says which of
// the book's two files it is); `diskPath` where it is now. False, with the
// reason in `error`, when it is no sound book file.
bool CheckBookFile(const std::string& diskPath, const std::string& fileName, std::string& error);

}  // namespace songbook
