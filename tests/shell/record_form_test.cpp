// The record form protocol on a small listing form of the tests' own,
// driven as a user would: the close question, the ditto key, inserts with
// and without a duplicate key, a change, a change another station made
// first, and deletes.
#include "integrity_test_support.h"

#include "shell/integrity_deletes.h"
#include "shell/integrity_results.h"
#include "shell/integrity_updates.h"
#include "shell/record_form.h"

#include "platform/text/clock.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"

namespace {

using fw::testing::Driver;
using fw::testing::GTestFailures;
using Strings = std::vector<std::string>;

constexpr int kDittoKey = 0x2DE;  // Ctrl+'
constexpr const char* kQuestion = "Do you want to save the changes to this record?";

const char* IconOf(shell::MessageIcon icon) {
    switch (icon) {
    case shell::MessageIcon::Exclamation: return fw::Icon::Exclamation;
    case shell::MessageIcon::Question: return fw::Icon::Question;
    case shell::MessageIcon::Stop: return fw::Icon::Hand;
    case shell::MessageIcon::Information: return fw::Icon::Asterisk;
    case shell::MessageIcon::None: break;
    }
    return fw::Icon::None;
}

class RecordForm : public integritytest::SongBookFixture {
protected:
    void SetUp() override {
        SongBookFixture::SetUp();
        fw::SetLayoutFolder(CV_TEST_DIR "/layouts");
        // The warnings are the window layer's message boxes, answered by the driver's script.
        shell::SetMessageBoxHandler([](std::string_view text, std::string_view caption, shell::MessageIcon icon,
                                       int buttons, int defaultButton) {
            return fw::MESSAGE(text, caption, IconOf(icon), buttons, defaultButton);
        });
        desc.window = "FORMTEST";
        desc.record = shell::SongBookFile().record;
        desc.buffer = [] { return static_cast<void*>(&shell::SongBookBuffer()); };
        desc.memory = &memory;
        desc.files = {&shell::SBDiscsFile(), &shell::SongBookFile()};
        desc.use = [](fw::Window& w) {
            w.Use("?TITLE", SBK.Title);
            w.Use("?ARTIST", SBK.Artist);
            w.Use("?DISC", SBK.UnqDiskID);
            w.Use("?TRACK", SBK.DISKTRACKNO);
        };
        desc.firstField = "?TITLE";
        desc.okButton = "?OK";
        desc.cancelButton = "?CANCEL";
        desc.messageControl = "?MESSAGE";
        desc.insertOnly = {"?DISC"};
        desc.ditto = {{"?TITLE", "SBK:Title"}, {"?ARTIST", "Artist"}};
        desc.insertMessage = "SongBook Listing will be Added";
        desc.changeMessage = "SongBook Listing will be Changed";
        desc.openHook = shell::SongBookFormOpenHook;
        desc.prime = [] { SBK.DateAdded = static_cast<std::int32_t>(fw::TODAY()); };
        desc.insert = [] { fw::ADD(shell::SongBook()); };
        desc.file = &shell::SongBook();
        desc.uniqueKey = "SBK:KUnqDiskID";
        desc.update = [] { return shell::UpdateSongBookRecord(1); };
        desc.remove = [] { return shell::DeleteSongBookListing(); };
    }
    void TearDown() override {
        shell::SetMessageBoxHandler(nullptr);
        fw::SetLayoutFolder({});
        SongBookFixture::TearDown();
    }

    // Calls the form on a program thread as a list does: the record in the
    // buffer (read with WATCH for a change or delete), then the request.
    void Call(std::int32_t request, const std::string& disc = "", unsigned track = 0) {
        d.Start([this, request, disc, track] {
            shell::FileUse use(shell::SongBookFile());
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            if (request != shell::action::Insert) ReadListing(disc, track);
            shell::RequestedAction() = request;
            shell::FormNavigationRequest() = 0;
            shell::RunRecordForm(desc);
            outcome = shell::ActionOutcome();
            left = SBK.Title.Str();
            returned = true;
        });
    }
    std::string TitleOf(const std::string& disc, unsigned track) {
        ReadListing(disc, track);
        return SBK.Title.Str();
    }

