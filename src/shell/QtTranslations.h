#pragma once

namespace mx {

// Qt's own texts (message-box buttons, file dialogs, the print preview) in the
// program's language: Chinese takes Qt's Simplified Chinese catalogue when it
// is installed (Debian's qt6-translations-l10n), English needs none. Called at
// start-up and at every language switch; open windows are told by Qt.
void useQtTranslations(int language);

} // namespace mx
