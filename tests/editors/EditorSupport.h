#pragma once

// What the editor tests share: an image with its context, and choosing an
// item the way the user does (the list's activated signal).

#include "TestPrompter.h"
#include "data/Defaults.h"
#include "data/RadioData.h"
#include "editors/EditorWindow.h"
#include "link/MemoryCodec.h"
#include "texts/Messenger.h"

#include <QComboBox>
#include <QDate>
#include <QTest>

namespace mx::test {

struct EditorBench
{
    TestPrompter prompter;
    Messenger messenger{prompter};
    RadioImage image;
    EditorContext context{image, messenger};

    // The built-in defaults, or an erased radio read back (every byte 0xFF).
    explicit EditorBench(bool erased = false)
    {
        if (erased)
            decodeImage(QByteArray(RadioMemorySize, char(0xFF)), image);
        else
            defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    }
};

// Picks the item with text in box as a click would.
inline bool chooseText(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0) return false;
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
    return true;
}

inline QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int k = 0; k < box->count(); ++k)
        out.append(box->itemText(k));
    return out;
}

} // namespace mx::test
