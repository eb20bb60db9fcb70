// SPDX-License-Identifier: MIT
#include "sheet_history.h"

#include <QSet>
#include <QUndoCommand>
#include <memory>
#include <vector>

namespace shell {

namespace {

class SheetStep final : public QUndoCommand {
public:
    SheetStep(const QString& name, std::shared_ptr<const StepPictures> pictures,
              const std::function<void(const SheetState&)>& restore)
        : QUndoCommand(name), m_pictures(std::move(pictures)), m_restore(restore)
    {
    }

    // The step is recorded after the operation ran: the first redo has nothing to do.
    void redo() override
    {
        if (m_applied)
            m_restore(m_pictures->after);
        m_applied = true;
    }

    void undo() override { m_restore(m_pictures->before); }

    const std::shared_ptr<const StepPictures>& pictures() const { return m_pictures; }

private:
    std::shared_ptr<const StepPictures> m_pictures;
    const std::function<void(const SheetState&)>& m_restore;
    bool m_applied = false;
};

// Pictures shared between steps are counted once.
qint64 distinctBytes(const std::vector<std::shared_ptr<const StepPictures>>& steps)
{
    QSet<qint64> seen;
    qint64 bytes = 0;
    for (const auto& step : steps)
        for (const QImage* picture : {&step->before.picture, &step->after.picture})
            if (!seen.contains(picture->cacheKey())) {
                seen.insert(picture->cacheKey());
                bytes += picture->sizeInBytes();
            }
    return bytes;
}

} // namespace

SheetHistory::SheetHistory(std::function<void(const SheetState&)> restore, qint64 maxBytes)
    : m_restore(std::move(restore)), m_maxBytes(maxBytes)
{
    m_stack.setUndoLimit(kMaxSteps);
}

void SheetHistory::record(const QString& name, const SheetState& before, const SheetState& after)
{
    if (before.picture == after.picture)
        return;
    m_stack.push(new SheetStep(name, std::make_shared<StepPictures>(StepPictures{before, after}), m_restore));
    dropOldestBeyondBudget();
}

void SheetHistory::undo()
{
    m_stack.undo();
}

void SheetHistory::redo()
{
    m_stack.redo();
}

void SheetHistory::clear()
{
    m_stack.clear();
}

std::vector<std::shared_ptr<const StepPictures>> SheetHistory::steps() const
{
    std::vector<std::shared_ptr<const StepPictures>> all;
    for (int i = 0; i < m_stack.count(); ++i)
        all.push_back(static_cast<const SheetStep*>(m_stack.command(i))->pictures());
    return all;
}

qint64 SheetHistory::storedBytes() const
{
    return distinctBytes(steps());
}

// QUndoStack only drops old steps by count; for the byte bound the stack is rebuilt
// from its newest steps. Called right after a push, so every step is applied.
void SheetHistory::dropOldestBeyondBudget()
{
    std::vector<std::shared_ptr<const StepPictures>> kept = steps();
    if (distinctBytes(kept) <= m_maxBytes)
        return;
    QStringList names;
    for (int i = 0; i < m_stack.count(); ++i)
        names.append(m_stack.text(i));
    while (!kept.empty() && distinctBytes(kept) > m_maxBytes) {
        kept.erase(kept.begin());
        names.removeFirst();
    }
    m_stack.clear();
    for (size_t i = 0; i < kept.size(); ++i)
        m_stack.push(new SheetStep(names[qsizetype(i)], kept[i], m_restore));
}

} // namespace shell
