// EditHistory: the user's own edits sent to the processor, as undo and redo steps. Plain data, no
// link: the session records each edit with the value before it and applies the steps it hands back.
// Successive edits of one parameter within kMergeMs (a knob drag) make one step that keeps the
// value from before the gesture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orba {

struct EditKey
{
    bool global = false; // a global (processor-wide setting), else a parameter
    uint16_t id = 0;
    bool operator==(const EditKey &o) const { return global == o.global && id == o.id; }
    bool operator!=(const EditKey &o) const { return !(*this == o); }
};

struct EditStep
{
    EditKey key;
    int64_t before = 0; // raw index of a parameter, value of a global
    int64_t after = 0;
    int64_t lastMs = 0; // when the step last grew
};

class EditHistory
{
public:
    static constexpr int64_t kMergeMs = 1000;
    static constexpr size_t kDepth = 200; // the oldest steps go beyond this

    // An edit from `before` to `after`; the redo steps go.
    void record(const EditKey &key, int64_t before, int64_t after, int64_t nowMs);
    // Every step of the key goes, from both lists: undoing it would overwrite what someone else set.
    void drop(const EditKey &key);
    void clear();

    const EditStep *nextUndo() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    const EditStep *nextRedo() const { return m_redo.empty() ? nullptr : &m_redo.back(); }
    // The step moves to the other list; undo applies its `before`, redo its `after`.
    std::optional<EditStep> takeUndo();
    std::optional<EditStep> takeRedo();
    size_t undoCount() const { return m_undo.size(); }
    size_t redoCount() const { return m_redo.size(); }

private:
    std::vector<EditStep> m_undo, m_redo;
    bool m_sealed = false; // the newest step was undone or redone: a new edit starts a new step
};

} // namespace orba
