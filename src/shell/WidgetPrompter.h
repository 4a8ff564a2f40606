#pragma once

#include "texts/Messenger.h"

class QWidget;

namespace mx {

// Message boxes carrying the application's title, over the active window.
class WidgetPrompter : public Prompter
{
public:
    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
};

} // namespace mx
