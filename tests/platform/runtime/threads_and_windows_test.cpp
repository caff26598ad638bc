// Program threads with real windows, through the test driver: posting
// between threads, calls nested on one thread beside a working thread,
// timers, HALT inside a call and the program's close.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/scheduler.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using fw::Event::Accepted;
using fw::testing::Driver;
using fw::testing::GTestFailures;

// A small window with two buttons and a string.
fw::WindowLayout SmallWindow(const std::string& label, const std::string& kind = "plain", int timer = 0) {
    std::string text = "window " + label + "\ncaption \"" + label + "\"\nkind " + kind + "\nat 0 0 120 40\n";
    if (timer) text += "timer " + std::to_string(timer) + "\n";
    text += "control ?GO button\n text \"&Go\"\n at 4 4 40 14\n"
            "control ?CLOSE button\n text \"Close\"\n at 48 4 40 14\n"
            "control ?SHOW string\n at 4 22 100 10\n";
    return fw::ParseLayout(text, label);
}

std::string EventName(int e) {
    switch (e) {
    case fw::Event::OpenWindow: return "OpenWindow";
    case fw::Event::GainFocus: return "GainFocus";
    case fw::Event::CloseWindow: return "CloseWindow";
    case fw::Event::CloseDown: return "CloseDown";
    case fw::Event::Timer: return "Timer";
    case fw::Event::Accepted: return "Accepted";
    default: return e >= fw::Event::User ? "User" + std::to_string(e - fw::Event::User) : std::to_string(e);
    }
}

TEST(ThreadsAndWindows, TwoStartedWindowsPostToEachOther) {
    Driver d(GTestFailures());
    int threadA = 0, threadB = 0;
    std::vector<std::string> log;
    auto peer = [&](const std::string& label, int& self, int& other) {
        return [&, label] {
            self = fw::THREAD();
            fw::Window w(SmallWindow(label));
            w.Open();
            int received = 0;
            while (fw::ACCEPT()) {
                int e = fw::EVENT();
                if (e == fw::Event::User + 1) {  // a ping: count it and answer
                    fw::SetProp("?SHOW", fw::Prop::Text, "pings " + std::to_string(++received));
                    fw::POST(fw::Event::User + 2, {}, other);
                }
                if (e == fw::Event::User + 2) log.push_back(label + " got the answer");
                if (fw::ACCEPTED() == "?GO") fw::POST(fw::Event::User + 1, {}, other);
                if (fw::ACCEPTED() == "?CLOSE") fw::POST(fw::Event::CloseWindow);
            }
        };
    };
    d.Start(peer("A", threadA, threadB));
    d.Start(peer("B", threadB, threadA));
    EXPECT_EQ(threadA, 1);
    EXPECT_EQ(threadB, 2);
    d.Press("?GO", "A");
    EXPECT_EQ(d.Text("?SHOW", "B"), "pings 1");
    EXPECT_EQ(log, std::vector<std::string>{"A got the answer"});
    d.Press("?GO", "B");
    d.Press("?GO", "B");
    EXPECT_EQ(d.Text("?SHOW", "A"), "pings 2");
    EXPECT_EQ(log.size(), 3u);
    d.Press("?CLOSE", "A");
    EXPECT_FALSE(d.IsOpen("A"));
    EXPECT_FALSE(fw::runtime::IsAlive(threadA));
    d.Press("?GO", "B");  // to a thread that has ended: nothing happens
    EXPECT_EQ(log.size(), 3u);
    d.CloseWindow("B");
    EXPECT_TRUE(fw::runtime::LiveThreads().empty());
}

// Opens LEVELn; ?GO calls the next level on the same thread.
void Level(int n, std::vector<std::string>& log) {
    fw::Window w(SmallWindow("LEVEL" + std::to_string(n)));
    w.Open();
    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::GainFocus || fw::EVENT() == fw::Event::OpenWindow)
            log.push_back("L" + std::to_string(n) + " " + EventName(fw::EVENT()));
        if (fw::ACCEPTED() == "?GO" && n < 3) Level(n + 1, log);
        if (fw::ACCEPTED() == "?CLOSE") fw::POST(fw::Event::CloseWindow);
    }
}

