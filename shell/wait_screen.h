#pragma once
// A window that says "One moment please" for as long as it lives: opened
// and shown at once, with no event loop of its own, over the window that
// opened it, which stays the target of the window operations; closed when
// it goes.
//
//   { shell::WaitScreen finishing("P1$FINISHSCREEN"); pages = report.Finish(); }

#include <memory>
#include <string_view>

namespace fw {
class Window;
}

namespace shell {

class WaitScreen {
public:
    explicit WaitScreen(std::string_view layout);
    ~WaitScreen();
    WaitScreen(const WaitScreen&) = delete;
    WaitScreen& operator=(const WaitScreen&) = delete;

private:
    std::unique_ptr<fw::Window> window_;
};

}  // namespace shell
