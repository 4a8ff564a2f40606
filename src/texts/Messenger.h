#pragma once

#include "texts/Texts.h"

#include <QString>
#include <QStringList>

namespace mx {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry };

// Shows a message or asks a question. The desktop program implements it with
// message boxes carrying the application's title; the command line answers
// without a person; tests script the answers.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const QString& text, Buttons buttons, Icon icon) = 0;
};

// Messages held back while a radio transfer runs and shown once the port is
// closed. Holds at most Capacity texts; further ones are dropped.
class MessageQueue
{
public:
    static constexpr int Capacity = 1001;

    void queue(const QString& text);
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const QStringList& items() const { return m_items; }
    void clear() { m_items.clear(); }
    // Shows every queued text in its own OK box, in order, then empties the queue.
    void showAll(Prompter& prompter);

private:
    QStringList m_items;
};

// What the core uses to talk to the user: texts in the current language, a
// prompter, and the deferred message queue.
class Messenger
{
public:
    explicit Messenger(Prompter& prompter, int language = English);

    int language() const { return m_language; }
    void setLanguage(int language) { m_language = language; }
    QString text(TextId id) const { return mx::text(id, m_language); }

    Answer ask(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None);
    Answer ask(TextId id, Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

    void queue(const QString& text) { m_pending.queue(text); }
    void showQueued() { m_pending.showAll(*m_prompter); }
    MessageQueue& pending() { return m_pending; }

    Prompter& prompter() { return *m_prompter; }

private:
    Prompter* m_prompter;
    int m_language;
    MessageQueue m_pending;
};

} // namespace mx
