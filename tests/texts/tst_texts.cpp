#include "data/TestSupport.h"
#include "texts/Messenger.h"

#include <QTest>

using namespace mx;

class TstTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void languageIndex_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("english") << 1 << QStringLiteral("file error.");
        QTest::newRow("chinese") << 2 << QStringLiteral("文件错误。");
        QTest::newRow("zero falls back to english") << 0 << QStringLiteral("file error.");
        QTest::newRow("three falls back to english") << 3 << QStringLiteral("file error.");
        QTest::newRow("negative falls back to english") << -1 << QStringLiteral("file error.");
    }
    void languageIndex()
    {
        QFETCH(int, language);
        QTEST(text(TextId::FileError, language), "expected");
    }

    // Queued messages show in order and empty the queue; beyond its capacity further ones are dropped.
    void queueShowsInOrderAndEmpties()
    {
        test::TestPrompter prompter;
        Messenger messenger(prompter);
        messenger.showQueued();
        QVERIFY(prompter.shown.isEmpty());
        QStringList kept;
        for (int k = 0; k < MessageQueue::Capacity + 50; ++k) {
            messenger.queue(QString::number(k));
            if (k < MessageQueue::Capacity) kept << QString::number(k);
        }
        messenger.showQueued();
        QCOMPARE(prompter.texts(), kept);
        QVERIFY(messenger.pending().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstTexts)
#include "tst_texts.moc"
