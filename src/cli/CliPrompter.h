#pragma once

#include "shell/Messenger.h"

#include <QMap>
#include <QStringList>

class QTextStream;

namespace mx::cli {

// Answers the program's messages and questions without a person: every text
// goes to the error stream, and each kind of question gets a preset answer.
//   messages (OK only)      -> OK
//   OK/Cancel               -> OK     (the user asked for the operation by running the command)
//   Yes/No, Yes/No/Cancel   -> No     (never hand over to another installed version,
//                                      never overwrite or save on its own)
//   Retry/Cancel            -> Retry, at most retryLimit() times in a row, then Cancel
class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(QTextStream* err = nullptr);

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;

    void setDefaultAnswer(Buttons buttons, Answer answer) { m_defaults[buttons] = answer; }
    Answer defaultAnswer(Buttons buttons) const;

    // How many Retry answers a run of Retry/Cancel questions gets before Cancel.
    void setRetryLimit(int limit) { m_retryLimit = limit; }
    int retryLimit() const { return m_retryLimit; }
    // Retry answers given since the last resetRetries (or since the start).
    int retriesGiven() const { return m_retries; }
    void resetRetries() { m_retries = 0; }

    // Everything asked so far, in order.
    const QStringList& texts() const { return m_texts; }
    int questionCount() const { return m_questions; }

    // Quiet: nothing is printed (the texts are still recorded).
    void setQuiet(bool quiet) { m_quiet = quiet; }

    static QString answerText(Answer answer);

private:
    QTextStream* m_err;
    QMap<Buttons, Answer> m_defaults;
    QStringList m_texts;
    int m_retryLimit = 3;
    int m_retries = 0;
    int m_questions = 0;
    bool m_quiet = false;
};

} // namespace mx::cli
