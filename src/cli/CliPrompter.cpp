#include "cli/CliPrompter.h"

#include <QTextStream>

#include <cstdio>

namespace mx::cli {

CliPrompter::CliPrompter(QTextStream* err) : m_err(err)
{
    m_defaults[Buttons::Ok] = Answer::Ok;
    m_defaults[Buttons::OkCancel] = Answer::Ok;
    m_defaults[Buttons::YesNo] = Answer::No;
    m_defaults[Buttons::YesNoCancel] = Answer::No;
    m_defaults[Buttons::RetryCancel] = Answer::Retry;
}

Answer CliPrompter::defaultAnswer(Buttons buttons) const
{
    return m_defaults.value(buttons, Answer::Cancel);
}

QString CliPrompter::answerText(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QStringLiteral("OK");
    case Answer::Cancel:
        return QStringLiteral("Cancel");
    case Answer::Yes:
        return QStringLiteral("Yes");
    case Answer::No:
        return QStringLiteral("No");
    case Answer::Retry:
        return QStringLiteral("Retry");
    }
    return QString();
}

Answer CliPrompter::ask(const QString& text, Buttons buttons, Icon)
{
    m_texts.append(text);
    Answer answer = defaultAnswer(buttons);
    const bool tryAgain =
        buttons == Buttons::RetryCancel ||
        (buttons == Buttons::OkCancel && (text == mx::text(TextId::CheckConnection, English) ||
                                          text == mx::text(TextId::CheckConnection, Chinese)));
    if (tryAgain && answer != Answer::Cancel) {
        if (m_retries >= m_retryLimit)
            answer = Answer::Cancel;
        else
            ++m_retries;
    }

    if (!m_unprinted.contains(text)) {
        if (m_beforePrint) m_beforePrint();
        QTextStream fallback(stderr);
        QTextStream& err = m_err ? *m_err : fallback;
        // Texts may hold CR LF line breaks; the terminal wants plain LF.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        err << "mx806: " << shown;
        if (buttons != Buttons::Ok) err << " [" << answerText(answer) << ']';
        err << Qt::endl;
    }
    return answer;
}

} // namespace mx::cli