TEST(ThreadsAndWindows, CallsNestThreeDeepWhileAnotherThreadWorks) {
    Driver d(GTestFailures());
    std::vector<std::string> log;
    int counted = 0;
    d.Start([&] { Level(1, log); });
    d.Start([&] {
        fw::Window w(SmallWindow("COUNTER"));
        w.Open();
        while (fw::ACCEPT())
            if (fw::ACCEPTED() == "?GO") fw::SetProp("?SHOW", fw::Prop::Text, std::to_string(++counted));
    });
    d.Press("?GO", "LEVEL1");
    d.Press("?GO", "LEVEL2");
    ASSERT_TRUE(d.IsOpen("LEVEL3"));
    // The callers are inside the call; the other thread's window is not.
    EXPECT_FALSE(d.Enabled("?GO", "LEVEL1"));
    EXPECT_FALSE(d.Enabled("?GO", "LEVEL2"));
    EXPECT_TRUE(d.Enabled("?GO", "LEVEL3"));
    d.Press("?GO", "COUNTER");
    d.Press("?GO", "COUNTER");
    EXPECT_EQ(d.Text("?SHOW", "COUNTER"), "2");
    log.clear();
    d.Press("?CLOSE", "LEVEL3");
    EXPECT_FALSE(d.IsOpen("LEVEL3"));
    EXPECT_TRUE(d.Enabled("?GO", "LEVEL2"));
    EXPECT_FALSE(d.Enabled("?GO", "LEVEL1"));
    EXPECT_EQ(log, std::vector<std::string>{"L2 GainFocus"});  // focus comes back to the caller
    d.Press("?CLOSE", "LEVEL2");
    d.Press("?GO", "LEVEL1");  // a call again after returning
    EXPECT_TRUE(d.IsOpen("LEVEL2"));
    d.Press("?GO", "COUNTER");
    EXPECT_EQ(counted, 3);
}

TEST(ThreadsAndWindows, ATimerDrivenLoopRunsInSlicesAndIsCancelled) {
    Driver d(GTestFailures());
    int processed = 0, outcome = 0, timers = 0;
    d.Start([&] {
        fw::Window w(SmallWindow("PROGRESS", "plain", 1));
        w.Open();
        outcome = 2;
        while (fw::ACCEPT()) {
            if (fw::EVENT() == fw::Event::Timer) {
                ++timers;
                processed += 25;
                fw::SetProp("?SHOW", fw::Prop::Text, std::to_string(processed));
                fw::DISPLAY();
            }
            if (fw::ACCEPTED() == "?CLOSE") {
                outcome = 3;
                fw::POST(fw::Event::CloseWindow);
            }
        }
    });
    EXPECT_EQ(processed, 0) << "no timer runs by itself under the driver";
    d.Tick(3);
    EXPECT_EQ(processed, 75);
    EXPECT_EQ(d.Text("?SHOW", "PROGRESS"), "75");
    // Timer events coalesce: two ticks before the loop looks give one event.
    fw::Window* w = d.FindWindow("PROGRESS");
    w->FireTimer();
    w->FireTimer();
    d.Settle();
    EXPECT_EQ(timers, 4);
    d.Press("?CLOSE");
    EXPECT_EQ(outcome, 3);
    EXPECT_FALSE(d.IsOpen("PROGRESS"));
    d.Tick(2);
    EXPECT_EQ(processed, 100);
}

