// The print preview of the programming information in the desktop program.

#include "TestPrompter.h"
#include "app/Startup.h"
#include "shell/PrintPreview.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>

using namespace mx;

class TstPrintPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preview_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("English") << 1 << "MX_806TQ Radio Programming Information";
        QTest::newRow("Chinese") << 2 << "MX_806TQ 对讲机编程信息";
    }
    void preview()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        test::TestPrompter prompter;
        App app{prompter};
        app.messenger.setLanguage(language);
        app.image.addChannel(1, 0, 1, "28.0150");
        app.image.work.optFeat.bandValid(0, 1) = 1;

        QString shownTitle;
        int pages = 0;
        bool canSave = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shownTitle = dialog->windowTitle();
            if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) pages = view->pageCount();
            canSave = dialog->findChild<QAction*>("savePdf") != nullptr;
            dialog->reject();
        });
        showPrintPreview(app, nullptr);
        QCOMPARE(shownTitle, title);
        QVERIFY(pages >=
                2); // the channels, options, eight tone tips and the TV channels fill more than a page
        QVERIFY(canSave);
    }
};

QTEST_MAIN(TstPrintPreview)
#include "tst_printpreview.moc"
