#include "songbook/browse_song_book.h"

#include "platform/data/tps/tps_header.h"
#include "platform/runtime/error_state.h"
#include "platform/runtime/scheduler.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "songbook/book_paths.h"
#include "songbook/browse_song_book_files.h"
#include "songbook/browse_song_book_lists.h"
#include "songbook/convert_books.h"
#include "songbook/song_book_lists.h"
#include "songbook/song_book_commands.h"
#include "songbook/song_book_window.h"
#include "songbook/update_song_book_listing.h"
#include "platform/os/beep.h"
#include "shell/window_runtime.h"

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>


#include "shell/program_events.h"
#include "songbook/getting_started.h"
#include "songbook/song_book_file_explorer.h"

namespace songbook {

namespace {

namespace fs = std::filesystem;

// The one open book, shared by every song-book window.
struct OpenBookState {
    int windows = 0;         // windows showing the open book
    int choosingThread = 0;  // the thread whose window is choosing a book, 0 when none
};
OpenBookState& Book() {
    static OpenBookState state;
    return state;
}

// The SongBook File Explorer leaves the chosen book's path (blank: none) in SongBookName.
std::string ChooseInExplorer() {
    SongBookFileExplorer();
    return shell::SongBookName.Str();
}

BookChooser& Chooser() {
    static BookChooser chooser = ChooseInExplorer;
    return chooser;
}
std::function<void()>& GettingStartedProc() {
    static std::function<void()> proc = songbook::GettingStarted;
    return proc;
}

// Queued on the frame window itself, so the frame counts it even while
// another of its thread's windows (About) is accepting.
void PostToFrame(int event) {
    if (shell::FrameThread != 0) shell::PostFrameEvent(event);
}

enum class OnDisk { Missing, File, NotAFile };
OnDisk Examine(std::string_view programPath) {
    std::error_code ec;
    const fs::file_status st = fs::status(DiskPath(programPath), ec);
    if (ec || st.type() == fs::file_type::not_found) return OnDisk::Missing;
    return st.type() == fs::file_type::regular ? OnDisk::File : OnDisk::NotAFile;
}

// A file of the earlier program's format (its plain header).
bool LooksLikeEarlierBook(std::string_view programPath) {
    std::ifstream in(DiskPath(programPath), std::ios::binary);
    std::string head(0x20, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return fw::tps::HasSignature(head);
}

[[noreturn]] void Fatal(std::string_view verb, std::string_view name) {
    fw::MESSAGE(FatalText(fw::ERRORCODE(), verb, name), kFatalCaption, fw::Icon::Hand, fw::Button::Ok);
    fw::HALT();
}

void CannotOpen(int code, std::string_view name, std::string_view reason) {
    fw::MESSAGE(CannotOpenText(code, name, reason), kOpenBookCaption, fw::Icon::Exclamation, fw::Button::Ok);
}

// "One Moment Please..." while brand numbers are rewritten; no event loop.
class UpdateWindow {
public:
    UpdateWindow() : window_("P1$UPDATEWINDOW") {
        window_.Open();
        fw::DISPLAY();
    }

private:
    fw::Window window_;
};

enum class Chosen { Opened, GaveUp, Declined };

void ShowDamage(std::string_view damage) {
    fw::MESSAGE(std::string(kDamagedBookText) + "|" + std::string(damage), kOpenBookCaption, fw::Icon::Exclamation,
                fw::Button::Ok);
}

// Asks for a book until one is open (or created), the user gives up, or a
// conversion question is answered No. SongBookName and SBDiscsName name the
// open pair afterwards; an existing book's count and check run in `check`
// (a write to the book waits for it to pass).
Chosen ChooseAndOpenBook(std::unique_ptr<fw::BackgroundCheck>& check) {
    for (;;) {
        shell::SongBookName = "";
        const std::string chosen = Chooser() ? Chooser()() : std::string();
        shell::SongBookName = chosen;
        if (shell::SongBookName.Blank()) return Chosen::GaveUp;
        const BookNames names = MapBookNames(shell::SongBookName.Clip());

        if (names.olderFormat && Examine(chosen) == OnDisk::File) {
            const int answer = fw::MESSAGE(kConversionQuestion, kConversionCaption, fw::Icon::Question,
                                           fw::Button::Yes + fw::Button::No, fw::Button::Yes);
            if (answer != fw::Button::Yes) {
                shell::SongBookName = "";
                return Chosen::Declined;
            }
            shell::SongBookName = names.olderListings;
            shell::SBDiscsName = names.olderDiscs;
            if (!ConvertSbkSongBook()) return Chosen::GaveUp;
        }

        shell::SongBookName = names.listings;
        shell::SBDiscsName = names.discs;
        const OnDisk listingsFile = Examine(names.listings);
        const OnDisk discsFile = Examine(names.discs);

        if (listingsFile == OnDisk::Missing && discsFile == OnDisk::Missing) {
            // A new book: an empty pair.
            if (book_files::CreateListings() != 0) Fatal("create", shell::SongBookName.Clip());
            if (book_files::CreateDiscs() != 0) Fatal("create", shell::SBDiscsName.Clip());
            if (book_files::ShareListings() != 0) Fatal("open", shell::SongBookName.Clip());
            if (book_files::ShareDiscs() != 0) Fatal("open", shell::SBDiscsName.Clip());
            return Chosen::Opened;
        }

        // An existing book. Neither file is ever created over the other's
        // data: a missing half sends the user back to choose again.
        if (listingsFile != OnDisk::File) {
            CannotOpen(fw::NoFileErr, shell::SongBookName.Clip(),
                       listingsFile == OnDisk::Missing ? "The file does not exist." : "It is not a file.");
            continue;
        }
        if (discsFile != OnDisk::File) {
            if (discsFile == OnDisk::Missing)
                fw::MESSAGE(DiscsMissingText(shell::SBDiscsName.Clip()), kOpenBookCaption, fw::Icon::Exclamation,
                            fw::Button::Ok);
            else
                CannotOpen(fw::NoFileErr, shell::SBDiscsName.Clip(), "It is not a file.");
            continue;
        }
        const int listingsError = book_files::ShareListings();
        if (listingsError == fw::InvalidFileErr) {
            // Not a file of ours: a book of an earlier program's layout is
            // converted; anything else is no book.
            if (!LooksLikeEarlierBook(names.listings)) {
                CannotOpen(fw::InvalidFileErr, shell::SongBookName.Clip(), "It is not a SongBook file.");
                continue;
            }
            if (!ConvertSongBookFile()) return Chosen::GaveUp;
            if (const int again = book_files::ShareListings(); again != 0) {
                CannotOpen(again, shell::SongBookName.Clip(), fw::ERROR());
                continue;
            }
        } else if (listingsError != 0) {
            CannotOpen(listingsError, shell::SongBookName.Clip(), fw::ERROR());
            continue;
        }
        const int discsError = book_files::ShareDiscs();
        if (discsError != 0) {
            const std::string reason(fw::ERROR());
            book_files::CloseBookPair();
            CannotOpen(discsError, shell::SBDiscsName.Clip(), reason);
            continue;
        }
        // A damaged book is never written to: the user is sent to a backup.
        // The check runs while the window shows the first page; the brand
        // update, which writes, waits for it.
        check = book_files::StartBookCheck();
        if (book_files::DiscBrandsNeedUpdate()) {
            if (const std::string damage = check->Result(); !damage.empty()) {
                check.reset();
                book_files::CloseBookPair();
                ShowDamage(damage);
                continue;
            }
            UpdateWindow shown;
            book_files::RewriteDiscBrands();
        }
        return Chosen::Opened;
    }
}

// Marks this thread as the one choosing a book while it lives.
class ChoosingGuard {
public:
    ChoosingGuard() { Book().choosingThread = fw::THREAD(); }
    ~ChoosingGuard() { Book().choosingThread = 0; }
    ChoosingGuard(const ChoosingGuard&) = delete;
    ChoosingGuard& operator=(const ChoosingGuard&) = delete;
};

using BrowseState = SongBookWindowState;

std::function<void()>& ListingForm() {
    static std::function<void()> form = UpdateSongBookListing;
    return form;
}

void ShowList(BrowseState& s, SongBookBrowses& browses, SongBookListKind kind) {
    browses.RereadHighlighted();
    s.visibleList = kind;
    for (const SongBookListDecl* list : SongBookLists()) {
        const bool shown = list->kind == kind;
        for (std::string_view control : {list->listControl, list->changeButton, list->insertButton, list->deleteButton}) {
            if (shown) {
                fw::UNHIDE(control);
                fw::ENABLE(control);
            } else {
                fw::HIDE(control);
                fw::DISABLE(control);
            }
        }
    }
    s.searchText = "";
    s.searchScanCount = 0;
    fw::DISPLAY();
    fw::DISABLE("?SEARCHNEXTBUTTON");
    browses.Show(kind);
    fw::SELECT(SongBookList(kind).listControl);
}

// Search (from the first hit) or Next (the hit after the last one).
void SearchVisibleList(BrowseState& s, SongBookBrowses& browses, bool next) {
    if (!next) s.lastHit.clear();
    const SearchResult hit = browses.Search(s.searchText.Clip(), static_cast<SearchMode>(s.searchMode), s.lastHit);
    if (hit.found) {
        s.lastHit = hit.hit;
        s.searchScanCount = 1;
        return;
    }
    // Nothing (more) to find: Next stays off until the next hit.
    s.searchScanCount = 0;
    s.searchText = "";
    fw::DISPLAY();
    fw::DISABLE("?SEARCHNEXTBUTTON");
    fw::SELECT(SongBookList(s.visibleList).listControl);
    fw::MESSAGE(kSearchNotFound, "", fw::Icon::None, fw::Button::Ok);
}

// Scales the controls to the window's size as it was when it opened.
void Relayout(BrowseState& s) {
    shell::ResizeWindowControls(s.layout);
    shell::FrameResized = 0;
}

// Posted to the window when the book's check has ended.
constexpr int kBookCheckEnded = fw::Event::User + 0x10;

// The book's check has ended or must have: true when the book is sound (its
// count is kept now); false when it is damaged, with the damage in the state.
bool TakeCheck(BrowseState& s) {
    s.damage = s.check->Result();
    s.check.reset();
    return s.damage.empty();
}

// The check reads the whole book: it starts once the window has painted
// its first page, so that it does not compete with it (whatever waits for
// it before starts it). Also when no paint comes, a moment later.
class StartCheckAfterPaint : public QObject {
public:
    StartCheckAfterPaint(BrowseState& s, QWidget* root) : QObject(root), s_(s) {
        root->installEventFilter(this);
        QTimer::singleShot(kAtTheLatestMs, this, [this] { Start(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        // Posted now, taken once the whole window has painted.
        if (e->type() == QEvent::Paint) QMetaObject::invokeMethod(this, [this] { Start(); }, Qt::QueuedConnection);
        return false;
    }

private:
    static constexpr int kAtTheLatestMs = 250;
    void Start() {
        if (s_.check) s_.check->Start();
        deleteLater();
    }
    BrowseState& s_;
};

void StartCheckAfterFirstPage(BrowseState& s, fw::Window& window) {
    if (s.check && window.Root()) new StartCheckAfterPaint(s, window.Root());
}

// The window on the open book, from the set-up to the end of its event loop.
// A damaged book ends it at once (s.damage says why).
void RunBrowseWindow(BrowseState& s) {
    std::optional<shell::FileUse> genre, discs, book;
    genre.emplace(shell::GenreFile());
    discs.emplace(shell::SBDiscsFile());
    book.emplace(shell::SongBookFile());
    book_files::BindWindowFiles();

    fw::Window window("P1$BROWSEWINDOW");
    window.Use("?SEARCHSTRING", s.searchText);
    window.Use("?SEARCHMODE", s.searchMode);
    window.Open();
    shell::InitWindowResize(s.layout);
    fw::SetProp({}, fw::Prop::Text, std::string(shell::SongBookName.Clip()));
    SongBookBrowses browses(s.entryRequest == shell::action::Select, ListingForm());
    DisableMissingCommands();
    fw::DISPLAY();
    // Getting Started may write to the book: an empty book (quickly
    // checked) is taken from its check first.
    const bool empty = s.check ? book_files::BookIsEmpty() : book_files::ListingCount() == 0;
    const bool sound = !(empty && s.check) || TakeCheck(s);
    if (sound && empty && GettingStartedProc()) GettingStartedProc()();
    fw::SetSystemIcon("~songbook.ico");
    if (s.entryRequest != shell::action::Select) {
        for (const SongBookListDecl* list : SongBookLists()) {
            fw::HIDE(list->selectButton);
            fw::DISABLE(list->selectButton);
        }
    }
    fw::ALERT(fw::KeyCode::MouseRight);
    if (s.check) s.check->OnEnd([&window] { window.Post(kBookCheckEnded); });

    while (sound && fw::ACCEPT()) {
        const int event = fw::EVENT();
        // The check's end is taken when it is posted, or at once by anything
        // that may change the book (a command other than Close, a key the
        // lists act on).
        const bool mayChangeBook = (event == fw::Event::Accepted && !(fw::FIELD() == kCloseButton)) ||
                                   event == fw::Event::AlertKey;
        if (s.check && (s.check->Done() || mayChangeBook)) {
            if (!TakeCheck(s)) break;
            // The count shows now (these events refresh the window anyway).
            if (event != fw::Event::OpenWindow && event != fw::Event::GainFocus && event != fw::Event::Sized)
                RefreshSongBookWindow(s, browses);
        }
        if (event == kBookCheckEnded) continue;
        if (event == fw::Event::OpenWindow || event == fw::Event::GainFocus) {
            Relayout(s);
            browses.RequestResync();
            RefreshSongBookWindow(s, browses);
            if (!s.firstFocusDone) StartCheckAfterFirstPage(s, window);
            s.firstFocusDone = true;
            continue;
        }
        if (event == fw::Event::Sized) {
            Relayout(s);
            browses.RequestResync();
            RefreshSongBookWindow(s, browses);
            continue;
        }
        if (event == fw::Event::Rejected) {
            const fw::FieldId field = fw::FIELD();
            fw::BEEP();
            fw::DISPLAY(field.number);
            fw::SELECT(field.number);
            continue;
        }
        if (event == fw::Event::AlertKey && fw::KEYCODE() == fw::KeyCode::MouseRight) {
            if (book_files::ListingCount() > 0) {
                QuickClickMenu(s, browses);
                fw::CYCLE();
                continue;
            }
        }
        const bool listEvent = browses.TakeEvent(event, fw::FIELD(), fw::KEYCODE());
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?BUTTON28") SearchVisibleList(s, browses, false);
        if (accepted == "?SEARCHNEXTBUTTON") SearchVisibleList(s, browses, true);
        for (const SongBookListDecl* list : SongBookLists())
            if (accepted != 0 && accepted == list->switchButton) ShowList(s, browses, list->kind);
        if (!RunSongBookCommand(s, browses, accepted) && (listEvent || accepted != 0))
            RefreshSongBookWindow(s, browses);
        if (accepted == 0) continue;
        if (accepted == kCloseButton) {
            s.windowResponse = shell::outcome::Cancelled;
            fw::POST(fw::Event::CloseWindow);
        }
        for (const SongBookListDecl* list : SongBookLists()) {
            if (accepted == list->selectButton) {
                s.windowResponse = shell::outcome::Completed;
                fw::POST(fw::Event::CloseWindow);
            }
        }
    }
    s.check.reset();  // a check still running is stopped: the window has gone
    shell::EndWindowResize(s.layout);
    // The files close as the uses end here, Genre last.
    book.reset();
    discs.reset();
    genre.reset();
}

}  // namespace

void SetBookChooser(BookChooser chooser) { Chooser() = chooser ? std::move(chooser) : BookChooser(ChooseInExplorer); }
void SetListingForm(std::function<void()> form) {
    ListingForm() = form ? std::move(form) : std::function<void()>(UpdateSongBookListing);
}
void SetGettingStarted(std::function<void()> gettingStarted) {
    GettingStartedProc() = gettingStarted ? std::move(gettingStarted) : std::function<void()>(songbook::GettingStarted);
}
int SongBookWindowsOpen() { return Book().windows; }

BookNames MapBookNames(std::string_view chosen) {
    const std::string folder = FolderOf(chosen);
    const std::string base = BookNameOf(chosen);
    const bool hasFolder = FileNameOf(chosen).size() != chosen.size();
    auto named = [&](std::string_view ext) {
        const std::string name = base + std::string(ext);
        return hasFolder ? JoinPath(folder, name) : name;
    };
    BookNames names;
    names.listings = named(".2bk");
    names.discs = named(".2bd");
    names.olderListings = named(".sbk");
    names.olderDiscs = named(".sbd");
    names.olderFormat = ListingsFormat(chosen) == BookFormat::Older;
    return names;
}

std::string FatalText(int errorCode, std::string_view verb, std::string_view name) {
    return "Program Error #" + std::to_string(errorCode) + "|Unable to " + std::string(verb) + " " +
           std::string(name) + ", Program will be terminated";
}

std::string CannotOpenText(int errorCode, std::string_view name, std::string_view reason) {
    std::string text = "Error #" + std::to_string(errorCode) + "|Unable to open " + std::string(name) +
                       " as a SongBook.";
    if (!reason.empty()) text += "|" + std::string(reason);
    return text + "||Please select another SongBook.";
}

std::string DiscsMissingText(std::string_view discsName) {
    return "The SongBook's discs file " + std::string(discsName) + " is missing.||Please select another SongBook.";
}

void BrowseSongBook() {
    OpenBookState& open = Book();
    if (open.choosingThread != 0 && open.choosingThread != fw::THREAD()) {
        // Another window is choosing a book: bring it forward instead.
        if (fw::Window* w = fw::TopWindow(open.choosingThread)) {
            if (QWidget* root = w->Root()) {
                root->raise();
                root->activateWindow();
            }
        }
        shell::ActionOutcome() = shell::outcome::Cancelled;
        return;
    }

    book_files::PushBindScope();
    PostToFrame(frame_event::DisableAutoUpdate);
    PostToFrame(frame_event::DisableOpenAndUpdate);
    BrowseState s;
    bool declined = false;
    const bool alreadyOpen = shell::SongBookIsOpen != 0;
    const auto entryRequest = shell::RequestedAction();
    for (;;) {
        bool opened = alreadyOpen;
        if (!opened) {
            ChoosingGuard choosing;
            const Chosen result = ChooseAndOpenBook(s.check);
            opened = result == Chosen::Opened;
            declined = result == Chosen::Declined;
            if (!opened) {  // no book: no names of one left behind
                s.check.reset();
                book_files::CloseBookPair();
                shell::SongBookName = "";
                shell::SBDiscsName = "";
            }
        }
        if (opened) {
            book_files::BrandList brands;
            if (brands.NeedsUpdate()) {
                UpdateWindow shown;
                brands.Rewrite();
            }
            s.entryRequest = s.currentRequest = entryRequest;
            s.windowResponse = shell::outcome::Cancelled;
            shell::RequestedAction() = shell::action::None;
            shell::ActionOutcome() = shell::outcome::None;
            if (open.windows++ == 0) ++shell::SongBookOpenings;
            shell::SongBookIsOpen = 1;
            shell::FrameResized = 1;
            struct Leave {  // the open state is given back on every way out, a halt included
                OpenBookState& open;
                ~Leave() {
                    if (--open.windows == 0) {
                        shell::SongBookName = "";
                        shell::SongBookIsOpen = 0;
                        ++shell::SongBookOpenings;
                    }
                }
            } leave{open};
            RunBrowseWindow(s);
        }
        if (s.damage.empty()) break;
        // The check found the book damaged: its window has gone, the book is
        // closed, and the user is sent to a backup and may choose again.
        book_files::CloseBookPair();
        ShowDamage(s.damage);
        s = BrowseState{};
        shell::RequestedAction() = entryRequest;
    }
    PostToFrame(frame_event::EnableAutoUpdate);
    PostToFrame(frame_event::EnableOpenAndUpdate);
    book_files::CloseBookPair();
    if (!declined)  // a declined conversion leaves the caller's outcome alone
        shell::ActionOutcome() = s.windowResponse != 0 ? s.windowResponse : shell::outcome::Cancelled;
    book_files::PopBindScope();
}

}  // namespace songbook
