#pragma once

#include "data/RadioData.h"

#include <QList>

namespace mx {

// Undo and redo over the edits of a document: a snapshot of the working copy
// after each committed edit, back to the last open, new or read. Looking at
// another band or channel is no edit: it makes no snapshot and keeps what can
// be redone.
class UndoHistory
{
public:
    static constexpr int Limit = 500; // snapshots kept; the oldest go first

    // Starts over from the image as it is now (a document was opened, made or read).
    void reset(const RadioImage& image);
    // After an edit: a new snapshot when the image differs from the current one.
    // Edits made after an undo drop what could have been redone.
    void record(const RadioImage& image);

    bool canUndo() const { return m_current > 0; }
    bool canRedo() const { return m_current + 1 < m_snapshots.size(); }
    // Put the previous / next snapshot into the image. False when there is none.
    bool undo(RadioImage& image);
    bool redo(RadioImage& image);

private:
    struct Snapshot
    {
        RadioDataRecord work;
        ChannelArray channels;
    };
    static Snapshot take(const RadioImage& image);
    static bool same(const Snapshot& a, const RadioImage& image);
    // Puts the current snapshot into the image, looking at view's band and channel.
    void apply(RadioImage& image, const Snapshot& view) const;

    QList<Snapshot> m_snapshots;
    qsizetype m_current = -1;
};

} // namespace mx