    Driver d{GTestFailures()};
    shell::FormMemory memory;
    shell::RecordFormPlan desc;
    std::int32_t outcome = -1;
    std::string left;
    bool returned = false;
};

TEST_F(RecordForm, AnUntouchedInsertClosesWithoutAQuestion) {
    d.FixClock(80000, 0);
    Call(shell::action::Insert);
    ASSERT_TRUE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(d.Text("?MESSAGE"), "SongBook Listing will be Added");
    EXPECT_TRUE(d.Enabled("?DISC"));
    d.CloseWindow("FORMTEST");
    EXPECT_TRUE(returned);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_TRUE(d.Messages().empty());
    EXPECT_TRUE(Listings().empty());
}

TEST_F(RecordForm, TheCloseQuestionSavesStaysOrLeavesTheRecordAsAnswered) {
    // Cancel stays, then Yes saves through OK.
    Call(shell::action::Insert);
    d.Type("?TITLE", "Danny Boy");
    d.Type("?DISC", "AB1");
    d.Type("?TRACK", "1");
    d.AnswerMessage(kQuestion, fw::Button::Cancel);
    d.CloseWindow("FORMTEST");
    EXPECT_TRUE(d.IsOpen("FORMTEST"));
    EXPECT_TRUE(Listings().empty());
    d.AnswerMessage(kQuestion, fw::Button::Yes);
    d.CloseWindow("FORMTEST");
    EXPECT_FALSE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(Listings(), (Strings{"AB1/1"}));

    // No leaves the stored record as it was.
    returned = false;
    Call(shell::action::Change, "AB1", 1);
    EXPECT_EQ(d.Text("?MESSAGE"), "SongBook Listing will be Changed");
    EXPECT_FALSE(d.Enabled("?DISC"));
    d.Type("?TITLE", "Changed");
    d.AnswerMessage(kQuestion, fw::Button::No);
    d.CloseWindow("FORMTEST");
    EXPECT_TRUE(returned);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(TitleOf("AB1", 1), "Danny Boy");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(RecordForm, TheDittoKeyCopiesTheFieldOfTheLastSavedRecord) {
    // Before any save this run it gives a blank field.
    Call(shell::action::Insert);
    d.Type("?TITLE", "Typed");
    d.Key("?TITLE", kDittoKey);
    EXPECT_EQ(d.Text("?TITLE"), "");
    d.Type("?TITLE", "Danny Boy");
    d.Type("?ARTIST", "Trad.");
    d.Type("?DISC", "AB1");
    d.Type("?TRACK", "1");
    d.Press("?OK");
    ASSERT_EQ(outcome, shell::outcome::Completed);

    Call(shell::action::Insert);
    d.Key("?TITLE", kDittoKey);
    EXPECT_EQ(d.Text("?TITLE"), "Danny Boy");
    EXPECT_EQ(d.Text("?ARTIST"), "");  // only the focused field
    d.Key("?ARTIST", kDittoKey);
    EXPECT_EQ(d.Text("?ARTIST"), "Trad.");
    d.AnswerMessage(kQuestion, fw::Button::No);
    d.Press("?CANCEL");  // asks too, the record having changed
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(RecordForm, AnInsertThatDuplicatesTheDiscAndTrackStaysOpenUntilCorrected) {
    AddListing("AB1", 1, "First");
    Call(shell::action::Insert);
    d.Type("?TITLE", "Second");
    d.Type("?DISC", "ab1");
    d.Type("?TRACK", "1");
    d.AnswerMessage("Adding this record creates a duplicate entry for the key:SBK:KUnqDiskID", fw::Button::Ok);
    d.Press("?OK");
    EXPECT_TRUE(d.IsOpen("FORMTEST"));
    EXPECT_FALSE(returned);
    d.Type("?TRACK", "2");
    d.Press("?OK");
    EXPECT_FALSE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(left, "Second");  // the written record stays in the buffer for the list
    EXPECT_EQ(Listings(), (Strings{"AB1/1", "ab1/2"}));
}

TEST_F(RecordForm, AChangeAfterAnotherStationsChangeShowsTheirsAndDittoRecallsMine) {
    AddListing("AB1", 1, "Original");
    Call(shell::action::Change, "AB1", 1);
    ReadListing("AB1", 1);  // another station changes the listing meanwhile
    SBK.Title = "Theirs";
    fw::PUT(shell::SongBook());
    ASSERT_EQ(fw::ERRORCODE(), 0);

    d.Type("?TITLE", "Mine");
    d.AnswerMessage("This record was changed by another station.", fw::Button::Ok);
    d.Press("?OK");
    EXPECT_TRUE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(d.Text("?TITLE"), "Theirs");
    EXPECT_EQ(TitleOf("AB1", 1), "Theirs");
    d.Key("?TITLE", kDittoKey);
    EXPECT_EQ(d.Text("?TITLE"), "Mine");
    d.Press("?OK");
    EXPECT_FALSE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(TitleOf("AB1", 1), "Mine");
}

TEST_F(RecordForm, AnUnalteredChangeCompletesWithoutWriting) {
    AddListing("AB1", 1, "Original");
    Call(shell::action::Change, "AB1", 1);
    ReadListing("AB1", 1);
    SBK.Title = "Theirs";
    fw::PUT(shell::SongBook());
    d.Press("?OK");  // a write would meet the other change and say so
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_TRUE(d.Messages().empty());
    EXPECT_EQ(TitleOf("AB1", 1), "Theirs");
}

TEST_F(RecordForm, ADeleteAsksFirstAndOpensNoWindow) {
    AddListing("AB1", 1, "Gone");
    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Cancel);
    Call(shell::action::Delete, "AB1", 1);
    EXPECT_TRUE(returned);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(Listings(), (Strings{"AB1/1"}));

    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Ok);
    Call(shell::action::Delete, "AB1", 1);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_TRUE(Listings().empty());
    EXPECT_FALSE(d.IsOpen("FORMTEST"));
}

TEST_F(RecordForm, AFailedDeleteOffersToTryAgain) {
    AddListing("AB1", 1, "Kept");
    int attempts = 0;
    desc.remove = [&] { return ++attempts < 3 ? shell::integrity::Failed : shell::integrity::Done; };
    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Ok);
    d.AnswerMessage("deleting this record", fw::Button::Yes);
    d.AnswerMessage("deleting this record", fw::Button::Yes);
    Call(shell::action::Delete, "AB1", 1);
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(outcome, shell::outcome::Completed);

