#include "app/core/History.h"

#include <utility>

TChange Reversed(const TChange &change)
{
    TChange reversed = change;
    switch (change.Kind) {
    case TChange::TKind::Insert: reversed.Kind = TChange::TKind::Remove; break;
    case TChange::TKind::Remove: reversed.Kind = TChange::TKind::Insert; break;
    case TChange::TKind::Replace:
    case TChange::TKind::Default: break;
    }
    std::swap(reversed.Before, reversed.After);
    std::swap(reversed.DefaultURLBefore, reversed.DefaultURLAfter);
    std::swap(reversed.DefaultTargetBefore, reversed.DefaultTargetAfter);
    return reversed;
}

void Apply(TMapModel &model, const TChange &change)
{
    switch (change.Kind) {
    case TChange::TKind::Insert: model.Insert(change.Ref, change.After); break;
    case TChange::TKind::Remove: model.Remove(change.Ref); break;
    case TChange::TKind::Replace: model.Replace(change.Ref, change.After); break;
    case TChange::TKind::Default:
        model.DefaultURL = change.DefaultURLAfter;
        model.DefaultTarget = change.DefaultTargetAfter;
        break;
    }
}

bool THistory::Joins(const TStep &step) const
{
    if (sealed_ || at_ == 0 || at_ != steps_.size() || step.MergeKey.empty())
        return false;
    const TStep &last = steps_.back();
    return last.MergeKey == step.MergeKey && last.Changes.size() == 1 && step.Changes.size() == 1
        && last.Changes[0].Kind == step.Changes[0].Kind && last.Changes[0].Ref == step.Changes[0].Ref;
}

void THistory::Push(TStep step)
{
    if (Joins(step)) {
        TChange &kept = steps_.back().Changes[0];
        const TChange &next = step.Changes[0];
        kept.After = next.After;
        kept.DefaultURLAfter = next.DefaultURLAfter;
        kept.DefaultTargetAfter = next.DefaultTargetAfter;
        steps_.back().After = step.After;
        return;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(at_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > limit_)
        steps_.pop_front();
    at_ = steps_.size();
    sealed_ = false;
}

const TStep &THistory::Undo()
{
    sealed_ = true;
    return steps_[--at_];
}

const TStep &THistory::Redo()
{
    sealed_ = true;
    return steps_[at_++];
}

void THistory::Clear()
{
    steps_.clear();
    at_ = 0;
    sealed_ = true;
}
