#pragma once

#include "shell/Messenger.h"

#include <QList>
#include <QString>

// A prompter that gives scripted answers in order and records every question.
// With the script used up it answers OK to an OK box and Cancel otherwise.
class ShellTestPrompter : public mx::Prompter
{
public:
    struct Asked
    {
        QString text;
        mx::Buttons buttons;
        mx::Icon icon;
    };

    QList<mx::Answer> script;
    QList<Asked> asked;

    mx::Answer ask(const QString& text, mx::Buttons buttons, mx::Icon icon) override
    {
        asked.append({text, buttons, icon});
        if (!script.isEmpty()) return script.takeFirst();
        return buttons == mx::Buttons::Ok ? mx::Answer::Ok : mx::Answer::Cancel;
    }

    QStringList texts() const
    {
        QStringList list;
        for (const Asked& a : asked)
            list.append(a.text);
        return list;
    }
};
