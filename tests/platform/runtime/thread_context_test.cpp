#include "platform/runtime/error_state.h"
#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>

namespace {

struct Counter { int value; };

TEST(ThreadContext, SlotsAndErrorStateArePerThread) {
    fw::ThreadContext other(2);
    fw::ThreadSlot<Counter>().value = 7;
    fw::SetError(fw::NoFileErr);

    fw::SetCurrentContext(&other);
    EXPECT_EQ(fw::CurrentContext().Number(), 2);
    EXPECT_EQ(fw::ThreadSlot<Counter>().value, 0);  // fresh, zeroed copy
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::SetError(fw::DupKeyErr);
    EXPECT_EQ(fw::ERROR(), "Creates Duplicate Key");

    fw::SetCurrentContext(nullptr);
    EXPECT_EQ(fw::CurrentContext().Number(), 1);
    EXPECT_EQ(fw::ThreadSlot<Counter>().value, 7);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoFileErr);
    EXPECT_EQ(fw::ERROR(), "File Not Found");
    fw::ClearError();
}

}  // namespace
