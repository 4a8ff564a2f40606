// The printed programming information: what the document holds for an image,
// and the PDF that `mx806 print` writes from a data file.

#include "data/RadioData.h"
#include "e2e/E2e.h"
#include "report/ProgrammingReport.h"
#include "texts/ReportTexts.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

using namespace mx;

namespace {

int countTables(const QTextDocument& doc)
{
    int tables = 0;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        tables += qobject_cast<QTextTable*>(frame) != nullptr;
    return tables;
}
} // namespace

class TstReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void document_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QList<int>>("bands"); // enabled, one channel each
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<int>("columns"); // of a band's table: no repeater shift in EU

        QTest::newRow("10M two bands") << 0 << QList<int>{1, 3} << int(English)
                                       << QStringList{"MX_806TQ Radio Programming Information",
                                                      "Band -- A",
                                                      "Band -- C",
                                                      "28.01500",
                                                      "REP",
                                                      "Optional Features",
                                                      "Roger Beep",
                                                      "No TV channel in use."}
                                       << QStringList{"Band -- B", "Band -- H"} << 7;
        // The "UK" plan shows its channels 1.25 kHz above the stored 10 kHz step; no repeater shift in EU.
        QTest::newRow("EU with UK") << 2 << QList<int>{1, 2} << int(English)
                                    << QStringList{"Band -- EU", "Band -- UK", "27.60125", "27.01500"}
                                    << QStringList{"Band -- PL", "27.60000"} << 6;
        QTest::newRow("Chinese") << 1 << QList<int>{8} << int(Chinese)
                                 << QStringList{"MX_806TQ 对讲机编程信息", "组 -- H", "可选功能", "信道信息",
                                                "文件: /tmp/radio.dat"}
                                 << QStringList{"Band -- H", "Optional Features"} << 7;
    }
    void document()
    {
        QFETCH(int, family);
        QFETCH(QList<int>, bands);
        QFETCH(int, language);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(int, columns);

        RadioImage image;
        image.setRangeFamily(family);
        for (int b = 1; b <= BandCount; ++b)
            image.work.optFeat.bandValid(family, b) = bands.contains(b) ? 1 : 0;
        for (int b : bands)
            image.addChannel(1, family, b, family == 2 ? (b == 2 ? "27.6000" : "27.0150") : "28.0150");
        // One tone tip with steps gives one more table; TV channels stay unused.
        image.work.toneTips[0].recycleTimes() = 1;
        image.work.toneTips[0].tone(1) = 100;
        image.work.toneTips[0].length(1) = 20;

        const auto doc = report::buildDocument(image, language, "/tmp/radio.dat",
                                               QDateTime(QDate(2026, 12, 7), QTime(2, 30)));
        const QString plain = doc->toPlainText();
        for (const QString& text : present)
            QVERIFY2(plain.contains(text), qPrintable(text));
        for (const QString& text : absent)
            QVERIFY2(!plain.contains(text), qPrintable(text));
        // One table per enabled band, then the options and the one tip with steps.
        QCOMPARE(countTables(*doc), int(bands.size()) + 2);
        auto* first = qobject_cast<QTextTable*>(doc->rootFrame()->childFrames().value(0));
        QVERIFY(first);
        QCOMPARE(first->columns(), columns);
        // The band's name and the column names repeat on every page the table runs onto.
        QCOMPARE(first->format().headerRowCount(), 2);
    }

    void print_data()
    {
        QTest::addColumn<QStringList>("arguments"); // OUT stands for the PDF in the test folder
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("written");

        const QString eu = QDir(e2e::binDir()).filePath("Init/2_MX806_New.dat");
        QTest::newRow("English") << QStringList{"print", eu, "-o", "OUT"} << 0 << true;
        QTest::newRow("Chinese") << QStringList{"print", eu, "--language", "zh", "-o", "OUT"} << 0 << true;
        QTest::newRow("not a pdf name") << QStringList{"print", eu, "-o", "out.txt"} << 1 << false;
        QTest::newRow("unknown language")
            << QStringList{"print", eu, "--language", "fr", "-o", "OUT"} << 1 << false;
    }
    void print()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, written);

        const QString out = m_dir.filePath("out.pdf");
        QFile::remove(out);
        arguments.replaceInStrings(QRegularExpression("^OUT$"), out);
        QProcess p;
        // The command needs no display whatever the environment says, and keeps
        // Qt's notes about it (as under cron: no runtime folder) out of its output.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("XDG_RUNTIME_DIR");
        p.setProcessEnvironment(env);
        p.start(QDir(e2e::binDir()).filePath("mx806"), arguments);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), status);
        QFile pdf(out);
        QCOMPARE(pdf.exists(), written);
        if (!written) return;
        QCOMPARE(p.readAllStandardError(), QByteArray());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        // The tone tips' bar pictures go in as images.
        QVERIFY(bytes.contains("/Subtype /Image"));
    }

    void pdfWriteFailureIsReported()
    {
        RadioImage image;
        const auto doc = report::buildDocument(image, English, "new.dat");
        QString error;
        QVERIFY(!report::writePdf(*doc, "/nonexistent/folder/out.pdf", &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TstReport)
#include "tst_report.moc"
