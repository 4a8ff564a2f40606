#pragma once

#include <QString>

namespace mx {

class Messenger;

// Frequency and band rules. Every conversion between text and number uses "."
// as decimal separator, whatever the user's locale.
namespace freq {

// "28.0000 - 29.7000 MHz", "25.6150 - 30.1050 MHz", "26.3300 - 27.99125 MHz";
// any other family gives the first.
QString rangeTextFor(int family);
// Exact comparison with the three range texts; any other text gives 0.
int familyOf(const QString& rangeText);

struct Range
{
    double low = 100.0;
    double high = 500.0;
};
// Lower limit before " - ", upper limit between " - " and " MHz"; 100/500 when missing or not numeric.
Range parseRange(const QString& rangeText);

// Numeric in the sense of the stored texts: optional blanks and sign, digits
// with at most one ".", an optional exponent. Locale-independent.
bool isNumeric(const QString& text);
// The value of a numeric text ("." separator); 0 and *ok = false otherwise.
double toDouble(const QString& text, bool* ok = nullptr);
// The text as a 16-bit integer when numeric, else def.
qint16 toInt(const QString& text, qint16 def);

// "28.015000" -> "28015000", "8.5" -> "085", "28" -> "28", "" -> "".
// A non-numeric text is replaced by the text of rangeLow first.
QString storedFromText(const QString& text, double rangeLow);
// "28015000" -> "28.01500"; "" and "FFFFFFFF" -> "". A non-numeric text shows
// "Not IsNumeric" (when messenger is given) and gives the text of rangeLow.
QString textFromStored(const QString& stored, double rangeLow, Messenger* messenger = nullptr);
// The frequency a channel list shows for a stored RxFreq: in family 2 band 2
// ("UK") the first four stored digits followed by "1250" (27.6000 shows as
// 27.60125), otherwise textFromStored.
QString shownFrequency(const QString& stored, int family, int band, double rangeLow,
                       Messenger* messenger = nullptr);
// The frequency lists and reports show for a channel's stored RxFreq in
// family m, band b: shownFrequency of a number, the family's lower limit
// (without a message) for a text that is no number.
QString listedFrequency(const QString& stored, int family, int band);
// Rounds to the 5 kHz grid anchored at rangeLow; exactly 2500 Hz rounds down.
double snapToGrid(double mhz, double rangeLow);
// In range: snapped. Out of range: the nearer limit when clamp (not snapped),
// else 0; "Frequency is out of range." when warn and a messenger is given.
double limitFreq(double mhz, bool clamp, bool warn, const Range& range, Messenger* messenger = nullptr);
// limitFreq applied to a typed value, formatted "#0.0000"; "" when the result is 0.
QString normalizeEntry(const QString& value, bool clamp, bool warn, const Range& range,
                       Messenger* messenger = nullptr);

// Region name in family 2 ("EU", "UK", "PL", "DE1", "DE2", "IN", "US", "NZ"),
// letter otherwise ("A".."L"); a number without a name gives the name of 1.
QString bandName(int number, int family);
// A channel as lists name it: its band's name and its two-digit number ("A-03", "UK-12").
QString channelLabel(int family, int band, int number);
// Inverse of bandName by exact comparison; unknown text gives 1.
int bandNumber(const QString& name, int family);

// Formats with "." and a fixed number of decimals ("#0.00000" is decimals = 5).
QString formatFixed(double value, int decimals);

} // namespace freq
} // namespace mx
