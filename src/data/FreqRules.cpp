#include "data/FreqRules.h"

#include "texts/Messenger.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace mx::freq {

namespace {

const char* const RangeTexts[3] = {"28.0000 - 29.7000 MHz", "25.6150 - 30.1050 MHz",
                                   "26.3300 - 27.99125 MHz"};
const char* const RegionNames[8] = {"EU", "UK", "PL", "DE1", "DE2", "IN", "US", "NZ"};
const char* const LetterNames[12] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The numeric core of text (blanks around it removed, "+" dropped) as ASCII,
// or an empty string when the text is not numeric.
std::string numericCore(const QString& text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    std::string out;
    qsizetype k = from;
    if (k < to && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-'))) {
        if (text[k] == QLatin1Char('-')) out += '-';
        ++k;
        while (k < to && isBlank(text[k]))
            ++k;
    }
    int digits = 0;
    bool point = false;
    for (; k < to; ++k) {
        const QChar c = text[k];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        out += char(c.unicode());
    }
    if (digits == 0) return {};
    if (k < to && (text[k] == QLatin1Char('e') || text[k] == QLatin1Char('E'))) {
        out += 'e';
        ++k;
        if (k < to && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-'))) {
            out += char(text[k].unicode());
            ++k;
        }
        int expDigits = 0;
        for (; k < to && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9'); ++k) {
            out += char(text[k].unicode());
            ++expDigits;
        }
        if (expDigits == 0) return {};
    }
    if (k != to) return {};
    return out;
}

// The text a number has when it is turned into a string: up to 15 significant
// digits, no trailing zeros, "." as separator ("28", "25.615", "26.33").
QString textOf(double value)
{
    return QString::number(value, 'g', 15);
}

// Rounds to the nearest integer, halves to the even neighbour.
std::int64_t roundHalfEven(double value)
{
    const double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (!(r >= -9.2e18 && r <= 9.2e18)) return 0;
    return std::int64_t(r);
}

} // namespace

QString rangeTextFor(int family)
{
    if (family < 0 || family > 2) family = 0;
    return QString::fromLatin1(RangeTexts[family]);
}

int familyOf(const QString& rangeText)
{
    for (int f = 0; f < 3; ++f) {
        if (rangeText == QLatin1String(RangeTexts[f])) return f;
    }
    return 0;
}

Range parseRange(const QString& rangeText)
{
    Range r;
    const qsizetype dash = rangeText.indexOf(QLatin1String(" - "));
    if (dash < 0) return r; // 100 .. 500
    const QString lowText = rangeText.left(dash);
    const qsizetype upperFrom = dash + 3;
    const qsizetype mhz = rangeText.indexOf(QLatin1String(" MHz"), upperFrom);
    const QString highText = mhz < 0 ? rangeText.mid(upperFrom) : rangeText.mid(upperFrom, mhz - upperFrom);
    bool ok = false;
    const double low = toDouble(lowText, &ok);
    r.low = ok ? low : 100.0;
    const double high = toDouble(highText, &ok);
    r.high = ok ? high : 500.0;
    return r;
}

bool isNumeric(const QString& text)
{
    return !numericCore(text).empty();
}

double toDouble(const QString& text, bool* ok)
{
    const std::string core = numericCore(text);
    double value = 0.0;
    bool good = false;
    if (!core.empty()) {
        const auto res = std::from_chars(core.data(), core.data() + core.size(), value);
        good = res.ec == std::errc() && res.ptr == core.data() + core.size() && std::isfinite(value);
        if (!good) value = 0.0;
    }
    if (ok) *ok = good;
    return value;
}

qint16 toInt(const QString& text, qint16 def)
{
    bool ok = false;
    const double v = toDouble(text, &ok);
    if (!ok) return def;
    const double r = std::nearbyint(v);
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max()) return def;
    return qint16(r);
}

QString storedFromText(const QString& text, double rangeLow)
{
    if (text.isEmpty()) return QString();
    QString t = isNumeric(text) ? text : textOf(rangeLow);
    qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot < 0) return t;
    while (dot < 2) { // the point must stand at the third position
        t.prepend(QLatin1Char('0'));
        ++dot;
    }
    return t.left(2) + t.mid(dot + 1);
}

QString textFromStored(const QString& stored, double rangeLow, Messenger* messenger)
{
    if (stored.isEmpty() || stored == QLatin1String("FFFFFFFF")) return QString();
    bool ok = false;
    double value = 0.0;
    if (isNumeric(stored)) value = toDouble(stored.left(2) + QLatin1Char('.') + stored.mid(2), &ok);
    if (!ok) {
        // A stored text that is not a number (or holds its own point) cannot be shown.
        if (messenger) messenger->ask(TextId::NotIsNumeric, Buttons::Ok, Icon::None);
        return textOf(rangeLow);
    }
    return formatFixed(value, 5);
}

