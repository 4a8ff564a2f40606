#pragma once

#include <QString>

class QTextStream;

namespace mx {
class RadioImage;
}

namespace mx::cli {

// Readable texts of stored values, as the editors show them (English).
QString toneCodeText(int code); // 0 "OFF", 1..38 CTCSS "67.0".., 39..142 DCS "D023N"..; else "?n"
QString shiftText(int shift);   // 0 "OFF", 1 "+", 2 "-"
QString onOffText(int value);   // 0 "OFF", 1 "ON"
QString rogerText(int tip);     // 0 "OFF", else the tip number
QString familyName(int family); // "10M", "HF", "EU"

// A readable listing of the working copy of an image: range family, the bands
// and channels of every family, option features, tone tips and the TV
// channels in use. fileName heads the listing when not empty.
void printImage(QTextStream& out, const RadioImage& image, const QString& fileName = {});

} // namespace mx::cli
