#pragma once

#include "shell/Messenger.h"

#include <QList>
#include <QStringList>

namespace mx::test {

// A prompter that records every message and answers from a script. Without
// a scripted answer it answers OK to an OK box, No to a Yes/No question and
// Cancel otherwise, so that nothing happens unless a test asks for it.
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

    Answer ask(const QString& text, Buttons buttons, Icon icon) override
    {
        shown.append({text, buttons, icon});
        if (!script.isEmpty()) return script.takeFirst();
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out.append(s.text);
        return out;
    }
    void clear()
    {
        shown.clear();
        script.clear();
    }
};

} // namespace mx::test