TEST(ThreadsAndWindows, HaltInsideANestedCallUnwindsEveryThread) {
    Driver d(GTestFailures());
    int destroyed = 0;
    bool after = false;
    struct Guard {
        int& n;
        ~Guard() { ++n; }
    };
    d.Start([&] {
        Guard g{destroyed};
        fw::Window w(SmallWindow("OTHER"));
        w.Open();
        while (fw::ACCEPT()) {
        }
        after = true;
    });
    d.Start([&] {
        Guard g{destroyed};
        fw::Window w(SmallWindow("LEVEL1"));
        w.Open();
        while (fw::ACCEPT()) {
            if (fw::ACCEPTED() == "?GO") {
                fw::Window inner(SmallWindow("LEVEL2"));
                inner.Open();
                while (fw::ACCEPT())
                    if (fw::ACCEPTED() == "?GO") {
                        Guard g2{destroyed};
                        fw::HALT("Program Error # 47|Unable to open SongBook");
                    }
            }
        }
        after = true;
    });
    d.Press("?GO", "LEVEL1");
    d.Press("?GO", "LEVEL2");
    EXPECT_TRUE(d.Halted());
    EXPECT_EQ(d.HaltText(), "Program Error # 47|Unable to open SongBook");
    EXPECT_EQ(destroyed, 3);
    EXPECT_FALSE(after);
    EXPECT_TRUE(fw::OpenWindows().empty());
    EXPECT_TRUE(fw::runtime::LiveThreads().empty());
}

TEST(ThreadsAndWindows, ClosingTheFrameSendsCloseDownThatAWindowMayRefuse) {
    Driver d(GTestFailures());
    bool refuse = true;
    std::vector<std::string> log;
    bool frameReturned = false;
    auto child = [&](const std::string& label, bool mayRefuse) {
        return [&, label, mayRefuse] {
            fw::Window w(SmallWindow(label, "mdi"));
            w.Open();
            while (fw::ACCEPT())
                if (fw::EVENT() == fw::Event::CloseDown) {
                    log.push_back(label + " CloseDown");
                    if (mayRefuse && refuse) fw::CYCLE();
                }
        };
    };
    d.Start([&] {
        fw::Window frame(SmallWindow("FRAME", "frame"));
        frame.Open();
        while (fw::ACCEPT())
            if (fw::EVENT() == fw::Event::OpenWindow) {
                fw::START(child("A", false));
                fw::START(child("B", true));
            }
        frameReturned = true;
    });
    ASSERT_TRUE(d.IsOpen("A"));
    ASSERT_TRUE(d.IsOpen("B"));
    d.CloseWindow("FRAME");
    EXPECT_EQ(log, (std::vector<std::string>{"A CloseDown", "B CloseDown"}));
    EXPECT_FALSE(d.IsOpen("A"));
    EXPECT_TRUE(d.IsOpen("B"));
    EXPECT_TRUE(d.IsOpen("FRAME")) << "a refusal cancels the close";
    EXPECT_FALSE(frameReturned);
    refuse = false;
    d.CloseWindow("FRAME");
    EXPECT_FALSE(d.IsOpen("B"));
    EXPECT_FALSE(d.IsOpen("FRAME"));
    EXPECT_TRUE(frameReturned);
    EXPECT_TRUE(fw::runtime::LiveThreads().empty());
}

TEST(ThreadsAndWindows, StartedThreadRunsAfterTheStartersPassAndThreadEventsGoToTheTopWindow) {
    Driver d(GTestFailures());
    std::vector<std::string> log;
    int worker = 0;
    d.Start([&] {
        fw::Window w(SmallWindow("STARTER"));
        w.Open();
        while (fw::ACCEPT()) {
            if (fw::ACCEPTED() == "?GO") {
                worker = fw::START([&] {
                    log.push_back("worker runs");
                    Level(1, log);
                });
                log.push_back("pass goes on");
            }
        }
    });
    d.Press("?GO");
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "pass goes on");
    EXPECT_EQ(log[1], "worker runs");
    d.Press("?GO", "LEVEL1");
    ASSERT_TRUE(d.IsOpen("LEVEL2"));
    log.clear();
    fw::TopWindow(worker)->Post(fw::Event::GainFocus);  // what POST(event, , thread) does
    d.Settle();
    EXPECT_EQ(log, std::vector<std::string>{"L2 GainFocus"});
}

}  // namespace
