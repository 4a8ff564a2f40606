// Channel lists in the common radio-programmer layout: hand-written lists
// imported into a band, an export, and a round trip through both layouts.

#include "TestPrompter.h"
#include "data/ChannelRules.h"
#include "data/CommonCsv.h"
#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "e2e/E2e.h"
#include "texts/Messenger.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace mx;

namespace {

const QString Header = QStringLiteral(
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,"
    "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE");

// A line of the full layout: the columns the radio keeps, the rest as many files have them.
QString line(const QString& location, const QString& frequency, const QString& duplex = {},
             const QString& tone = {}, const QString& rTone = "88.5", const QString& cTone = "88.5",
             const QString& code = "023", const QString& polarity = "NN", const QString& name = {},
             const QString& mode = "FM")
{
    return QStringList{location, name, frequency, duplex, "0.600000", tone, rTone, cTone, code,
                       polarity, mode, "5.00",    "",     "",         "",   "",    "",    ""}
        .join(',');
}

// The channels of a band in slot order: "number frequency TSQ REP".
QString channels(const RadioImage& image, int m, int b)
{
    QStringList out;
    const double low = freq::parseRange(freq::rangeTextFor(m)).low;
    for (int i = 1; i <= image.work.count(m, b); ++i) {
        const ChannelRecord& ch = image.workChannels.at(m, i, b);
        out.append(QStringLiteral("%1 %2 %3 %4")
                       .arg(ch.chNo)
                       .arg(freq::textFromStored(ch.rxFreq.text(), low),
                            channelrules::toneSquelchText(ch.toneCode),
                            channelrules::repeaterList(English).value(ch.repeaterShift)));
    }
    return out.join("; ");
}

} // namespace

