#include "shell/process_window.h"

#include "platform/data/file_ops.h"
#include "platform/ui/layout.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_thread_state.h"

#include <algorithm>
#include <string>

namespace shell {
namespace {

// The layout with the process's lines: each a copy of the layout's hidden
// line control, one under the other where it stands, everything from there
// down moved below them. A window too narrow for the longest line widens
// (a character is 4 dialog units on average): controls across the whole
// width grow with it, the others keep to the middle.
fw::WindowLayout ProgressLayout(const ProgressPlan& plan) {
    fw::WindowLayout layout = fw::LoadLayout(plan.window);
    layout.timer = 1;
    const fw::ControlLayout* line = layout.Find("?PROGRESS:TEXT");
    const std::vector<std::string>& lines = plan.texts.lines;
    if (!line || lines.empty()) return layout;
    const fw::ControlLayout model = *line;
    std::size_t longest = 0;
    for (const auto& l : lines) longest = std::max(longest, l.size());
    const int widen = std::max(0, static_cast<int>(longest) * 4 + 8 - layout.at.w);
    const int height = model.at.h * static_cast<int>(lines.size());
    for (auto& c : layout.controls) {
        if (!c.hasAt) continue;
        if (c.at.x == 0 && c.at.w >= layout.at.w - 1) c.at.w += widen;
        else c.at.x += widen / 2;
        if (c.equate != model.equate && c.at.y >= model.at.y) c.at.y += height;
    }
    layout.at.w += widen;
    layout.at.h += height;
    const fw::ControlLayout& widened = *layout.Find(model.equate);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        fw::ControlLayout copy = widened;
        copy.equate = copy.spelling = model.equate + std::to_string(i + 1);
        copy.text = lines[i];
        copy.at.y = model.at.y + model.at.h * static_cast<int>(i);
        copy.attrs.erase(std::remove(copy.attrs.begin(), copy.attrs.end(), "hide"), copy.attrs.end());
        layout.controls.push_back(std::move(copy));
    }
    return layout;
}

}  // namespace

ProgressWindow::ProgressWindow(const ProgressPlan& plan)
    : plan_(plan), pass_(plan), window_(ProgressLayout(plan)), pctText_("0" + plan.texts.percentSuffix),
      userText_(plan.texts.user) {
    if (window_.Find("?PROGRESS:THERMOMETER")) window_.Use("?PROGRESS:THERMOMETER", percentShown_);
    if (window_.Find("?PROGRESS:USERSTRING")) window_.Use("?PROGRESS:USERSTRING", userText_);
    if (window_.Find("?PROGRESS:PCTTEXT")) window_.Use("?PROGRESS:PCTTEXT", pctText_);
    cancel_ = window_.Feq("?PROGRESS:CANCEL");
    pass_.OnPercent([this](int percent) { ShowPercent(percent); });
}

ProgressWindow::~ProgressWindow() { pass_.OnPercent({}); }

std::vector<fw::File*> ProgressWindow::QuickScanFiles() const {
    if (!plan_.quickScan.empty()) return plan_.quickScan;
    if (const auto* v = std::get_if<ViewSource>(&plan_.source)) return {v->file};
    return {};
}

void ProgressWindow::Open() {
    window_.Open();
    window_.Set(fw::Prop::Text, std::string("Processing Records"));
    if (!plan_.texts.caption.empty()) window_.Set(fw::Prop::Text, plan_.texts.caption);
    for (fw::File* f : QuickScanFiles()) fw::SEND(*f, "QUICKSCAN=on");
}

void ProgressWindow::ShowPercent(int percent) {
    if (percent == percentShown_) return;
    percentShown_ = percent;
    pctText_ = ProgressPass::PercentText(percent, plan_.texts.percentSuffix);
    window_.Display();
}

void ProgressWindow::ShowText(const std::string& text) {
    pctText_ = text;
    window_.Display();
}

// The pass has just ended, the window still shown: a completed one shows
// its completed text, then the process's end runs.
void ProgressWindow::Ended() {
    if (ended_) return;
    ended_ = true;
    if (pass_.State() == PassState::Completed && !plan_.texts.completed.empty()) ShowText(plan_.texts.completed);
    if (plan_.atEnd) plan_.atEnd(*this);
}

bool ProgressWindow::TakeEvent() {
    switch (window_.Event()) {
    case codes::OpenWindow:
        if (pass_.Started()) return false;
        pass_.Start();
        if (pass_.State() != PassState::Running) {
            Ended();
            window_.Post(codes::CloseWindow);
            window_.Cycle();
        }
        return true;
    case codes::Timer:
        if (pass_.State() != PassState::Running) return true;
        pass_.Slice();
        if (pass_.State() != PassState::Running) {
            Ended();
            window_.Post(codes::CloseWindow);
        }
        return true;
    case codes::Accepted:
        if (cancel_ == 0 || window_.Field() != cancel_) return false;
        pass_.Cancel();
        Ended();
        window_.Post(codes::CloseWindow);
        return true;
    case codes::CloseWindow:  // also the close box: the pass ends as cancelled
        pass_.Cancel();
        Ended();
        return false;
    default: return false;
    }
}

void ProgressWindow::RunToEnd() {
    window_.Set(fw::Prop::Timer, 0);
    pass_.RunToEnd();
    Ended();
}

PassState ProgressWindow::End() {
    pass_.Cancel();
    Ended();
    if (!quickScanOff_) {
        quickScanOff_ = true;
        for (fw::File* f : QuickScanFiles()) fw::SEND(*f, "QUICKSCAN=off");
    }
    const PassState state = pass_.State();
    ActionOutcome() = state == PassState::Completed ? outcome::Completed : outcome::Cancelled;
    return state;
}

PassState RunProgressProcess(const ProgressPlan& plan) {
    ProgressWindow progress(plan);
    progress.Open();
    while (progress.Window().Accept()) progress.TakeEvent();
    return progress.End();
}

}  // namespace shell
