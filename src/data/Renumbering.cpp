#include "data/Renumbering.h"

#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "texts/Texts.h"
#include "texts/TransferTexts.h"

namespace mx {

QList<Renumbered> renumberedByWrite(const RadioImage& image)
{
    QList<Renumbered> changes;
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int count = image.work.usedSlots(m, b);
            for (int i = 1; i <= count; ++i) {
                const int number = image.workChannels.at(m, i, b).chNo;
                if (number != i) changes.append({m, b, number, i});
            }
        }
    }
    return changes;
}

QString renumberNote(const QList<Renumbered>& changes, int language)
{
    if (changes.isEmpty()) return {};
    QStringList lines{text(TransferText::RenumberNote, language)};
    const QString separator = language == Chinese ? QStringLiteral("，") : QStringLiteral(", ");
    for (qsizetype k = 0; k < changes.size();) {
        const Renumbered& first = changes[k];
        QStringList moves;
        for (; k < changes.size() && changes[k].family == first.family && changes[k].band == first.band; ++k)
            moves << QStringLiteral("%1→%2").arg(changes[k].from).arg(changes[k].to);
        lines << text(TransferText::RenumberBand, language)
                     .arg(imagetext::familyName(first.family), freq::bandName(first.band, first.family),
                          moves.join(separator));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace mx
