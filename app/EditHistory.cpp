#include "app/EditHistory.h"

void EditHistory::Record(Step step) {
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    if (steps_.size() > kMostSteps) steps_.erase(steps_.begin());
    done_ = steps_.size();
}

bool EditHistory::Undo() {
    if (!CanUndo() || !steps_[done_ - 1].undo()) return false;
    --done_;
    return true;
}

bool EditHistory::Redo() {
    if (!CanRedo() || !steps_[done_].redo()) return false;
    ++done_;
    return true;
}

void EditHistory::Clear() {
    steps_.clear();
    done_ = 0;
}
