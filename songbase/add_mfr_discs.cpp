#include "songbase/add_mfr_discs.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/runtime/scheduler.h"
#include "platform/text/picture.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_codes.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/program_procedures.h"
#include "shell/tag_scheme.h"
#include "shell/window_resize.h"
#include "shell/window_runtime.h"
#include "songbase/add_disc_tracks_process.h"
#include "songbase/custom_disc_id.h"
#include "songbase/custom_disc_ids.h"
#include "songbase/mfr_disc_tagging.h"
#include "songbase/multi_tag_options.h"

#include <algorithm>
#include <optional>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kBrandList = "?LIST";
constexpr const char* kDiscList = "?LIST:2";
constexpr const char* kTrackList = "?LIST:3";
constexpr const char* kTagList = "?LIST:4";
constexpr const char* kEditButton = "?CHANGE";
constexpr const char* kFastFindButton = "?BUTTON14";
constexpr const char* kAddButton = "?BUTTON1";
constexpr const char* kRemoveButton = "?BUTTON16";
constexpr const char* kDoneButton = "?BUTTON2";
constexpr const char* kHelpButton = "?BUTTON2:2";

// A list whose order key begins with the field its filter fixes (the
// brand of the disc list, the disc of the track list): a typed letter
// would match every row or none, so it locates nothing.
class ListWithoutLocator : public shell::WindowBrowseList {
public:
    using WindowBrowseList::WindowBrowseList;
    void AlertTypedKeys() override {}
};

AddDiscsSession*& OpenSession() {
    static AddDiscsSession* session = nullptr;
    return session;
}

// The linked lists' reset fields, bound before the browses parse the
// filters that name them and unbound after the browses have gone.
struct ResetFields {
    ResetFields() {
        fw::PUSHBIND();
        fw::BIND("BRW2::Sort1:Reset:BRA:MakeID", resetMakeId);
        fw::BIND("BRW3::Reset:DIS:UnqDiskID", resetUnq);
    }
    ~ResetFields() { fw::POPBIND(); }
    ResetFields(const ResetFields&) = delete;
    ResetFields& operator=(const ResetFields&) = delete;
    std::int32_t resetMakeId = 0;  // the brand whose discs are shown
    fw::FString<15> resetUnq;      // the disc whose tracks are shown
};

// The window's state: the three browses, the tag list and its scheme.
struct AddDiscsWindow : ResetFields {
    explicit AddDiscsWindow(BookFiles book)
        : session{std::make_shared<shell::TagList>(), std::move(book), {}},
          brandList(kBrandList, {}),
          discList(kDiscList, {}),
          trackList(kTrackList, TrackButtons()),
          tagging(*session.tags, CustomDiscId, MultiTagOptions),
          scheme(kDiscList, {}, Semantics()),
          brands(BrandSpec(), brandList),
          discs(DiscPlan(), discList),
          tracks(TrackPlan(), trackList) {
        scheme.Attach(discs);
    }

    static bool HasTrackForm() { return shell::HasProgramProcedure(kTrackFormProcedure); }
    static shell::BrowseButtons TrackButtons() {
        if (!HasTrackForm()) return {};
        return {"?INSERT", kEditButton, "?DELETE", ""};
    }

    shell::BrowsePlan BrandSpec() {
        shell::BrowsePlan desc;
        desc.primary = &shell::DMake();
        desc.orders = {{shell::DMake().FindKey("BRA:KMAKE")}};
        desc.columns = [] { return fw::ui::ListRow{BRA.MAKE.Str()}; };
        return desc;
    }
    shell::BrowsePlan DiscPlan() {
        shell::BrowsePlan desc;
        desc.primary = &shell::Discs();
        desc.orders = {{shell::Discs().FindKey("DIS:KMAKEID")}};
        desc.filter = "DIS:MakeID = BRW2::Sort1:Reset:BRA:MakeID";
        desc.columns = [this] { return fw::ui::ListRow{scheme.Mark(), DIS.UnqDiskID.Str(), DIS.DISKID.Str()}; };
        desc.check = [this] { return scheme.Shows(); };
        return desc;
    }
    shell::BrowsePlan TrackPlan() {
        shell::BrowsePlan desc;
        desc.primary = &shell::KARAOKE();
        desc.orders = {{shell::KARAOKE().FindKey("KAR:KDISK")}};
        desc.filter = "UPPER(KAR:UnqDiskID) = UPPER(BRW3::Reset:DIS:UnqDiskID)";
        desc.columns = [] {
            return fw::ui::ListRow{std::to_string(KAR.DiskTrackNo), KAR.Title.Str(), KAR.Artist.Str()};
        };
        if (HasTrackForm()) desc.form = [] { shell::RunProgramProcedure(kTrackFormProcedure); };
        return desc;
    }
    shell::TagSemantics Semantics() {
        shell::TagSemantics t;
        t.isTagged = [this] { return tagging.IsTagged(DIS.UnqDiskID.Clip()); };
        t.toggle = [this] { tagging.Toggle({DIS.UnqDiskID.Str(), DIS.DISKID.Str()}); };
        t.tagAll = [this] { tagging.TagAll(DiscsOfBrand(resetMakeId)); };
        t.untagAll = [this] { tagging.UntagAll(DiscsOfBrand(resetMakeId)); };
        t.reverse = [this] { tagging.Reverse(DiscsOfBrand(resetMakeId)); };
        t.tagAllWaits = false;
        return t;
    }

