#pragma once

#include <QIcon>
#include <QString>

namespace mx::icons {

// The toolbar's images by image key ("New", "Open", "Save", "Print", "Read",
// "Comm", "Write", "MWrite", "Help", "Close"): the desktop theme's icon where
// it has one, otherwise one drawn for the program.
QIcon toolbarIcon(const QString& key);
// The program's own icon: a handheld radio.
QIcon appIcon();

} // namespace mx::icons
