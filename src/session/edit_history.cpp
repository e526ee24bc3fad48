#include "session/edit_history.h"

#include <algorithm>

namespace orba {

void EditHistory::record(const EditKey &key, int64_t before, int64_t after, int64_t nowMs)
{
    m_redo.clear();
    if (!m_sealed && !m_undo.empty()) {
        EditStep &top = m_undo.back();
        if (top.key == key && nowMs - top.lastMs <= kMergeMs) {
            top.after = after;
            top.lastMs = nowMs;
            // A gesture that ends where it began leaves nothing to undo.
            if (top.after == top.before)
                m_undo.pop_back();
            return;
        }
    }
    m_sealed = false;
    if (before == after)
        return;
    m_undo.push_back({key, before, after, nowMs});
    if (m_undo.size() > kDepth)
        m_undo.erase(m_undo.begin());
}

void EditHistory::drop(const EditKey &key)
{
    auto same = [&key](const EditStep &s) { return s.key == key; };
    m_undo.erase(std::remove_if(m_undo.begin(), m_undo.end(), same), m_undo.end());
    m_redo.erase(std::remove_if(m_redo.begin(), m_redo.end(), same), m_redo.end());
}

void EditHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_sealed = false;
}

std::optional<EditStep> EditHistory::takeUndo()
{
    if (m_undo.empty())
        return std::nullopt;
    EditStep step = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(step);
    m_sealed = true;
    return step;
}

std::optional<EditStep> EditHistory::takeRedo()
{
    if (m_redo.empty())
        return std::nullopt;
    EditStep step = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(step);
    m_sealed = true;
    return step;
}

} // namespace orba
