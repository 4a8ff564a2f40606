#include "data/FreqRules.h"
#include "data/TestPrompter.h"

#include <QLocale>
#include <QTest>

#include <clocale>

using namespace mx;
using mx::test::TestPrompter;

namespace {

const freq::Range Family0{28.0, 29.7};
const freq::Range Family1{25.615, 30.105};
const freq::Range Family2{26.33, 27.99125};

// Runs every conversion of the rules over a fixed set of inputs and returns
// the results as one list, so that two runs can be compared.
QStringList conversionResults()
{
    QStringList out;
    const QStringList inputs = {QStringLiteral("28.015"),  QStringLiteral("28,015"), QStringLiteral("27.995"),
                                QStringLiteral("28.0175"), QStringLiteral("1e1"),    QStringLiteral(" -3.5 "),
                                QStringLiteral("25.6151")};
    for (const QString& in : inputs) {
        bool ok = false;
        out << QString::number(freq::toDouble(in, &ok), 'g', 17) << QString::number(ok)
            << QString::number(freq::isNumeric(in)) << QString::number(freq::toInt(in, -1))
            << freq::storedFromText(in, 28.0);
        for (const freq::Range& r : {Family0, Family1, Family2}) {
            out << freq::normalizeEntry(in, true, false, r) << freq::normalizeEntry(in, false, false, r);
        }
    }
    for (const QString& stored :
         {QStringLiteral("28015000"), QStringLiteral("27991250"), QStringLiteral("2")})
        out << freq::textFromStored(stored, 28.0) << freq::shownFrequency(stored, 2, 2, 26.33);
    const freq::Range parsed = freq::parseRange(freq::rangeTextFor(2));
    out << QString::number(parsed.low, 'g', 17) << QString::number(parsed.high, 'g', 17);
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
        QTest::newRow("0") << 0 << "28.0000 - 29.7000 MHz" << 0;
        QTest::newRow("1") << 1 << "25.6150 - 30.1050 MHz" << 1;
        QTest::newRow("2") << 2 << "26.3300 - 27.99125 MHz" << 2;
        QTest::newRow("3 gives the first") << 3 << "28.0000 - 29.7000 MHz" << 0;
        QTest::newRow("-1 gives the first") << -1 << "28.0000 - 29.7000 MHz" << 0;
    }
    void rangeTexts()
    {
        QFETCH(int, family);
        QFETCH(QString, text);
        QFETCH(int, familyBack);
        QCOMPARE(freq::rangeTextFor(family), text);
        QCOMPARE(freq::familyOf(text), familyBack);
    }