class TstCommonCsv : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void import_data()
    {
        QTest::addColumn<QString>("into"); // family:band number
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("result"); // the band's channels, or the message
        QTest::addColumn<int>("notKept");
        const QString h = Header;
        QStringList forty{h};
        for (int n = 1; n <= 41; ++n)
            forty.append(line(QString::number(n), "28.1"));
        // clang-format off
        QTest::newRow("every tone mode")
            << "0:1" << QStringList{h, line("1", "28.0150"), line("2", "28.0200", "+", "Tone", "88.5", "100.0"),
                                    line("3", "28.0250", "-", "TSQL", "88.5", "100.0"), line("4", "28.03", "", "DTCS", "0", "0", "23", "NR")}
            << "1 28.01500 OFF OFF; 2 28.02000 88.5 +; 3 28.02500 100.0 -; 4 28.03000 D023N OFF" << 0;
        QTest::newRow("Location order, one tone column, extra columns")
            << "1:3" << QStringList{"Frequency,Extra,Location,Tone,cToneFreq", "28.1,x,20,Tone,67.0", "28.2,y,5,,"}
            << "1 28.20000 OFF OFF; 2 28.10000 67.0 OFF" << 0;
        QTest::newRow("UK band: the grid below the shown frequency")
            << "2:2" << QStringList{h, line("1", "27.601250")} << "1 27.60000 OFF OFF" << 0;
        QTest::newRow("names and modes the radio cannot keep")
            << "0:2" << QStringList{h, line("1", "28.1", "", "", "0", "0", "0", "NN", "B-01"), line("2", "28.2", "", "", "0", "0", "0", "NN", "Home"),
                                    line("3", "28.3", "", "", "0", "0", "0", "NN", "", "NFM"), line("4", "28.4", "", "", "0", "0", "0", "NN", "", "AM")}
            << "1 28.10000 OFF OFF; 2 28.20000 OFF OFF; 3 28.30000 OFF OFF; 4 28.40000 OFF OFF" << 2;
        QTest::newRow("Duplex split") << "0:1" << QStringList{h, line("1", "28.1", "split")}
            << "Line 2, column 4 (Duplex): Duplex \"split\" is not offered: the radio takes \"\", \"+\" or \"-\"." << 0;
        QTest::newRow("Duplex off") << "0:1" << QStringList{h, line("1", "28.1", "off")}
            << "Line 2, column 4 (Duplex): Duplex \"off\" is not offered" << 0;
        QTest::newRow("Duplex + in EU") << "2:1" << QStringList{h, line("1", "27.1", "+")}
            << "Line 2, column 4 (Duplex): The repeater shift is not used in this range family." << 0;
        QTest::newRow("Cross") << "0:1" << QStringList{h, line("1", "28.1", "", "Cross")}
            << "Line 2, column 6 (Tone): Tone mode \"Cross\" is not offered" << 0;
        QTest::newRow("reversed transmit polarity") << "0:1" << QStringList{h, line("1", "28.1", "", "DTCS", "0", "0", "023", "RN")}
            << "Line 2, column 10 (DtcsPolarity): DCS polarity \"RN\": the TSQ list holds codes of normal transmit polarity only." << 0;
        QTest::newRow("tone not in the list") << "0:1" << QStringList{h, line("1", "28.1"), line("2", "28.1", "", "Tone", "88.6")}
            << "Line 3, column 7 (rToneFreq): \"88.6\" is not in the TSQ list." << 0;
        QTest::newRow("code not in the list") << "0:1" << QStringList{h, line("1", "28.1", "", "DTCS", "0", "0", "024")}
            << "Line 2, column 9 (DtcsCode): \"024\" is not in the TSQ list." << 0;
        QTest::newRow("frequency out of range") << "0:1" << QStringList{h, line("1", "27.5")}
            << "Line 2, column 3 (Frequency): \"27.5\" is not a frequency of 28.0000 - 29.7000 MHz." << 0;
        QTest::newRow("41 rows") << "0:1" << forty
            << "Line 42, column 1 (Location): A band holds at most 40 channels; this row is the 41st." << 0;
        QTest::newRow("Location not a number") << "0:1" << QStringList{h, line("x", "28.1")}
            << "Line 2, column 1 (Location): \"x\" is not a memory number." << 0;
        QTest::newRow("Location twice") << "0:1" << QStringList{h, line("7", "28.1"), line("7", "28.2")}
            << "Line 3, column 1 (Location): Location 7 is listed twice." << 0;
        QTest::newRow("Tone without a tone column") << "0:1" << QStringList{"Location,Frequency,Tone", "1,28.1,Tone"}
            << "The list has no rToneFreq column." << 0;
        QTest::newRow("header only") << "0:1" << QStringList{h} << "The channel list is empty." << 0;
        // clang-format on
    }
    void import()
    {
        QFETCH(QString, into);
        QFETCH(QStringList, lines);
        QFETCH(QString, result);
        const int m = into.section(':', 0, 0).toInt(), b = into.section(':', 1).toInt();
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        const RadioDataRecord before = image.work;
        const QByteArray csv = lines.join("\r\n").toUtf8();
        QVERIFY(commoncsv::isCommonLayout(csv));
        const commoncsv::ImportResult r = commoncsv::importChannels(image, csv, m, b, English);
        if (r.ok) {
            QCOMPARE(channels(image, m, b), result);
        } else {
            QVERIFY2(r.message.startsWith(result), qPrintable(r.message));
            QVERIFY(image.work == before);
        }
        QTEST(r.notKept, "notKept");
    }

    void exportBand()
    {
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        image.addChannel(3, 0, 1, "28.3");
        image.addChannel(2, 0, 1, "29.005");
        ChannelRecord& three = image.workChannels.at(0, 2, 1);
        three.toneCode = 8; // 88.5
        three.repeaterShift = 2;
        image.workChannels.at(0, 3, 1).toneCode = 40; // D025N
        image.work.optFeat[Opt::REPOffsetKHz] = 600;
        const QString expected = Header +
                                 "\r\n" // by channel number, whatever the slots' order
                                 "1,A-01,28.015000,,0.000000,,0.0,0.0,000,NN,FM,5.00,,,,,,\r\n"
                                 "2,A-02,29.005000,,0.000000,DTCS,0.0,0.0,025,NN,FM,5.00,,,,,,\r\n"
                                 "3,A-03,28.300000,-,0.600000,TSQL,88.5,88.5,000,NN,FM,5.00,,,,,,\r\n";
        QCOMPARE(QString::fromUtf8(commoncsv::exportChannels(image, 0, 1)), expected);
        image.workChannels.at(2, 1, 2).rxFreq.set(QStringLiteral("27601000")); // UK shows 1.25 kHz up
        QCOMPARE(QString::fromUtf8(commoncsv::exportChannels(image, 2, 0)).section("\r\n", 2, 2),
                 "2,UK-01,27.601250,,0.000000,,0.0,0.0,000,NN,FM,5.00,,,,,,");
    }

    // The program's own layout out and in, then the common one out and back
    // into the band: the radio gets the same bytes, and the command line says
    // what goes with which layout.
    void roundTripThroughBothLayouts()
    {
        QVERIFY(m_dir.isValid());
        auto path = [&](const char* name) { return m_dir.filePath(QLatin1String(name)); };
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        const QStringList frequencies{"27.210", "28.315", "29.420", "26.525"};
        for (int n = 2; n <= 5; ++n)
            image.addChannel(n, 1, 4, frequencies[n - 2]);
        image.workChannels.at(1, 2, 4).toneCode = 30;
        image.workChannels.at(1, 3, 4).toneCode = 142;
        image.workChannels.at(1, 4, 4).repeaterShift = 1;
        image.workChannels.at(1, 5, 4).rogerBeep = 2; // kept: the band holds channel 5 already
        image.work.rangeMode = 1;
        image.setRangeFamily(1);
        test::TestPrompter prompter;
        Messenger messenger(prompter);
        QVERIFY(datafile::saveDataFile(image, path("a.dat"), messenger));
        for (int b = 1; b <= BandCount; ++b)
            image.work.count(1, b) = 0;
        image.work.count(1, 1) = 1; // a family keeps a channel
        QVERIFY(datafile::saveDataFile(image, path("empty.dat"), messenger));

        auto run = [](const QStringList& args) { return e2e::runMx806(args).exitCode; };
        QCOMPARE(run({"export", path("a.dat"), "-o", path("own.csv")}), 0);
        QCOMPARE(run({"import", path("empty.dat"), path("own.csv"), "-o", path("b.dat")}), 0);
        QCOMPARE(run({"export", "--layout", "common", path("b.dat"), "--band", "D", "-o", path("d.csv")}), 0);
        QCOMPARE(run({"import", path("a.dat"), path("d.csv"), "--into", "HF:D", "-o", path("c.dat")}), 0);
        QCOMPARE(run({"diff", path("a.dat"), path("c.dat")}), 0);
        QCOMPARE(e2e::readAll(path("a.dat")), e2e::readAll(path("c.dat")));
        QCOMPARE(e2e::readAll(path("a.fre")), e2e::readAll(path("c.fre")));

        // What goes with which layout.
        QCOMPARE(run({"export", "--layout", "spreadsheet", path("a.dat"), "-o", path("x.csv")}), 1);
        QCOMPARE(run({"export", "--band", "A", path("a.dat"), "-o", path("x.csv")}), 1);
        QCOMPARE(run({"export", "--layout", "common", "--band", "UK", path("a.dat"), "-o", path("x.csv")}),
                 1);
        QCOMPARE(run({"import", path("a.dat"), path("d.csv"), "-o", path("x.dat")}), 1);
        QCOMPARE(run({"import", path("a.dat"), path("own.csv"), "--into", "HF:D", "-o", path("x.dat")}), 1);
        QCOMPARE(run({"import", path("a.dat"), path("d.csv"), "--into", "HF:UK", "-o", path("x.dat")}), 1);
    }
};

QTEST_GUILESS_MAIN(TstCommonCsv)
#include "tst_commoncsv.moc"
