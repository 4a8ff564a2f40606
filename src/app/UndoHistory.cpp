#include "app/UndoHistory.h"

namespace mx {

UndoHistory::Snapshot UndoHistory::take(const RadioImage& image)
{
    return {image.work, image.workChannels};
}

bool UndoHistory::same(const Snapshot& a, const RadioImage& image)
{
    // Which band and channel the windows look at is no edit.
    RadioDataRecord work = image.work;
    work.currentBand = a.work.currentBand;
    work.currentChannel = a.work.currentChannel;
    return a.work == work && a.channels.records == image.workChannels.records;
}

void UndoHistory::reset(const RadioImage& image)
{
    m_snapshots = {take(image)};
    m_current = 0;
}

void UndoHistory::record(const RadioImage& image)
{
    if (m_current < 0) {
        reset(image);
        return;
    }
    if (same(m_snapshots[m_current], image)) return;
    m_snapshots.resize(m_current + 1);
    m_snapshots.append(take(image));
    if (m_snapshots.size() > Limit) m_snapshots.removeFirst();
    m_current = m_snapshots.size() - 1;
}

void UndoHistory::apply(RadioImage& image, const Snapshot& view) const
{
    const Snapshot& s = m_snapshots[m_current];
    image.work = s.work;
    // The windows look where the edit undone or redone was made.
    image.work.currentBand = view.work.currentBand;
    image.work.currentChannel = view.work.currentChannel;
    image.workChannels = s.channels;
    // The range family travels with the data: its texts and limits follow.
    image.setRangeFamily(s.work.rangeMode);
    Q_EMIT image.captionChanged();
}

bool UndoHistory::undo(RadioImage& image)
{
    if (!canUndo()) return false;
    --m_current;
    apply(image, m_snapshots[m_current + 1]);
    return true;
}

bool UndoHistory::redo(RadioImage& image)
{
    if (!canRedo()) return false;
    ++m_current;
    apply(image, m_snapshots[m_current]);
    return true;
}

} // namespace mx
