// Pictures of the desktop program's windows for the README, in English and
// Chinese. Run under a display (tools/screenshots.sh starts Xvfb):
//   screenshots OUTPUT_DIR
#include "app/Document.h"
#include "app/Startup.h"
#include "editors/ChannelTableEditor.h"
#include "link/PortNames.h"
#include "shell/Dialogs.h"
#include "shell/MainWindow.h"
#include "shell/PrintPreview.h"
#include "shell/ProgressWindow.h"
#include "shell/WidgetPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

class Fixed : public mx::SystemLocale
{
public:
    int systemLanguage() const override { return 2; }
};

void save(QWidget* widget, const QString& path)
{
    QTest::qWait(150);
    widget->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MX_806TR"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);
    const QString bin =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../dist/V100"));

    for (int language : {1, 2}) {
        const QString tag = language == 1 ? QStringLiteral("en") : QStringLiteral("zh");
        QTemporaryDir root;
        QDir().mkpath(root.filePath(QStringLiteral("language")));
        QFile ini(root.filePath(QStringLiteral("language/mysetup.ini")));
        if (!ini.open(QIODevice::WriteOnly)) return 1;
        ini.write(QStringLiteral("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=%1\n")
                      .arg(language)
                      .toLatin1());
        ini.close();
        QFile::copy(QDir(bin).filePath(QStringLiteral("../Version.ini")),
                    root.filePath(QStringLiteral("Version.ini")));

        mx::WidgetPrompter prompter;
        mx::App app(prompter);
        app.startUp(bin, root.path(), Fixed());
        mx::MainWindow window(app);
        window.resize(1100, 760);
        window.setPortLister(
            [] {
                return QList<mx::ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}};
            },
            false);
        window.show();
        save(&window, QStringLiteral("%1/main-%2.png").arg(out, tag));

        const struct
        {
            mx::EditorKind kind;
            const char* name;
        } editors[] = {{mx::EditorKind::ChannelInfo, "channels"},
                       {mx::EditorKind::OptFeatures, "options"},
                       {mx::EditorKind::ToneTips, "tones"},
                       {mx::EditorKind::TVChannel, "tv"},
                       {mx::EditorKind::ChannelTable, "table"}};
        for (const auto& e : editors) {
            window.closeChildForms();
            mx::EditorWindow* editor = window.showChildForm(e.kind);
            if (auto* table = qobject_cast<mx::FrmChannelTable*>(editor)) { // a few channels pasted in
                QApplication::clipboard()->setText(QStringLiteral(
                    "28.0250\t88.5\t+\n28.0350\t88.5\t-\n28.4000\tD023N\tOFF\n28.4050\tOFF\tOFF\n"));
                table->view()->setCurrentIndex(table->view()->model()->index(1, 2));
                table->paste();
                table->view()->setCurrentIndex(table->view()->model()->index(5, 2));
            }
            auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
            sub->resize(sub->sizeHint().expandedTo(QSize(400, 300)));
            sub->move(0, 0);
            save(sub, QStringLiteral("%1/editor-%2-%3.png").arg(out, QString::fromLatin1(e.name), tag));
            if (qobject_cast<mx::FrmChannelTable*>(editor))
                window.document().undo(); // the other pictures as they were
        }

        mx::PortSetting portSetting(app.settings);
        portSetting.setLister(
            [] {
                return QList<mx::ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}};
            },
            false);
        mx::PortDialog port(app, portSetting, &window);
        port.show();
        save(&port, QStringLiteral("%1/port-%2.png").arg(out, tag));
        mx::LanguageDialog lang(app, &window);
        lang.show();
        save(&lang, QStringLiteral("%1/language-%2.png").arg(out, tag));
        mx::ProgressWindow progress(true, 0, language, &window);
        progress.setPercent(42);
        progress.show();
        save(&progress, QStringLiteral("%1/progress-%2.png").arg(out, tag));
        progress.finish();

        // The print preview is modal: taken while it is up, then closed.
        QTimer::singleShot(1500, [&] {
            if (QWidget* preview = QApplication::activeModalWidget()) {
                preview->resize(900, 700);
                save(preview, QStringLiteral("%1/print-%2.png").arg(out, tag));
                preview->close();
            }
        });
        window.closeChildForms();
        mx::showPrintPreview(app, &window);
    }
    return 0;
}
