#pragma once

// The prompter every test uses: scripted answers, every question recorded.

#include "texts/Messenger.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace mx::test {

// Records every message and answers from a script. Without a scripted answer
// it answers OK to an OK box, No to a Yes/No question and Cancel otherwise,
// so that nothing happens unless a test asks for it.
class TestPrompter : public Prompter
{
public:
    struct Shown
    {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    QList<Shown> shown;
    QList<Answer> script;
    // Runs on every question before it is answered (e.g. to unplug the radio meanwhile).
    std::function<void(const Shown&)> onAsk;

    Answer ask(const QString& text, Buttons buttons, Icon icon) override
    {
        shown.append({text, buttons, icon});
        if (onAsk) onAsk(shown.back());
        if (!script.isEmpty()) return script.takeFirst();
        if (buttons == Buttons::Ok) return Answer::Ok;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out.append(s.text);
        return out;
    }
};

} // namespace mx::test
