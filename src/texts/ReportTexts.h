#pragma once

#include <QString>

namespace mx {

// Captions of the printed programming information.
enum class ReportText {
    Title,       // "MX_806TQ Radio Programming Information"
    File,        // "File"
    Date,        // "Date"
    Range,       // "Range"
    NoChannels,  // a band without channels
    Item,        // header of the option table's first column
    Value,       // header of its second column
    Usable,      // a tone tip that channels may refer to
    NotUsable,   // one that repeats never or has no tone length
    NoTVChannel, // no TV channel in use
    SavePdf,     // the print preview's "Save as PDF..."
    PdfFilter,   // its file dialog's filter
    Count
};

QString text(ReportText id, int language);

} // namespace mx