    void familyOfUnknownText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("trailing space") << "25.6150 - 30.1050 MHz ";
        QTest::newRow("lower case") << "25.6150 - 30.1050 mhz";
    }
    void familyOfUnknownText()
    {
        QFETCH(QString, text);
        QCOMPARE(freq::familyOf(text), 0);
    }

    void parseRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("family 0") << "28.0000 - 29.7000 MHz" << 28.0 << 29.7;
        QTest::newRow("family 1") << "25.6150 - 30.1050 MHz" << 25.615 << 30.105;
        QTest::newRow("family 2") << "26.3300 - 27.99125 MHz" << 26.33 << 27.99125;
        QTest::newRow("no separator") << "28.0000 29.7000 MHz" << 100.0 << 500.0;
        QTest::newRow("low not numeric") << "abc - 29.7 MHz" << 100.0 << 29.7;
        QTest::newRow("high not numeric") << "28 - x MHz" << 28.0 << 500.0;
        QTest::newRow("comma is no separator") << "28,0 - 29,7 MHz" << 100.0 << 500.0;
    }
    void parseRange()
    {
        QFETCH(QString, text);
        QFETCH(double, low);
        QFETCH(double, high);
        const freq::Range r = freq::parseRange(text);
        QCOMPARE(r.low, low);
        QCOMPARE(r.high, high);
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "28" << true << 28.0;
        QTest::newRow("decimals") << "28.015" << true << 28.015;
        QTest::newRow("blanks and sign") << "  -3.5 " << true << -3.5;
        QTest::newRow("plus, leading point") << "+.5" << true << 0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("exponent with sign") << "25E-1" << true << 2.5;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("comma") << "28,015" << false << 0.0;
        QTest::newRow("letters") << "FFFFFFFF" << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
        QTest::newRow("inner blank") << "28 015" << false << 0.0;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        bool ok = !numeric;
        QCOMPARE(freq::isNumeric(text), numeric);
        QCOMPARE(freq::toDouble(text, &ok), value);
        QCOMPARE(ok, numeric);
    }

    void toInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << "12" << 12;
        QTest::newRow("negative with blanks") << " -7 " << -7;
        QTest::newRow("half to even down") << "2.5" << 2;
        QTest::newRow("half to even up") << "3.5" << 4;
        QTest::newRow("not numeric") << "x" << 99;
        QTest::newRow("too large for 16 bits") << "40000" << 99;
        QTest::newRow("largest") << "32767" << 32767;
    }
    void toInt()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(int(freq::toInt(text, 99)), expected);
    }

    void storedFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("rangeLow");
        QTest::addColumn<QString>("stored");
        QTest::newRow("six decimals") << "28.015000" << 28.0 << "28015000";
        QTest::newRow("three decimals") << "28.015" << 28.0 << "28015";
        QTest::newRow("one integer digit") << "8.5" << 28.0 << "085";
        QTest::newRow("leading point") << ".5" << 28.0 << "005";
        QTest::newRow("no point") << "28" << 28.0 << "28";
        QTest::newRow("empty") << "" << 28.0 << "";
        QTest::newRow("not numeric, family 0") << "abc" << 28.0 << "28";
        QTest::newRow("not numeric, family 1") << "abc" << 25.615 << "25615";
        QTest::newRow("not numeric, family 2") << "28,5" << 26.33 << "2633";
    }
    void storedFromText()
    {
        QFETCH(QString, text);
        QFETCH(double, rangeLow);
        QFETCH(QString, stored);
        QCOMPARE(freq::storedFromText(text, rangeLow), stored);
    }

    void textFromStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("rangeLow");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("message");
        QTest::newRow("full") << "28015000" << 28.0 << "28.01500" << false;
        QTest::newRow("short") << "28015" << 28.0 << "28.01500" << false;
        QTest::newRow("half step") << "27991250" << 26.33 << "27.99125" << false;
        QTest::newRow("none") << "FFFFFFFF" << 28.0 << "" << false;
        QTest::newRow("empty") << "" << 28.0 << "" << false;
        QTest::newRow("corrupt, family 0") << "28A15000" << 28.0 << "28" << true;
        QTest::newRow("corrupt, family 1") << "zzzzzzzz" << 25.615 << "25.615" << true;
        QTest::newRow("holds its own point") << "28.01500" << 28.0 << "28" << true;
    }
    void textFromStored()
    {
        QFETCH(QString, stored);
        QFETCH(double, rangeLow);
        QFETCH(QString, shown);
        QFETCH(bool, message);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QCOMPARE(freq::textFromStored(stored, rangeLow, &messenger), shown);
        QCOMPARE(prompter.texts(), message ? QStringList{QStringLiteral("Not IsNumeric")} : QStringList{});
    }

    void shownFrequency_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UK adds 1.25 kHz") << "27601000" << 2 << 2 << "27.60125";
        QTest::newRow("UK on the 10 kHz step") << "27600000" << 2 << 2 << "27.60125";
        QTest::newRow("EU shows as stored") << "27601000" << 2 << 1 << "27.60100";
        QTest::newRow("band B of family 0") << "28015000" << 0 << 2 << "28.01500";
        QTest::newRow("UK unset") << "FFFFFFFF" << 2 << 2 << "";
        QTest::newRow("UK empty") << "" << 2 << 2 << "";
    }
    void shownFrequency()
    {
        QFETCH(QString, stored);
        QFETCH(int, family);
        QFETCH(int, band);
        QFETCH(QString, shown);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QCOMPARE(freq::shownFrequency(stored, family, band, 26.33, &messenger), shown);
        QVERIFY(prompter.shown.isEmpty());
    }

    void snapToGrid_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<double>("rangeLow");
        QTest::addColumn<double>("snapped");
        QTest::newRow("half step rounds down") << 28.0175 << 28.0 << 28.015;
        QTest::newRow("just above half rounds up") << 28.01751 << 28.0 << 28.02;
        QTest::newRow("on the grid") << 28.015 << 28.0 << 28.015;
        QTest::newRow("family 1 down") << 28.002 << 25.615 << 28.0;
        QTest::newRow("family 1 up") << 28.003 << 25.615 << 28.005;
        QTest::newRow("family 2") << 27.18749 << 26.33 << 27.185;
        QTest::newRow("below the anchor rounds to nearest") << 27.999 << 28.0 << 28.0;
        QTest::newRow("below the anchor, half step") << 27.9975 << 28.0 << 27.995;
        QTest::newRow("below the anchor, down") << 27.9961 << 28.0 << 27.995;
    }
    void snapToGrid()
    {
        QFETCH(double, mhz);
        QFETCH(double, rangeLow);
        QFETCH(double, snapped);
        QCOMPARE(freq::snapToGrid(mhz, rangeLow), snapped);
    }

    void limitFreq_data()
    {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<double>("result");
        QTest::addColumn<bool>("message");
        QTest::newRow("inside, snapped") << 27.1851 << false << 27.185 << false;
        QTest::newRow("lower limit itself") << 26.33 << false << 26.33 << false;
        QTest::newRow("upper limit itself, snapped") << 27.99125 << false << 27.99 << false;
        QTest::newRow("above, receive") << 27.995 << false << 0.0 << true;
        QTest::newRow("above, clamped, not snapped") << 27.995 << true << 27.99125 << true;
        QTest::newRow("below, receive") << 26.0 << false << 0.0 << true;
        QTest::newRow("below, clamped") << 26.0 << true << 26.33 << true;
    }
    void limitFreq()
    {
        QFETCH(double, mhz);
        QFETCH(bool, clamp);
        QFETCH(double, result);
        QFETCH(bool, message);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QCOMPARE(freq::limitFreq(mhz, clamp, true, Family2, &messenger), result);
        QCOMPARE(prompter.shown.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(prompter.shown[0].text, QStringLiteral("Frequency is out of range."));
            QCOMPARE(prompter.shown[0].icon, Icon::Exclamation);
        }
        prompter.clear();
        freq::limitFreq(mhz, clamp, false, Family2, &messenger);
        QVERIFY(prompter.shown.isEmpty());
    }

    void normalizeEntry_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("message");
        QTest::newRow("f0 half step") << "28.0175" << 0 << false << "28.0150" << false;
        QTest::newRow("f0 above half") << "28.01751" << 0 << false << "28.0200" << false;
        QTest::newRow("f1 down") << "28.002" << 1 << false << "28.0000" << false;
        QTest::newRow("f1 up") << "28.003" << 1 << false << "28.0050" << false;
        QTest::newRow("f2 receive above") << "27.995" << 2 << false << "" << true;
        QTest::newRow("f2 transmit above") << "27.995" << 2 << true << "27.9913" << true;
        QTest::newRow("f2 transmit below") << "20" << 2 << true << "26.3300" << true;
        QTest::newRow("not numeric, receive") << "abc" << 0 << false << "" << true;
        QTest::newRow("not numeric, transmit") << "abc" << 1 << true << "25.6150" << true;
        QTest::newRow("comma entry is not a number") << "28,015" << 0 << false << "" << true;
        QTest::newRow("f0 whole number") << "29" << 0 << false << "29.0000" << false;
    }
    void normalizeEntry()
    {
        QFETCH(QString, value);
        QFETCH(int, family);
        QFETCH(bool, clamp);
        QFETCH(QString, entry);
        QFETCH(bool, message);
        TestPrompter prompter;
        Messenger messenger(prompter);
        const freq::Range range = freq::parseRange(freq::rangeTextFor(family));
        QCOMPARE(freq::normalizeEntry(value, clamp, true, range, &messenger), entry);
        QCOMPARE(prompter.texts(),
                 message ? QStringList{QStringLiteral("Frequency is out of range.")} : QStringList{});
    }

    void bandNames_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << 1 << 0 << "A";
        QTest::newRow("H") << 8 << 1 << "H";
        QTest::newRow("I in family 0") << 9 << 0 << "I";
        QTest::newRow("L") << 12 << 0 << "L";
        QTest::newRow("13 gives A") << 13 << 0 << "A";
        QTest::newRow("0 gives A") << 0 << 1 << "A";
        QTest::newRow("EU") << 1 << 2 << "EU";
        QTest::newRow("UK") << 2 << 2 << "UK";
        QTest::newRow("DE2") << 5 << 2 << "DE2";
        QTest::newRow("NZ") << 8 << 2 << "NZ";
        QTest::newRow("9 in family 2 gives EU") << 9 << 2 << "EU";
    }
    void bandNames()
    {
        QFETCH(int, number);
        QFETCH(int, family);
        QFETCH(QString, name);
        QCOMPARE(freq::bandName(number, family), name);
        if (number >= 1 && ((family == 2 && number <= 8) || (family != 2 && number <= 12)))
            QCOMPARE(freq::bandNumber(name, family), number);
    }

    void bandNumberUnknown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("family");
        QTest::newRow("letter in family 2") << "B" << 2;
        QTest::newRow("region in family 0") << "UK" << 0;
        QTest::newRow("lower case") << "uk" << 2;
        QTest::newRow("empty") << "" << 1;
    }
    void bandNumberUnknown()
    {
        QFETCH(QString, name);
        QFETCH(int, family);
        QCOMPARE(freq::bandNumber(name, family), 1);
    }

    void formatFixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("five decimals") << 28.015 << 5 << "28.01500";
        QTest::newRow("upper limit, four") << 27.99125 << 4 << "27.9913";
        QTest::newRow("decimal half rounds away") << 2.675 << 2 << "2.68";
        QTest::newRow("carry into integer") << 9.99995 << 4 << "10.0000";
        QTest::newRow("zero") << 0.0 << 4 << "0.0000";
        QTest::newRow("small below one") << 0.05 << 1 << "0.1";
        QTest::newRow("negative") << -1.25 << 1 << "-1.3";
        QTest::newRow("negative rounding to zero") << -0.00001 << 4 << "0.0000";
        QTest::newRow("no decimals") << 155.0 << 0 << "155";
        QTest::newRow("large") << 123456.5 << 0 << "123457";
    }
    void formatFixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(freq::formatFixed(value, decimals), text);
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
