#pragma once

// A Prompter for tests: answers from a script, records every question.

#include "shell/Messenger.h"

#include <QList>
#include <QStringList>

#include <functional>

struct Asked
{
    QString text;
    mx::Buttons buttons;
    mx::Icon icon;
};

class ScriptedPrompter : public mx::Prompter
{
public:
    // Answers taken in order; when the script is empty the default answer
    // is the harmless one: OK for a lone OK, else Cancel / No.
    QList<mx::Answer> script;
    QList<Asked> asked;
    // Runs on every question before it is answered (e.g. to unplug the radio meanwhile).
    std::function<void(const Asked&)> onAsk;

    mx::Answer ask(const QString& text, mx::Buttons buttons, mx::Icon icon) override
    {
        asked.append({text, buttons, icon});
        if (onAsk) onAsk(asked.back());
        if (!script.isEmpty()) return script.takeFirst();
        if (buttons == mx::Buttons::Ok) return mx::Answer::Ok;
        return buttons == mx::Buttons::YesNo ? mx::Answer::No : mx::Answer::Cancel;
    }

    QStringList texts() const
    {
        QStringList list;
        for (const Asked& a : asked)
            list.append(a.text);
        return list;
    }
};
