#pragma once
// The list control a paged browse shows its page on. WindowBrowseList is the
// LIST control of the running window (with the browse's Insert, Change,
// Delete and Select buttons); PageOnlyList keeps the page in memory, for a
// browse driven without a window.

#include "platform/ui/widgets/paged_list_widget.h"

#include <string>
#include <vector>

namespace shell {

// The buttons of a browse by use-equate; an empty one is absent.
struct BrowseButtons {
    std::string insert;
    std::string change;
    std::string remove;
    std::string select;
};

class BrowseList {
public:
    virtual ~BrowseList() = default;
    virtual int PageSize() const = 0;                 // PROP:Items
    virtual void ShowRows(std::vector<fw::ui::ListRow> rows) = 0;
    virtual void Select(int row) = 0;                 // PROP:Selected
    virtual int Choice() const = 0;                   // CHOICE(list)
    virtual void ShowThumb(bool on, int step) = 0;    // PROP:VScroll, PROP:VScrollPos
    virtual int ThumbPosition() const = 0;            // PROP:VScrollPos after a drag
    virtual void EnableRecordButtons(bool on) = 0;    // Change and Delete
    virtual void PostNewSelection() = 0;
    virtual void PostAccepted(const std::string& button) = 0;
    virtual void AskClose() = 0;                      // POST(EVENT:CloseWindow)
    virtual void Focus() = 0;
    virtual bool IsList(int field) const = 0;         // is FIELD() this list?
    virtual int Button(int field) const = 0;          // the request of FIELD()'s button (0: none)
    virtual void Busy(bool on) = 0;                   // the wait cursor while a page loads
    virtual void AlertTypedKeys() {}                  // letters and digits reach the list as AlertKey
};

class WindowBrowseList : public BrowseList {
public:
    WindowBrowseList(std::string list, BrowseButtons buttons);
    int PageSize() const override;
    void ShowRows(std::vector<fw::ui::ListRow> rows) override;
    void Select(int row) override;
    int Choice() const override;
    void ShowThumb(bool on, int step) override;
    int ThumbPosition() const override;
    void EnableRecordButtons(bool on) override;
    void PostNewSelection() override;
    void PostAccepted(const std::string& button) override;
    void AskClose() override;
    void Focus() override;
    bool IsList(int field) const override;
    int Button(int field) const override;
    void Busy(bool on) override;
    void AlertTypedKeys() override;
    const BrowseButtons& Buttons() const { return buttons_; }

private:
    std::string list_;
    BrowseButtons buttons_;
};

class PageOnlyList : public BrowseList {
public:
    explicit PageOnlyList(int pageSize) : pageSize_(pageSize) {}
    int PageSize() const override { return pageSize_; }
    void ShowRows(std::vector<fw::ui::ListRow> rows) override { rows_ = std::move(rows); }
    void Select(int row) override { choice_ = row; }
    int Choice() const override { return choice_; }
    void ShowThumb(bool on, int step) override { thumbOn_ = on; thumb_ = step; }
    int ThumbPosition() const override { return thumb_; }
    void EnableRecordButtons(bool on) override { buttonsOn_ = on; }
    void PostNewSelection() override {}
    void PostAccepted(const std::string&) override {}
    void AskClose() override { closeAsked_ = true; }
    void Focus() override {}
    bool IsList(int) const override { return false; }
    int Button(int) const override { return 0; }
    void Busy(bool) override {}

    std::vector<fw::ui::ListRow> rows_;
    int choice_ = 0;
    int thumb_ = 0;
    bool thumbOn_ = false;
    bool buttonsOn_ = false;
    bool closeAsked_ = false;

private:
    int pageSize_;
};

}  // namespace shell
