#include "data/FreqRules.h"
#include "data/TestSupport.h"

#include <QLocale>
#include <QTest>

#include <clocale>
#include <functional>

using namespace mx;
using mx::test::TestPrompter;

// One rule applied to a typed or stored text, its result as text.
using Conversion = std::function<QString(const QString&, Messenger*)>;
Q_DECLARE_METATYPE(Conversion)

namespace {

const QString OutOfRange = QStringLiteral("Frequency is out of range.");

Conversion stored(double rangeLow)
{
    return [=](const QString& t, Messenger*) { return freq::storedFromText(t, rangeLow); };
}
Conversion shown(double rangeLow)
{
    return [=](const QString& t, Messenger* m) { return freq::textFromStored(t, rangeLow, m); };
}
Conversion listed(int band) // a stored RxFreq of family 2 as the channel list shows it
{
    return [=](const QString& t, Messenger* m) { return freq::shownFrequency(t, 2, band, 26.33, m); };
}
Conversion entry(int family, bool clamp, bool warn = true)
{
    return [=](const QString& t, Messenger* m) {
        return freq::normalizeEntry(t, clamp, warn, freq::parseRange(freq::rangeTextFor(family)), m);
    };
}
Conversion snapped(double rangeLow)
{
    return [=](const QString& t, Messenger*) {
        return QString::number(freq::snapToGrid(t.toDouble(), rangeLow), 'g', 10);
    };
}
Conversion limited(bool clamp) // family 2
{
    return [=](const QString& t, Messenger* m) {
        return QString::number(freq::limitFreq(t.toDouble(), clamp, true, {26.33, 27.99125}, m), 'g', 10);
    };
}
Conversion fixed(int decimals)
{
    return [=](const QString& t, Messenger*) { return freq::formatFixed(t.toDouble(), decimals); };
}
// The value of a numeric text, checking that isNumeric and toDouble agree.
QString number(const QString& t, Messenger*)
{
    bool ok = !freq::isNumeric(t);
    const double value = freq::toDouble(t, &ok);
    if (ok != freq::isNumeric(t)) return QStringLiteral("isNumeric and toDouble disagree");
    return ok ? QString::number(value, 'g', 10) : QStringLiteral("not numeric: %1").arg(value);
}
QString integer(const QString& t, Messenger*)
{
    return QString::number(freq::toInt(t, 99));
}
QString range(const QString& t, Messenger*)
{
    const freq::Range r = freq::parseRange(t);
    return QStringLiteral("%1 %2").arg(r.low, 0, 'g', 10).arg(r.high, 0, 'g', 10);
}

// Runs every conversion of the rules over a fixed set of inputs and returns
// the results as one list, so that two runs can be compared.
QStringList conversionResults()
{
    QStringList out;
    for (const char* in : {"28.015", "28,015", "27.995", "28.0175", "1e1", " -3.5 ", "25.6151"}) {
        const QString text = QString::fromLatin1(in);
        bool ok = false;
        out << QString::number(freq::toDouble(text, &ok), 'g', 17) << QString::number(ok)
            << QString::number(freq::isNumeric(text)) << integer(text, nullptr)
            << stored(28.0)(text, nullptr);
        for (int family = 0; family < 3; ++family)
            out << entry(family, true, false)(text, nullptr) << entry(family, false, false)(text, nullptr);
    }
    for (const char* in : {"28015000", "27991250", "2"})
        out << shown(28.0)(QString::fromLatin1(in), nullptr) << listed(2)(QString::fromLatin1(in), nullptr);
    out << freq::formatFixed(27.99125, 4) << freq::formatFixed(1234.5, 2);
    out << QString::number(freq::snapToGrid(28.0175, 28.0), 'g', 17);
    return out;
}

} // namespace

class TestFreqRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rangeTexts_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("familyBack");
        QTest::newRow("1") << 1 << "25.6150 - 30.1050 MHz" << 1;
        QTest::newRow("2") << 2 << "26.3300 - 27.99125 MHz" << 2;
        QTest::newRow("3 gives the first") << 3 << "28.0000 - 29.7000 MHz" << 0;
    }
    void rangeTexts()
    {
        QFETCH(int, family);
        QFETCH(QString, text);
        QCOMPARE(freq::rangeTextFor(family), text);
        QTEST(freq::familyOf(text), "familyBack");
        // Only the exact text names a family.
        QCOMPARE(freq::familyOf(text + QLatin1Char(' ')), 0);
        QCOMPARE(freq::familyOf(text.toLower()), 0);
    }

    void conversions_data()
    {
        QTest::addColumn<Conversion>("conversion");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message"); // the one message shown, or none
        auto row = [](const char* name, const Conversion& c, const char* in, const char* out,
                      QString message = {}) {
            QTest::newRow(name) << c << QString(in) << QString(out) << message;
        };
        row("number: blanks and sign", number, "  -3.5 ", "-3.5");
        row("number: plus, leading point", number, "+.5", "0.5");
        row("number: trailing point", number, "5.", "5");
        row("number: exponent with sign", number, "25E-1", "2.5");
        row("number: empty", number, "", "not numeric: 0");
        row("number: point only", number, ".", "not numeric: 0");
        row("number: two points", number, "1.2.3", "not numeric: 0");
        row("number: comma", number, "28,015", "not numeric: 0");
        row("number: bare exponent", number, "1e", "not numeric: 0");
        row("number: inner blank", number, "28 015", "not numeric: 0");
        row("int: half to even down", integer, "2.5", "2");
        row("int: half to even up", integer, "3.5", "4");
        row("int: not numeric", integer, "x", "99");
        row("int: too large for 16 bits", integer, "40000", "99");
        row("int: largest", integer, "32767", "32767");
        row("range: family 2", range, "26.3300 - 27.99125 MHz", "26.33 27.99125");
        row("range: no separator", range, "28.0000 29.7000 MHz", "100 500");
        row("range: low not numeric", range, "abc - 29.7 MHz", "100 29.7");
        row("range: high not numeric", range, "28 - x MHz", "28 500");
        row("range: comma is no separator", range, "28,0 - 29,7 MHz", "100 500");
        row("stored: six decimals", stored(28.0), "28.015000", "28015000");
        row("stored: one integer digit", stored(28.0), "8.5", "085");
        row("stored: leading point", stored(28.0), ".5", "005");
        row("stored: no point", stored(28.0), "28", "28");
        row("stored: empty", stored(28.0), "", "");
        row("stored: not numeric, family 1", stored(25.615), "abc", "25615");
        row("stored: not numeric, family 2", stored(26.33), "28,5", "2633");
        row("shown: full", shown(28.0), "28015000", "28.01500");
        row("shown: short", shown(28.0), "28015", "28.01500");
        row("shown: none", shown(28.0), "FFFFFFFF", "");
        row("shown: empty", shown(28.0), "", "");
        row("shown: corrupt", shown(25.615), "zzzzzzzz", "25.615", QStringLiteral("Not IsNumeric"));
        row("shown: holds its own point", shown(28.0), "28.01500", "28", QStringLiteral("Not IsNumeric"));
        row("listed: UK adds 1.25 kHz", listed(2), "27601000", "27.60125");
        row("listed: UK on the 10 kHz step", listed(2), "27600000", "27.60125");
        row("listed: EU as stored", listed(1), "27601000", "27.60100");
        row("listed: UK unset", listed(2), "FFFFFFFF", "");
        row("snap: family 2", snapped(26.33), "27.18749", "27.185");
        row("snap: below the anchor, half step", snapped(28.0), "27.9975", "27.995");
        row("snap: below the anchor, down", snapped(28.0), "27.9961", "27.995");
        row("limit: upper limit itself, snapped", limited(false), "27.99125", "27.99");
        row("limit: above, receive", limited(false), "27.995", "0", OutOfRange);
        row("limit: above, clamped, not snapped", limited(true), "27.995", "27.99125", OutOfRange);
        row("limit: below, clamped", limited(true), "26", "26.33", OutOfRange);
        row("entry f1: down", entry(1, false), "28.002", "28.0000");
        row("entry f1: up", entry(1, false), "28.003", "28.0050");
        row("entry f2: receive above", entry(2, false), "27.995", "", OutOfRange);
        row("entry f2: transmit above", entry(2, true), "27.995", "27.9913", OutOfRange);
        row("entry f2: no warning asked for", entry(2, true, false), "27.995", "27.9913");
        row("entry: not numeric, receive", entry(0, false), "abc", "", OutOfRange);
        row("entry: not numeric, transmit", entry(1, true), "abc", "25.6150", OutOfRange);
        row("entry: comma is not a number", entry(0, false), "28,015", "", OutOfRange);
        row("fixed: upper limit, four", fixed(4), "27.99125", "27.9913");
        row("fixed: decimal half rounds away", fixed(2), "2.675", "2.68");
        row("fixed: carry into integer", fixed(4), "9.99995", "10.0000");
        row("fixed: negative", fixed(1), "-1.25", "-1.3");
        row("fixed: negative rounding to zero", fixed(4), "-0.00001", "0.0000");
    }
    void conversions()
    {
        QFETCH(Conversion, conversion);
        QFETCH(QString, input);
        QFETCH(QString, message);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QTEST(conversion(input, &messenger), "output");
        QCOMPARE(prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message == OutOfRange) QCOMPARE(prompter.shown[0].icon, Icon::Exclamation);
    }

    // The user's locale writes decimals with a comma: nothing changes.
    void commaLocaleGivesSameResults()
    {
        const QStringList reference = conversionResults();
        const QLocale savedDefault;
        const QByteArray savedNumeric = std::setlocale(LC_NUMERIC, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // Also the C library's locale where one is installed.
        const bool cLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE");
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        const QStringList underComma = conversionResults();
        QLocale::setDefault(savedDefault);
        std::setlocale(LC_ALL, "C");
        std::setlocale(LC_NUMERIC, savedNumeric.constData());
        if (!cLocale) qInfo("no German C locale installed: only the Qt default locale was switched");
        QCOMPARE(underComma, reference);
        QVERIFY(reference.contains(QStringLiteral("28.0150")));
        QVERIFY(reference.contains(QStringLiteral("27.9913")));
    }
};

QTEST_GUILESS_MAIN(TestFreqRules)
#include "tst_freqrules.moc"
