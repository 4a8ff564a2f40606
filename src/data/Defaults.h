#pragma once

#include <QDate>
#include <QString>

namespace mx {

class RadioImage;

namespace defaults {

// Default frequency text of channel 1 of band b (1..8), e.g. "28.015000".
QString defaultFrequency(int band);

// Fills the whole image with the built-in defaults (working copy).
void applyBuiltIn(RadioImage& image, const QDate& today);

// programDir/Init/<family>_<model>_New.dat (newImage) or <family>_<model>.dat.
QString templatePath(const QString& programDir, const RadioImage& image, bool newImage);

// Reads one template into the image. A missing or short template, or one
// without its channel file, leaves the image as it was (and unchanged). False then.
bool loadTemplate(RadioImage& image, const QString& path);

// The first image: built-in defaults, then the new-image template of the
// current range family, then staging := working.
void initAll(RadioImage& image, const QString& programDir, const QDate& today = QDate::currentDate());

} // namespace defaults
} // namespace mx
