// The fiber scheduler on its own, without windows: threads are resumed by
// calling RunReady() the way the Qt loop does.
#include "platform/runtime/scheduler.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/runtime/error_state.h"
#include "platform/runtime/thread_context.h"

namespace {

using fw::runtime::RunReady;
using fw::runtime::Wait;
using fw::runtime::Wake;

void Drain() {
    while (fw::runtime::HasReady()) RunReady();
}

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { fw::runtime::SetHaltCapture(true); }
    void TearDown() override {
        fw::runtime::UnwindAll();
        fw::runtime::ClearHalt();
        fw::runtime::SetThreadEndHook({});
        fw::runtime::SetAllEndedHook({});
    }
};

TEST_F(SchedulerTest, ThreadsRunInWakeOrderWithTheirOwnContext) {
    struct Slot { int value; };
    std::vector<std::string> log;
    auto worker = [&log](const char* name) {
        return [&log, name] {
            fw::ThreadSlot<Slot>().value += 1;
            fw::SetError(fw::DupKeyErr);
            log.push_back(std::string(name) + std::to_string(fw::THREAD()));
            Wait();
            // Each thread sees only its own slot and error state.
            log.push_back(std::string(name) + std::to_string(fw::ThreadSlot<Slot>().value) +
                          std::to_string(fw::ERRORCODE()));
        };
    };
    int a = fw::START(worker("a"));
    int b = fw::START(worker("b"));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    Drain();
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "b2"}));
    EXPECT_EQ(fw::ERRORCODE(), 0);  // the main context was left alone
    Wake(b);
    Wake(a);
    Wake(b);  // a second wake before it ran changes nothing
    Drain();
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "b2", "b140", "a140"}));
    EXPECT_FALSE(fw::runtime::IsAlive(a));
    EXPECT_FALSE(fw::runtime::IsAlive(b));
}

TEST_F(SchedulerTest, AStartedThreadRunsOnlyAfterTheStartersPassEnds) {
    std::vector<std::string> log;
    fw::START([&] {
        int child = fw::START([&] { log.push_back("child"); });
        log.push_back("started " + std::to_string(child));
        Wake(child);  // even a wake does not run it early
        Wait();       // a wait inside the pass (a message box, say)
        log.push_back("pass ends");
        fw::runtime::EndOfPass();
        Wait();
        log.push_back("next pass");
    });
    Drain();
    EXPECT_EQ(log, (std::vector<std::string>{"started 2"}));
    Wake(1);
    Drain();
    EXPECT_EQ(log, (std::vector<std::string>{"started 2", "pass ends", "child"}));
    Wake(1);
    Drain();
    EXPECT_EQ(log.back(), "next pass");
}

TEST_F(SchedulerTest, AtMostSixtyFourThreadsNumberedFromOne) {
    std::vector<int> numbers;
    for (int i = 0; i < fw::kMaxThreads; ++i) numbers.push_back(fw::START([] { Wait(); }));
    Drain();
    for (int i = 0; i < fw::kMaxThreads; ++i) EXPECT_EQ(numbers[i], i + 1);
    EXPECT_EQ(fw::START([] {}), 0);  // a failed START does nothing
    EXPECT_EQ(fw::runtime::LiveThreads().size(), 64u);
    Wake(5);
    Drain();
    EXPECT_FALSE(fw::runtime::IsAlive(5));
    EXPECT_EQ(fw::START([] { Wait(); }), 5);  // the freed number is used again
}

TEST_F(SchedulerTest, EndHooksRunForEachThreadAndAtTheEnd) {
    std::vector<int> ended;
    int allEnded = 0;
    fw::runtime::SetThreadEndHook([&](int n) {
        EXPECT_EQ(fw::THREAD(), n);  // on the ending thread's own context
        ended.push_back(n);
    });
    fw::runtime::SetAllEndedHook([&] { ++allEnded; });
    fw::START([] { Wait(); });
    fw::START([] {});
    Drain();
    EXPECT_EQ(ended, std::vector<int>{2});
    EXPECT_EQ(allEnded, 0);
    Wake(1);
    Drain();
    EXPECT_EQ(ended, (std::vector<int>{2, 1}));
    EXPECT_EQ(allEnded, 1);
}

TEST_F(SchedulerTest, HaltUnwindsEveryThreadAndKeepsItsText) {
    int destroyed = 0;
    struct Guard {
        int& count;
        ~Guard() { ++count; }
    };
    bool after = false;
    fw::START([&] {
        Guard g{destroyed};
        Wait();
        after = true;
    });
    fw::START([&] {
        Guard g{destroyed};
        [&] {
            Guard inner{destroyed};
            fw::HALT("Program Error # 47");
        }();
        after = true;
    });
    Drain();
    EXPECT_TRUE(fw::runtime::Halted());
    EXPECT_EQ(fw::runtime::HaltText(), "Program Error # 47");
    EXPECT_EQ(destroyed, 3);
    EXPECT_FALSE(after);
    EXPECT_TRUE(fw::runtime::LiveThreads().empty());
}

TEST_F(SchedulerTest, WaitAndHaltOutsideAThread) {
    EXPECT_THROW(Wait(), std::logic_error);
    try {
        fw::HALT("stop");
        FAIL();
    } catch (const fw::HaltException& e) {
        EXPECT_EQ(e.text, "stop");
    }
    EXPECT_EQ(fw::THREAD(), 1);
}

TEST_F(SchedulerTest, AnEscapingExceptionHaltsWithItsText) {
    fw::START([] { throw std::runtime_error("disk on fire"); });
    Drain();
    EXPECT_TRUE(fw::runtime::Halted());
    EXPECT_EQ(fw::runtime::HaltText(), "Unhandled error: disk on fire");
}

}  // namespace
