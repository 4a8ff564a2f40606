// What the desktop program says after a transfer that did not complete.

#include "app/Transfers.h"

#include <QTest>

using namespace mx;

Q_DECLARE_METATYPE(mx::SessionEnd)

class TstTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Single reads and writes against the emulator: tst_mainwindow. Here the
    // ends a window test cannot easily stage: before any data, multi-radio
    // writes (where they stopped), the check after a write, Chinese.
    void endText_data()
    {
        QTest::addColumn<TransferKind>("kind");
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<SessionEnd>("end");
        QTest::addColumn<int>("written"); // radios a multi-radio write completed
        QTest::addColumn<bool>("checkEach");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("words");
        using K = TransferKind;
        using O = SessionOutcome;
        const SessionEnd none, sent{true, false, false, 0};
        // clang-format off
        QTest::newRow("write cancelled before any block") << K::Write << O::Cancelled << none << 0 << false << 1
            << "Writing was cancelled before anything was written. The radio holds what it held.";
        QTest::newRow("write, no answer, Cancel") << K::Write << O::NoAnswer << sent << 0 << false << 1
            << "Writing was cancelled. The radio may hold a partial write: write it again.";
        QTest::newRow("check lost") << K::Check << O::PortLost << none << 0 << false << 1
            << "The connection to the radio was lost during the check. The radio holds the write, but it was not checked.";
        QTest::newRow("multi, waiting for radio 3 of 4") << K::MultiWrite << O::Cancelled << SessionEnd{false, true, false, 4} << 2 << false << 1
            << "Writing was cancelled while waiting for the next radio. 2 of 4 radios were written.";
        QTest::newRow("multi, radio 2 lost mid-write") << K::MultiWrite << O::PortLost << SessionEnd{true, false, false, 3} << 1 << false << 1
            << "The connection to the radio was lost during the write. 1 of 3 radios were written. Radio 2 may hold a partial write: write it again.";
        QTest::newRow("multi, radio 1 cancelled while checked") << K::MultiWrite << O::Cancelled << SessionEnd{true, false, true, 2} << 0 << true << 1
            << "Writing was cancelled. 0 of 2 radios were written and checked. Radio 1 was written but not checked.";
        QTest::newRow("read lost, Chinese") << K::Read << O::PortLost << none << 0 << false << 2
            << "与对讲机的连接已断开。没有任何改动。";
        QTest::newRow("completed: nothing to add") << K::Write << O::Completed << sent << 0 << false << 1 << "";
        QTest::newRow("wrong model: its own message") << K::Read << O::WrongModel << none << 0 << false << 1 << "";
        // clang-format on
    }
    void endText()
    {
        QFETCH(TransferKind, kind);
        QFETCH(SessionOutcome, outcome);
        QFETCH(SessionEnd, end);
        QFETCH(int, written);
        QFETCH(bool, checkEach);
        QFETCH(int, language);
        QTEST(transferEndText(kind, outcome, end, written, checkEach, language), "words");
    }
};

QTEST_GUILESS_MAIN(TstTransfers)
#include "tst_transfers.moc"
