#pragma once

#include <QDateTime>
#include <QString>

namespace mx {

class RadioImage;

// Dated copies of what was read from or is about to be written to a radio,
// so that a radio's original contents are never lost.
namespace backups {

constexpr int Keep = 50; // newest pairs kept

// <data location>/MX_806TR/backups (~/.local/share/MX_806TR/backups on Linux),
// shared by the desktop program and mx806.
QString defaultFolder();

// Saves the image as <folder>/<yyyy-MM-dd_HHmmss>_<kind>.dat and .fre, then
// keeps only the newest Keep pairs. Returns the data file's path, or "" with
// the reason in *error. The image itself is not touched.
QString save(const RadioImage& image, const QString& folder, const QString& kind, QString* error,
             const QDateTime& now = QDateTime::currentDateTime());

// Removes the oldest pairs beyond keep.
void prune(const QString& folder, int keep = Keep);

} // namespace backups
} // namespace mx