    // The brand's discs follow the highlighted brand, the tracks the
    // highlighted disc; then the tagged list is shown again when it changed.
    void Sync() {
        brands.SyncBrowse();
        const std::int32_t brand = brands.RowsLoaded() > 0 ? BRA.MakeID : 0;
        if (!brandShown || brand != resetMakeId) {
            brandShown = true;
            resetMakeId = brand;
            discs.Restart();
        }
        discs.SyncBrowse();
        const std::string disc = discs.RowsLoaded() > 0 ? DIS.UnqDiskID.Str() : std::string();
        if (!discShown || disc != resetUnq.Str()) {
            discShown = true;
            resetUnq = disc;
            tracks.Restart();
        }
        tracks.SyncBrowse();
        ShowTags();
    }

    void RequestResync() {
        brands.RequestResync();
        discs.RequestResync();
        tracks.RequestResync();
    }
    void RereadHighlighted() {
        brands.RereadHighlighted();
        discs.RereadHighlighted();
        tracks.RereadHighlighted();
    }

    void ShowTags() {
        if (tagsShown && shownChanges == session.tags->Changes()) return;
        tagsShown = true;
        shownChanges = session.tags->Changes();
        std::vector<fw::ui::ListRow> rows;
        for (const shell::TagEntry& e : session.tags->Entries()) rows.push_back({e.unq, e.alt});
        const int kept = fw::CHOICE(kTagList);
        static_cast<fw::ListControl&>(fw::ControlOf(kTagList)).SetRows(std::move(rows));
        const int count = session.tags->Count();
        if (count > 0) fw::SetProp(kTagList, fw::Prop::Selected, std::clamp(kept, 1, count));
    }

    AddDiscsSession session;
    bool brandShown = false;
    bool discShown = false;
    bool tagsShown = false;
    std::uint64_t shownChanges = 0;

    shell::WindowBrowseList brandList;
    ListWithoutLocator discList, trackList;
    MfrDiscTagging tagging;
    shell::TagScheme scheme;
    shell::PagedBrowse brands, discs, tracks;
};

void StartWorker(AddDiscsWindow& w) {
    shell::TagList& tags = *w.session.tags;
    if (tags.Empty()) {
        fw::MESSAGE(kNoTagsText, kNoTagsCaption, fw::Icon::Exclamation, fw::Button::Ok);
        return;
    }
    w.RereadHighlighted();
    std::vector<shell::TagEntry> work = tags.Entries();
    std::weak_ptr<shell::TagList> owner = w.session.tags;
    const BookFiles book = w.session.book;
    const int thread = fw::START([book, work = std::move(work), owner]() mutable {
        AddDiscTracksProcess(book, std::move(work), owner);
    });
    if (thread != 0) tags.Clear();  // the worker has them now
    w.RequestResync();
}

void StartFastFind(AddDiscsWindow& w) {
    w.RereadHighlighted();
    const shell::ProgramProcedure& find = shell::ProgramProcedureNamed(kFastFindProcedure);
    if (!find) return;
    if (const int thread = fw::START(find)) w.session.startedWindows.push_back(thread);
    w.RequestResync();
}

