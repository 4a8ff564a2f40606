#include "shell/Messenger.h"

#include <QTest>

using namespace mx;

namespace {
class RecordingPrompter : public Prompter
{
public:
    QStringList shown;
    Answer ask(const QString& text, Buttons, Icon) override
    {
        shown << text;
        return Answer::Ok;
    }
};
} // namespace

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
        QFETCH(QString, expected);
        QCOMPARE(text(TextId::FileError, language), expected);
    }

    void confirmationsBreakLines()
    {
        QCOMPARE(text(TextId::ReadConfirm, English),
                 QStringLiteral("Read data from radio.\r\nDo you wish continue?"));
        QCOMPARE(text(TextId::WriteConfirm, Chinese), QStringLiteral("向对讲机写入数据。\r\n是否继续？"));
        QCOMPARE(text(TextId::NotIsNumeric, Chinese), text(TextId::NotIsNumeric, English));
    }

    void queueShowsInOrderAndEmpties()
    {
        RecordingPrompter prompter;
        Messenger messenger(prompter);
        messenger.showQueued();
        QVERIFY(prompter.shown.isEmpty());
        messenger.queue(QStringLiteral("one"));
        messenger.queue(QStringLiteral("two"));
        messenger.showQueued();
        QCOMPARE(prompter.shown, QStringList({QStringLiteral("one"), QStringLiteral("two")}));
        QVERIFY(messenger.pending().isEmpty());
    }

    void queueDropsBeyondCapacity()
    {
        MessageQueue queue;
        for (int k = 0; k < MessageQueue::Capacity + 50; ++k)
            queue.queue(QString::number(k));
        QCOMPARE(queue.count(), MessageQueue::Capacity);
        QCOMPARE(queue.items().last(), QString::number(MessageQueue::Capacity - 1));
    }

    void modelDisplayName()
    {
        QCOMPARE(mx::modelDisplayName(QStringLiteral("MX806")), QStringLiteral("MX-806TR"));
        QCOMPARE(mx::modelDisplayName(QStringLiteral("MX900")), QStringLiteral("MX900"));
    }
};

QTEST_GUILESS_MAIN(TstTexts)
#include "tst_texts.moc"
