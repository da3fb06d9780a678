#pragma once
// The edits of one kind of data that can be taken back: each step knows how to undo
// and redo itself, so an edit keeps only what it needs (the rows it changed, or nothing
// at all for a picture turn, whose undo is the opposite turn). A new edit after some
// undos drops the steps that were undone; the oldest steps go when there are too many.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class EditHistory {
public:
    static constexpr size_t kMostSteps = 100;

    struct Step {
        std::string name;             // what the menu shows: "Delete 3 contacts"
        std::function<bool()> undo;   // false when it could not be done (nothing changed)
        std::function<bool()> redo;
    };

    // An edit that has just been made.
    void Record(Step step);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The name of the step Undo or Redo would take ("" when there is none).
    std::string UndoName() const { return CanUndo() ? steps_[done_ - 1].name : std::string(); }
    std::string RedoName() const { return CanRedo() ? steps_[done_].name : std::string(); }
    // Takes one step back or forward; false when there was none or it failed, and then
    // the history stays where it was.
    bool Undo();
    bool Redo();
    void Clear();
    size_t Steps() const { return steps_.size(); }

private:
    std::vector<Step> steps_;
    size_t done_ = 0;  // steps_[0..done_) are in effect
};