void TrackListMenu(AddDiscsWindow& w) {
    const int row = fw::GetProp(kTrackList, fw::Prop::MouseDownRow).Int();
    if (row >= 1) fw::SetProp(kTrackList, fw::Prop::Selected, row);
    const bool rows = w.tracks.RowsLoaded() > 0;
    const bool form = AddDiscsWindow::HasTrackForm();
    const std::string grey = rows && form ? "" : "~";
    const int choice = fw::POPUP(std::string(form ? "" : "~") + "&Insert|" + grey + "&Edit Song Track|" + grey + "&Delete");
    if (choice == 1) fw::POST(fw::Event::Accepted, "?INSERT");
    if (choice == 2) fw::POST(fw::Event::Accepted, kEditButton);
    if (choice == 3) fw::POST(fw::Event::Accepted, "?DELETE");
}

bool ConfirmDone(const shell::TagList& tags) {
    if (tags.Empty()) return true;
    return fw::MESSAGE(kTagsLeftText, {}, fw::Icon::Question, fw::Button::Yes | fw::Button::No, fw::Button::No,
                       fw::MessageStyle::SystemModal) == fw::Button::Yes;
}

}  // namespace

AddDiscsSession* AddDiscsSessionOpen() { return OpenSession(); }

void AddMfrDiscs() {
    shell::RequestedAction() = shell::action::None;
    shell::ActionOutcome() = shell::outcome::None;
    struct Outcome {
        ~Outcome() { shell::ActionOutcome() = shell::outcome::Cancelled; }
    } outcome;
    if (shell::SongBookName.Blank() || shell::SBDiscsName.Blank()) {
        fw::MESSAGE(kNoBookText, kNoBookCaption, fw::Icon::Exclamation, fw::Button::Ok);
        return;
    }
    shell::FileUse brandFile(shell::DMakeFile());
    shell::FileUse discFile(shell::DiscsFile());
    shell::FileUse trackFile(shell::KaraokeFile());
    shell::FileUse bookDiscFile(shell::SBDiscsFile());

    fw::Window window{std::string(kAddMfrDiscsWindow)};
    window.Use("?SKIPALTDISKID", SKIPALTDISKID);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    shell::WindowResizeState layout;
    shell::InitWindowResize(layout);

    AddDiscsWindow w(BookFiles{shell::SongBookName.Str(), shell::SBDiscsName.Str()});
    struct Session {  // the windows it starts find it while it is open
        explicit Session(AddDiscsSession* s) : kept(OpenSession()) { OpenSession() = s; }
        ~Session() { OpenSession() = kept; }
        AddDiscsSession* kept;
    } open(&w.session);
    w.scheme.Opened();
    if (!shell::HasProgramProcedure(kFastFindProcedure)) fw::DISABLE(kFastFindButton);
    if (!AddDiscsWindow::HasTrackForm()) fw::DISABLE(kEditButton);

    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        const fw::FieldId field = fw::FIELD();
        const int key = fw::KEYCODE();
        if (event == fw::Event::OpenWindow || event == fw::Event::GainFocus) {
            w.RequestResync();
            w.Sync();
            fw::DISPLAY();
            continue;
        }
        if (event == fw::Event::Sized) {
            shell::ResizeWindowControls(layout);
            w.RequestResync();
            w.Sync();
            fw::DISPLAY();
            continue;
        }
        if (event == fw::Event::AlertKey && field == kTrackList && key == fw::KeyCode::MouseRight) {
            TrackListMenu(w);
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted != 0 && accepted != kTagList) w.RereadHighlighted();
        bool taken = w.brands.TakeEvent(event, field, key) || w.discs.TakeEvent(event, field, key) ||
                     w.tracks.TakeEvent(event, field, key);
        if (w.scheme.TakeEvent(event, field, key)) taken = true;
        if (accepted == kAddButton) StartWorker(w);
        if (accepted == kFastFindButton) StartFastFind(w);
        if (accepted == kRemoveButton) {
            const int n = fw::CHOICE(kTagList);
            if (n >= 1 && n <= w.session.tags->Count()) {
                w.session.tags->RemoveAt(n);
                w.discs.ReloadPage(shell::ReloadKind::Keep);
            }
        }
        if (accepted == kHelpButton) shell::ShowProgramHelp(kAddDiscsHelpTopic);
        if (accepted == kDoneButton && ConfirmDone(*w.session.tags)) fw::POST(fw::Event::CloseWindow);
        if (taken || accepted != 0) {
            w.Sync();
            fw::DISPLAY();
        }
    }
    // The tags go with the window; the FastFind windows it started close too.
    w.session.tags->Clear();
    for (int thread : w.session.startedWindows) fw::POST(fw::Event::CloseWindow, {}, thread);
    shell::EndWindowResize(layout);
}

}  // namespace songbase
