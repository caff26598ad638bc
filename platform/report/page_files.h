#pragma once
// Pages as files: every finished page of a report is one file in a folder
// of its own in the temporary folder ("cv-report-<pid>-<n>"), and the
// report's page list is the list of those files. A page is read back only
// when it is drawn. The folder goes with the last page list that uses it
// (the report done, cancelled or unwound by an error); folders that a
// crashed run left are removed by CleanLeftoverPageFolders at start.

#include <memory>
#include <string>
#include <vector>

#include "platform/report/display_list.h"

namespace fw::report {

class PageFolder {
public:
    // Creates a fresh folder. When it cannot be made, the report makes no
    // pages: its first page fails as a page that cannot be written does.
    PageFolder();
    ~PageFolder();
    PageFolder(const PageFolder&) = delete;
    PageFolder& operator=(const PageFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Writes the page to a file of its own; returns the file's path. When
    // the page cannot be written (the disk is full, the folder is missing)
    // the report fails: its user is told why and where (once), the pages
    // written so far are removed, and this and every later write return
    // an empty path.
    std::string Write(const Page& page);
    // A page could not be written (or the folder not made).
    bool Failed() const { return failed_; }
    // What went wrong, as the user was told.
    const std::string& Problem() const { return problem_; }

private:
    void Fail(const std::string& problem);

    std::string path_;
    std::string problem_;
    std::vector<std::string> written_;
    bool failed_ = false;
    int next_ = 1;
};

struct PageEntry {
    std::string file;
    int seq = 0;     // the page's place in the report as it was made
    int number = 0;  // the page number printed on it
};

// The report's pages in order. Copies share the files; the folder lives
// as long as any copy does.
class PageList {
public:
    PageList() = default;
    PageList(std::shared_ptr<PageFolder> folder, std::vector<PageEntry> pages, int pageCount)
        : folder_(std::move(folder)), pages_(std::move(pages)), pageCount_(pageCount) {}

    int Count() const { return static_cast<int>(pages_.size()); }
    bool Empty() const { return pages_.empty(); }
    const PageEntry& At(int i) const { return pages_.at(static_cast<std::size_t>(i)); }  // from 0
    const std::vector<PageEntry>& Entries() const { return pages_; }
    // The page count the report's "of" texts show: the pages it made.
    int PageCount() const { return pageCount_; }

    // The same pages (sharing the files), chosen by index from 0, in the
    // order given; indices may repeat.
    PageList Select(const std::vector<int>& indices) const;
    // Deletes page i (from 0): its file and its entry.
    void Delete(int i);
    // Reads page i from its file (std::runtime_error when it cannot).
    Page Load(int i) const;

private:
    std::shared_ptr<PageFolder> folder_;
    std::vector<PageEntry> pages_;
    int pageCount_ = 0;
};

// Removes the page folders of runs that are no longer alive.
void CleanLeftoverPageFolders();

}  // namespace fw::report
