#include "texts/Messenger.h"

#include <utility>

namespace mx {

void MessageQueue::queue(const QString& text)
{
    // A transfer that raises more than the queue holds loses the surplus, not the program.
    if (m_items.size() < Capacity) m_items.append(text);
}

void MessageQueue::showAll(Prompter& prompter)
{
    // Take the queue first: a message box may let events run that queue again.
    const QStringList items = std::exchange(m_items, {});
    for (const QString& item : items)
        prompter.ask(item, Buttons::Ok, Icon::None);
}

Messenger::Messenger(Prompter& prompter, int language) : m_prompter(&prompter), m_language(language) {}

Answer Messenger::ask(const QString& text, Buttons buttons, Icon icon)
{
    return m_prompter->ask(text, buttons, icon);
}

Answer Messenger::ask(TextId id, Buttons buttons, Icon icon)
{
    return m_prompter->ask(text(id), buttons, icon);
}

} // namespace mx
