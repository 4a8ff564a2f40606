#include "shell/PrintPreview.h"

#include "app/Startup.h"
#include "report/ProgrammingReport.h"
#include "texts/ReportTexts.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

namespace mx {

void showPrintPreview(App& app, QWidget* parent)
{
    const int language = app.messenger.language();
    const QString fileName = app.image.currentFileName;
    const auto doc = report::buildDocument(app.image, language, fileName);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    printer.setDocName(text(ReportText::Title, language));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(text(ReportText::Title, language));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* target) { report::printDocument(*doc, *target); });

    // Saving a PDF straight from the preview, beside the printer's own "print to file".
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* save = bar->addAction(text(ReportText::SavePdf, language));
        save->setObjectName(QStringLiteral("savePdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] {
            const QFileInfo data(fileName);
            const QString suggested = data.dir().filePath(data.completeBaseName() + QStringLiteral(".pdf"));
            QString path = QFileDialog::getSaveFileName(
                &dialog, text(ReportText::SavePdf, language).remove(QStringLiteral("...")), suggested,
                text(ReportText::PdfFilter, language));
            if (path.isEmpty()) return;
            if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
            if (!report::writePdf(*doc, path))
                app.messenger.ask(TextId::FileError, Buttons::Ok, Icon::Critical);
        });
    }
    dialog.exec();
}

} // namespace mx
