#include "shell/wait_screen.h"

#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace shell {

WaitScreen::WaitScreen(std::string_view layout) {
    fw::Window& caller = fw::TargetWindow();
    window_ = std::make_unique<fw::Window>(std::string(layout));
    window_->Open();
    window_->Display();
    fw::SETTARGET(&caller);
}

WaitScreen::~WaitScreen() {
    window_->Close();
    fw::SETTARGET();
}

}  // namespace shell
