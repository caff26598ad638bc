#include "shell/process_pass.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/picture.h"
#include "shell/warnings.h"

#include <algorithm>

namespace shell {

ProgressPass::ProgressPass(const ProgressSpec& desc) : spec_(desc), view_(std::make_unique<fw::View>(*desc.primary)) {
    if (spec_.joins) spec_.joins(*view_);
}

ProgressPass::~ProgressPass() { fw::CLOSE(*view_); }

int ProgressPass::Percent(long read, long estimate) {
    if (estimate <= 0) return 0;
    return static_cast<int>(std::min<long long>(100, static_cast<long long>(read) * 100 / estimate));
}

std::string ProgressPass::PercentText(int percent) { return fw::FORMAT(percent, "@N3") + "% Completed"; }

void ProgressPass::Start() {
    estimate_ = spec_.estimate ? spec_.estimate() : 0;
    if (spec_.order.Valid()) fw::SET(spec_.order);
    else fw::SET(*spec_.primary);
    if (!spec_.filter.empty()) {
        view_->SetFilter(spec_.filter);
        if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    }
    fw::OPEN(*view_, fw::ReadWrite | fw::DenyWrite);
    if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    if (spec_.actionMovesKey) {
        // The action may move a record forward in the order: list every
        // match first, then visit each by its position.
        for (;;) {
            fw::NEXT(*view_);
            if (fw::ERRORCODE() != 0) break;
            positions_.push_back(fw::POSITION(*view_));
        }
        if (fw::ERRORCODE() != fw::RecordNotAvailable) {
            ShowWarningOneText(35, spec_.primary->Label());
            state_ = PassState::Failed;
            return;
        }
    }
    if (!ReadNext() && state_ == PassState::Running) state_ = PassState::NothingToDo;
    if (state_ == PassState::Completed) state_ = PassState::NothingToDo;
}

bool ProgressPass::ReadNext() {
    if (spec_.actionMovesKey) {
        if (nextPosition_ >= positions_.size()) {
            state_ = PassState::Completed;
            return false;
        }
        fw::REGET(*view_, positions_[nextPosition_++]);
        // A record deleted meanwhile is passed over.
        while (fw::ERRORCODE() == fw::BadRecErr && nextPosition_ < positions_.size())
            fw::REGET(*view_, positions_[nextPosition_++]);
        if (fw::ERRORCODE() == fw::BadRecErr) {
            state_ = PassState::Completed;
            return false;
        }
    } else {
        fw::NEXT(*view_);
    }
    if (spec_.readCode) {
        const int replaced = spec_.readCode(++readsDone_, fw::ERRORCODE());
        if (replaced != fw::ERRORCODE()) fw::SetError(replaced);
    }
    const int code = fw::ERRORCODE();
    if (code == fw::RecordNotAvailable) {
        state_ = PassState::Completed;
        return false;
    }
    if (code != 0) {
        ShowWarningOneText(35, spec_.primary->Label());
        state_ = PassState::Failed;
        return false;
    }
    ++recordsRead_;
    if (percentDone_ < 100) percentDone_ = Percent(recordsRead_, estimate_);
    return true;
}

void ProgressPass::Slice() {
    for (long n = 0; n < spec_.recordsPerTimerEvent && state_ == PassState::Running; ++n) {
        if (spec_.action) spec_.action();
        ReadNext();
    }
}

void ProgressPass::Cancel() {
    if (state_ == PassState::Running) state_ = PassState::Cancelled;
}

}  // namespace shell
