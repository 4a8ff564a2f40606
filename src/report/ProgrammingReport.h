#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace mx {

class RadioImage;

// The programming information of an image as a printable document: the title,
// the file name and date, the channels of every enabled band of the image's
// range family (a table per band), the option features, the tone tips with
// their bar pictures and the TV channels in use, all shown as the editors show
// them, in the given language (1 English, 2 Chinese).
namespace report {

std::unique_ptr<QTextDocument> buildDocument(const RadioImage& image, int language, const QString& fileName,
                                             const QDateTime& when = QDateTime::currentDateTime());

// Lays doc out on the device's pages (with page numbers) and paints it there.
void printDocument(const QTextDocument& doc, QPagedPaintDevice& device);

// Writes doc as an A4 PDF at path. The file is replaced only once the whole
// document is written; false with the reason in *error otherwise.
bool writePdf(const QTextDocument& doc, const QString& path, QString* error = nullptr);

} // namespace report
} // namespace mx
