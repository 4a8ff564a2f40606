#pragma once

#include "texts/Messenger.h"

#include <QMap>
#include <QStringList>

#include <functional>

class QTextStream;

namespace mx::cli {

// Answers the program's messages and questions without a person: every text
// goes to the error stream with the answer given, and each kind of question
// gets a preset answer.
//   messages (OK only)      -> OK
//   OK/Cancel               -> OK     (the user asked for the operation by running the command)
//   Yes/No, Yes/No/Cancel   -> No     (never hand over to another installed version,
//                                      never overwrite or save on its own)
//   Retry/Cancel            -> Retry
// "Check Connection. Retry or Cancel?" comes with Retry/Cancel after an
// unanswered handshake and with OK/Cancel before a transfer restarts. Every
// Retry/Cancel question and the OK/Cancel form of that one go on (Retry or OK)
// at most retryLimit() times in all, then get Cancel, so an unplugged radio
// ends the command.
class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(QTextStream* err = nullptr);

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;

    Answer defaultAnswer(Buttons buttons) const;

    // How many questions asking to try again get Retry or OK before Cancel.
    void setRetryLimit(int limit) { m_retryLimit = limit; }
    int retryLimit() const { return m_retryLimit; }

    // Everything asked so far, in order.
    const QStringList& texts() const { return m_texts; }

    // These texts are answered as usual but not printed (-q: news that is no error).
    void setUnprinted(const QStringList& texts) { m_unprinted = texts; }
    // Runs before a text is printed (a progress bar ends its line).
    void setBeforePrint(std::function<void()> beforePrint) { m_beforePrint = std::move(beforePrint); }

    static QString answerText(Answer answer);

private:
    QTextStream* m_err;
    QMap<Buttons, Answer> m_defaults;
    QStringList m_texts;
    QStringList m_unprinted;
    std::function<void()> m_beforePrint;
    int m_retryLimit = 3;
    int m_retries = 0; // Retry or OK answers given so far
};

} // namespace mx::cli
