// Access keys (the underlined letters, Alt+letter) are unique within every
// menu and every window, in both languages. An editor inside the main window
// shares the window with the menu bar, so its letters must not be the menu
// bar's either.

#include "TestPrompter.h"
#include "app/PortSetting.h"
#include "app/Startup.h"
#include "data/TestSupport.h"
#include "e2e/E2e.h"
#include "shell/ChannelListDialog.h"
#include "shell/Dialogs.h"
#include "shell/MainWindow.h"
#include "shell/ProgressWindow.h"
#include "texts/Texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace mx;

namespace {

// The letter after the single "&" of a caption, upper case; none without one.
QChar accessKey(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

// The captions of visible items that take the same letter; empty when none do.
QStringList clashes(const QStringList& captions)
{
    QMultiHash<QChar, QString> byKey;
    for (const QString& c : captions)
        if (const QChar k = accessKey(c); !k.isNull()) byKey.insert(k, c);
    QStringList out;
    for (const QChar k : byKey.uniqueKeys())
        if (byKey.count(k) > 1) out.append(QStringList(byKey.values(k)).join(QLatin1String(" / ")));
    return out;
}

QStringList visibleCaptions(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions)
        if (a->isVisible() && !a->isSeparator()) out.append(a->text());
    return out;
}

// Buttons, labels of controls, frames and tabs that show in window.
QStringList windowCaptions(const QWidget* window)
{
    QStringList out;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) out.append(b->text());
        if (const auto* l = qobject_cast<const QLabel*>(w); l && l->buddy()) out.append(l->text());
        if (const auto* g = qobject_cast<const QGroupBox*>(w)) out.append(g->title());
        if (const auto* t = qobject_cast<const QTabBar*>(w))
            for (int k = 0; k < t->count(); ++k)
                out.append(t->tabText(k));
    }
    return out;
}

} // namespace

class TstAccessKeys : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("config"));
    }

    void unique_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("window");
        for (int language : {English, Chinese})
            for (const char* window :
                 {"menus", "frmCommChInfo", "FrmOptFeatures", "FrmToneTips", "FrmTVCH", "FrmChannelTable",
                  "port", "language", "about", "progress", "export list", "import list"})
                QTest::addRow("%s %s", language == English ? "en" : "zh", window) << language << window;
    }
    void unique()
    {
        QFETCH(int, language);
        QFETCH(QString, window);
        const QString root = m_dir.filePath(QStringLiteral("root%1").arg(language));
        e2e::makeRoot(root, "[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=" +
                                QByteArray::number(language) + "\r\n");
        test::TestPrompter prompter;
        App app(prompter);
        app.startUp(e2e::binDir(), root, test::FixedLocale(Chinese));
        MainWindow main(app);
        main.show();

        QStringList bar = visibleCaptions(main.menuBar()->actions());
        QStringList found;
        if (window == "menus") {
            found = clashes(bar);
            QList<QMenu*> menus;
            for (QAction* a : main.menuBar()->actions())
                if (a->menu()) menus.append(a->menu());
            while (!menus.isEmpty()) {
                QMenu* menu = menus.takeFirst();
                Q_EMIT menu->aboutToShow(); // menus that fill themselves as they open
                found += clashes(visibleCaptions(menu->actions()));
                for (QAction* a : menu->actions())
                    if (a->menu()) menus.append(a->menu());
            }
        } else if (window.startsWith(QLatin1String("Frm"), Qt::CaseInsensitive)) {
            const EditorKind kinds[] = {EditorKind::ChannelInfo, EditorKind::OptFeatures,
                                        EditorKind::ToneTips, EditorKind::TVChannel,
                                        EditorKind::ChannelTable};
            for (EditorKind kind : kinds)
                if (EditorWindow::nameOf(kind) == window)
                    found = clashes(bar + windowCaptions(main.showChildForm(kind)));
        } else {
            PortSetting port(app.settings);
            std::unique_ptr<QWidget> dialog;
            if (window == "port")
                dialog = std::make_unique<PortDialog>(app, port, &main);
            else if (window == "language")
                dialog = std::make_unique<LanguageDialog>(app, &main);
            else if (window == "about")
                dialog = std::make_unique<AboutDialog>(language, &main);
            else if (window.endsWith(QLatin1String(" list")))
                dialog = std::make_unique<ChannelListDialog>(window.startsWith(QLatin1String("import")),
                                                             ChannelListChoice{}, language, &main);
            else
                dialog = std::make_unique<ProgressWindow>(true, 3, language, &main);
            found = clashes(windowCaptions(dialog.get()));
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1String("; "))));
    }
};

QTEST_MAIN(TstAccessKeys)
#include "tst_accesskeys.moc"
