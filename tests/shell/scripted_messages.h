#pragma once
// Message boxes answered from a script and halts caught as exceptions, for
// tests of the program's own services.

#include "shell/message_box.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

struct HaltCaught {
    std::string text;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    shell::MessageIcon icon;
    int buttons;
    int defaultButton;
};

class ScriptedMessages {
public:
    ScriptedMessages() {
        shell::SetMessageBoxHandler([this](std::string_view text, std::string_view caption, shell::MessageIcon icon,
                                           int buttons, int defaultButton) {
            shown.push_back({std::string(text), std::string(caption), icon, buttons, defaultButton});
            if (answers.empty()) return defaultButton;
            const int a = answers.front();
            answers.pop_front();
            EXPECT_NE(buttons & a, 0) << "answer " << a << " is not a button of \"" << caption << "\"";
            return a;
        });
        shell::SetHaltHandler([](std::string_view text) { throw HaltCaught{std::string(text)}; });
    }
    ~ScriptedMessages() {
        shell::SetMessageBoxHandler(nullptr);
        shell::SetHaltHandler(nullptr);
    }
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    std::deque<int> answers;  // the buttons pressed, in order; none left: the default button
    std::vector<ShownMessage> shown;
};