QString shownFrequency(const QString& stored, int family, int band, double rangeLow, Messenger* messenger)
{
    if (stored.isEmpty() || stored == QLatin1String("FFFFFFFF")) return QString();
    if (family == 2 && band == 2) // "UK": channels sit 1.25 kHz above the 10 kHz step
        return textFromStored(stored.left(4) + QLatin1String("1250"), rangeLow, messenger);
    return textFromStored(stored, rangeLow, messenger);
}

QString listedFrequency(const QString& stored, int family, int band)
{
    const double low = parseRange(rangeTextFor(family)).low;
    return isNumeric(stored) ? shownFrequency(stored, family, band, low) : textFromStored(stored, low);
}

double snapToGrid(double mhz, double rangeLow)
{
    const std::int64_t base = roundHalfEven(rangeLow * 1000000.0);
    const std::int64_t hz = roundHalfEven(mhz * 1000000.0);
    std::int64_t r = (hz - base) % 5000;
    if (r < 0) r += 5000; // below the anchor the grid continues the same way
    std::int64_t result = hz;
    if (r != 0) result = r <= 2500 ? hz - r : hz - r + 5000;
    return double(result) / 1000000.0;
}

double limitFreq(double mhz, bool clamp, bool warn, const Range& range, Messenger* messenger)
{
    if (range.low <= mhz && mhz <= range.high) return snapToGrid(mhz, range.low);
    double result = 0.0;
    if (clamp) result = mhz > range.high ? range.high : range.low;
    if (warn && messenger) messenger->ask(TextId::FrequencyOutOfRange, Buttons::Ok, Icon::Exclamation);
    return result;
}

QString normalizeEntry(const QString& value, bool clamp, bool warn, const Range& range, Messenger* messenger)
{
    bool ok = false;
    const double v = toDouble(value, &ok);
    double result = 0.0;
    if (ok) {
        result = limitFreq(v, clamp, warn, range, messenger);
    } else {
        result = clamp ? range.low : 0.0;
        if (warn && messenger) messenger->ask(TextId::FrequencyOutOfRange, Buttons::Ok, Icon::Exclamation);
    }
    const QString text = formatFixed(result, 4);
    return toDouble(text) == 0.0 ? QString() : text;
}

QString bandName(int number, int family)
{
    if (family == 2) return QString::fromLatin1(RegionNames[number >= 1 && number <= 8 ? number - 1 : 0]);
    return QString::fromLatin1(LetterNames[number >= 1 && number <= 12 ? number - 1 : 0]);
}

QString channelLabel(int family, int band, int number)
{
    return bandName(band, family) + QLatin1Char('-') +
           QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

int bandNumber(const QString& name, int family)
{
    if (family == 2) {
        for (int k = 0; k < 8; ++k) {
            if (name == QLatin1String(RegionNames[k])) return k + 1;
        }
    } else {
        for (int k = 0; k < 12; ++k) {
            if (name == QLatin1String(LetterNames[k])) return k + 1;
        }
    }
    return 1;
}

QString formatFixed(double value, int decimals)
{
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) return QString::number(0.0, 'f', decimals);
    // Work on the value's 15 significant decimal digits and round halves away
    // from zero there, so that 2.675 formats as 2.68 with two decimals.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const bool negative = sci[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (std::size_t k = start; k < ePos; ++k) {
        if (sci[k] != '.') digits += sci[k];
    }
    const int exponent = std::stoi(sci.substr(ePos + 1));
    // value = 0.d1d2d3... * 10^(exponent + 1); the integer part has exponent + 1 digits.
    int intDigits = exponent + 1;
    if (intDigits <= 0) {
        digits.insert(0, std::size_t(1 - intDigits), '0');
        intDigits = 1;
    }
    const std::size_t keep = std::size_t(intDigits + decimals);
    if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        int k = int(keep) - 1;
        while (k >= 0 && digits[k] == '9') {
            digits[k] = '0';
            --k;
        }
        if (k >= 0) {
            ++digits[k];
        } else {
            digits.insert(0, 1, '1');
            ++intDigits;
        }
    }
    std::string out = digits.substr(0, std::size_t(intDigits));
    // strip leading zeros of the integer part, keeping one
    std::size_t lead = 0;
    while (lead + 1 < out.size() && out[lead] == '0')
        ++lead;
    out.erase(0, lead);
    if (decimals > 0) out += '.' + digits.substr(std::size_t(intDigits));
    const bool allZero = out.find_first_not_of("0.") == std::string::npos;
    if (negative && !allZero) out.insert(0, 1, '-');
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

} // namespace mx::freq
