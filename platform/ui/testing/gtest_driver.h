#pragma once
// The test driver's failures as GoogleTest failures. Header only, so the
// cv_ui library does not link GoogleTest; include it in test programs.

#include <gtest/gtest.h>

#include "platform/ui/testing/driver.h"

namespace fw::testing {

inline Driver::FailureSink GTestFailures() {
    return [](const std::string& message) { ADD_FAILURE() << message; };
}

}  // namespace fw::testing
