// The editing history: each step keeps only what it changed (one hotspot before and after, or
// the default link), so a large map's history stays small.
#pragma once

#include "app/core/MapModel.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// What is selected: nothing, the map's default (the bottom bar edits it) or one hotspot.
struct TSelection {
    enum class TWhat { Nothing, Default, Hotspot };
    TWhat What = TWhat::Nothing;
    THotspotRef Ref;
    bool operator==(const TSelection &) const = default;
};

// One change: a hotspot inserted, removed or replaced, or the default link changed.
struct TChange {
    enum class TKind { Insert, Remove, Replace, Default };
    TKind Kind = TKind::Replace;
    THotspotRef Ref;
    TMapRegion Before; // Remove, Replace
    TMapRegion After;  // Insert, Replace
    // Default: URL and target before and after.
    std::string DefaultURLBefore, DefaultTargetBefore, DefaultURLAfter, DefaultTargetAfter;
};

struct TStep {
    std::string Name; // as the Edit menu names it: "Move", "Delete", ...
    std::vector<TChange> Changes;
    TSelection Before;
    TSelection After;
    // A step with the same non-empty key as the one before it joins it (typing in the URL box).
    std::string MergeKey;
};

// The change that undoes change.
TChange Reversed(const TChange &change);
// Applies a change to the model.
void Apply(TMapModel &model, const TChange &change);

class THistory {
public:
    static constexpr std::size_t DefaultLimit = 1000;
    explicit THistory(std::size_t limit = DefaultLimit) : limit_(limit) {}

    // Adds a step after the current one, dropping what could be redone and, past the limit, the
    // oldest step.
    void Push(TStep step);
    // The next step does not join the last one, whatever its key.
    void Seal() { sealed_ = true; }
    bool CanUndo() const { return at_ > 0; }
    bool CanRedo() const { return at_ < steps_.size(); }
    const TStep &UndoStep() const { return steps_[at_ - 1]; }
    const TStep &RedoStep() const { return steps_[at_]; }
    // Move back or forward one step and return it; callers check CanUndo / CanRedo first.
    const TStep &Undo();
    const TStep &Redo();
    void Clear();
    std::size_t Size() const { return steps_.size(); }

private:
    bool Joins(const TStep &step) const;

    std::deque<TStep> steps_;
    std::size_t at_ = 0;
    std::size_t limit_;
    bool sealed_ = true;
};
