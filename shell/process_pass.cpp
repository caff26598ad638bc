#include "shell/process_pass.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/numbers.h"
#include "platform/text/picture.h"
#include "shell/warnings.h"

#include <algorithm>

namespace shell {

ProgressMeasure ByRecords(long perTimerEvent) {
    ProgressMeasure m;
    m.perTimerEvent = perTimerEvent;
    return m;
}

ProgressMeasure ByBytes(fw::File& file, long bytesPerTimerEvent) {
    ProgressMeasure m;
    m.perTimerEvent = bytesPerTimerEvent;
    m.perRead = [&file] { return fw::BYTES(file); };
    m.sliceByAmount = true;
    return m;
}

ProgressPass::ProgressPass(const ProgressPlan& desc) : plan_(desc) {
    if (const auto* source = std::get_if<ViewSource>(&plan_.source)) {
        view_ = std::make_unique<fw::View>(*source->file);
        if (source->joins) source->joins(*view_);
    }
}

ProgressPass::~ProgressPass() {
    if (view_) fw::CLOSE(*view_);
}

int ProgressPass::Percent(long done, long estimate) {
    return static_cast<int>(std::min<long long>(100, fw::PercentOf(done, estimate)));
}

std::string ProgressPass::PercentText(int percent, std::string_view suffix) {
    return fw::FORMAT(percent, "@N3") + std::string(suffix);
}

std::string ProgressPass::SourceLabel() const {
    if (const auto* v = std::get_if<ViewSource>(&plan_.source)) return v->file->Label();
    if (const auto* q = std::get_if<QueueSource>(&plan_.source)) return q->label;
    return std::get<StepSource>(plan_.source).label;
}

void ProgressPass::StartView(const ViewSource& source) {
    if (source.order.Valid()) fw::SET(source.order);
    else fw::SET(*source.file);
    if (!source.filter.empty()) {
        view_->SetFilter(source.filter);
        if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    }
    fw::OPEN(*view_, fw::ReadWrite | fw::DenyWrite);
    if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    if (source.actionMovesKey == ActionMovesKey::Yes) {
        // The action may move a record forward in the order: list every
        // match first, then visit each by its position.
        for (;;) {
            fw::NEXT(*view_);
            if (fw::ERRORCODE() != 0) break;
            positions_.push_back(fw::POSITION(*view_));
        }
        if (fw::ERRORCODE() != fw::RecordNotAvailable) {
            ShowWarningOneText(35, source.file->Label());
            state_ = PassState::Failed;
        }
    }
}

void ProgressPass::Start() {
    if (started_) return;
    started_ = true;
    // A step source's start may make what the estimate counts (a report's
    // rows): it runs first.
    const auto* step = std::get_if<StepSource>(&plan_.source);
    if (step && step->start) step->start();
    estimate_ = plan_.estimate ? plan_.estimate() : 0;
    if (const auto* v = std::get_if<ViewSource>(&plan_.source)) {
        StartView(*v);
        if (state_ != PassState::Running) return;
    }
    if (!ReadNext() && state_ == PassState::Running) state_ = PassState::NothingToDo;
    if (state_ == PassState::Completed) state_ = PassState::NothingToDo;
}

// One read of the source: its error code. counted is false for the end of
// a listed view, which is no read of the file.
int ProgressPass::ReadSource(bool& counted) {
    counted = true;
    if (const auto* v = std::get_if<ViewSource>(&plan_.source)) {
        if (v->actionMovesKey == ActionMovesKey::No) {
            fw::NEXT(*view_);
            return fw::ERRORCODE();
        }
        // A record deleted meanwhile is passed over.
        while (nextPosition_ < positions_.size()) {
            fw::REGET(*view_, positions_[nextPosition_++]);
            if (fw::ERRORCODE() != fw::BadRecErr) return fw::ERRORCODE();
        }
        counted = false;
        return fw::RecordNotAvailable;
    }
    if (const auto* q = std::get_if<QueueSource>(&plan_.source)) {
        if (++queuePosition_ > fw::RECORDS(*q->queue)) return fw::RecordNotAvailable;
        fw::GET(*q->queue, queuePosition_);
        return fw::ERRORCODE();
    }
    return std::get<StepSource>(plan_.source).next();
}

bool ProgressPass::ReadNext() {
    bool counted = true;
    int code = ReadSource(counted);
    if (counted && plan_.readCode) code = plan_.readCode(++readsDone_, code);
    if (code == fw::RecordNotAvailable) {
        state_ = PassState::Completed;
        return false;
    }
    if (code != 0) {
        ShowWarningOneText(35, SourceLabel());
        state_ = PassState::Failed;
        return false;
    }
    ++recordsRead_;
    const long amount = plan_.measure.perRead ? plan_.measure.perRead() : 1;
    // A read always moves the slice on, so a slice by amount ends even
    // where the reads count nothing.
    sliceCount_ += plan_.measure.sliceByAmount ? std::max(1L, amount) : 1;
    Count(amount);
    return true;
}

void ProgressPass::Count(long amount) {
    done_ += amount;
    if (percentDone_ >= 100) return;
    const int percent = Percent(done_, estimate_);
    if (percent == percentDone_) return;
    percentDone_ = percent;
    if (onPercent_) onPercent_(percentDone_);
}

void ProgressPass::Advance(long amount) { Count(amount); }

void ProgressPass::SliceUpTo(long limit) {
    sliceCount_ = 0;
    if (state_ != PassState::Running) return;
    if (plan_.sliceStart) {
        const PassState opened = plan_.sliceStart();
        if (opened != PassState::Running) {
            state_ = opened;
            return;
        }
    }
    while (state_ == PassState::Running && sliceCount_ < limit) {
        const PassState after = plan_.action ? plan_.action(*this) : PassState::Running;
        if (state_ != PassState::Running) break;  // the action cancelled the pass itself
        if (after != PassState::Running) {
            state_ = after;
            break;
        }
        ReadNext();
    }
    if (plan_.sliceEnd) {
        const PassState closed = plan_.sliceEnd();
        if (closed != PassState::Running) state_ = closed;
    }
}

void ProgressPass::Slice() { SliceUpTo(plan_.measure.perTimerEvent); }

void ProgressPass::RunToEnd() {
    Start();
    while (state_ == PassState::Running) SliceUpTo(kWholePass);
}

void ProgressPass::Cancel() {
    if (state_ == PassState::Running) state_ = PassState::Cancelled;
}

}  // namespace shell