    attempts = -10;
    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Ok);
    d.AnswerMessage("deleting this record", fw::Button::No);
    Call(shell::action::Delete, "AB1", 1);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
}

TEST_F(RecordForm, AFailedChangeAsksWarning16ToTryAgainCloseOrStay) {
    AddListing("AB1", 1, "Original");
    int attempts = 0;
    desc.update = [&] { return ++attempts < 3 ? shell::integrity::Failed : shell::UpdateSongBookRecord(1); };
    Call(shell::action::Change, "AB1", 1);
    d.Type("?TITLE", "Mine");
    d.AnswerMessage("changing this record", fw::Button::Cancel);
    d.Press("?OK");
    EXPECT_TRUE(d.IsOpen("FORMTEST"));  // Cancel stays
    d.AnswerMessage("changing this record", fw::Button::Yes);
    d.Press("?OK");  // fails once more, then Yes writes
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(TitleOf("AB1", 1), "Mine");

    // No closes without saving and without the close question.
    desc.update = [] { return shell::integrity::Failed; };
    Call(shell::action::Change, "AB1", 1);
    d.Type("?TITLE", "Lost");
    d.AnswerMessage("changing this record", fw::Button::No);
    d.Press("?OK");
    EXPECT_FALSE(d.IsOpen("FORMTEST"));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(TitleOf("AB1", 1), "Mine");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(RecordForm, ARequestTheFormDoesNotTakeIsRefusedAndCancelled) {
    AddListing("AB1", 1, "Kept");
    desc.allowInsert = false;
    desc.allowDelete = false;
    const struct {
        std::int32_t request;
        const char* warning;
    } cases[] = {{shell::action::Insert, "inserts are not allowed"}, {shell::action::Delete, "deletions are not allowed"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.warning);
        d.AnswerMessage(c.warning, fw::Button::Ok);
        outcome = -1;
        Call(c.request, "AB1", 1);
        EXPECT_EQ(outcome, shell::outcome::Cancelled);
        EXPECT_FALSE(d.IsOpen("FORMTEST"));
    }
    EXPECT_EQ(Listings(), (Strings{"AB1/1"}));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(RecordForm, TheFormOpensWhereItFirstOpenedForTheRun) {
    Call(shell::action::Insert);
    ASSERT_TRUE(memory.positionKnown);
    fw::Window* w = d.FindWindow("FORMTEST");
    ASSERT_NE(w, nullptr);
    const long x = w->Get(fw::Prop::Xpos).Int();
    EXPECT_EQ(memory.x, x);
    d.Press("?CANCEL");
    memory.x = x + 40;  // as if it had first opened there
    Call(shell::action::Insert);
    EXPECT_EQ(d.FindWindow("FORMTEST")->Get(fw::Prop::Xpos).Int(), x + 40);
    d.Press("?CANCEL");
}

}  // namespace
