// A file open through the data layer is in use for every process, and an
// operation holding a file keeps every process from opening it.
#include "data_test_support.h"

#include "platform/data/file_use.h"

#include <gtest/gtest.h>

namespace {

using namespace datatest;

class FileUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = std::make_shared<Named>(Named{dir_ / "songs.db"});
        file_ = MakeSongFile(name_);
        fw::CREATE(*file_);
        ASSERT_EQ(fw::ERRORCODE(), 0);
    }
    TempDir dir_;
    std::shared_ptr<Named> name_;
    std::unique_ptr<fw::File> file_;
};

TEST_F(FileUseTest, AFileOpenInAnyProcessIsInUseUntilClosed) {
    EXPECT_FALSE(fw::data::IsFileInUse(name_->name));
    fw::OPEN(*file_, fw::ReadOnly | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_TRUE(fw::data::IsFileInUse(name_->name));
    fw::CLOSE(*file_);
    EXPECT_FALSE(fw::data::IsFileInUse(name_->name));

    Child child([&](Child& c) {
        fw::OPEN(*file_);
        c.Send(fw::ERRORCODE() == 0 ? 'o' : 'e');
        return 'x';
    });
    ASSERT_EQ(child.Receive(), 'o');
    EXPECT_TRUE(fw::data::IsFileInUse(name_->name));
    fw::data::FileUse hold;
    EXPECT_FALSE(hold.Take(name_->name, fw::data::FileUse::Exclusive));
    child.Kill();
    EXPECT_FALSE(fw::data::IsFileInUse(name_->name));
    EXPECT_TRUE(hold.Take(name_->name, fw::data::FileUse::Exclusive));
}

TEST_F(FileUseTest, WhileAnOperationHoldsTheFileNoProcessOpensIt) {
    fw::data::FileUse hold;
    ASSERT_TRUE(hold.Take(name_->name, fw::data::FileUse::Exclusive));
    Child child([&](Child&) {
        fw::SEND(*file_, "Recover=0");
        fw::OPEN(*file_);
        return fw::ERRORCODE() == 32 ? 'b' : 'e';
    });
    EXPECT_EQ(child.Receive(), 'b');
    child.Kill();  // the child shares the hold it was forked with
    hold.Release();
    fw::OPEN(*file_);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::CLOSE(*file_);
}

}  // namespace
