#include "editors/ComboSelect.h"

#include <QComboBox>

namespace mx::combo {

QString itemText(const QComboBox* box, int index)
{
    if (box->count() == 0) return {};
    return box->itemText(index >= 0 && index < box->count() ? index : 0);
}

QString findText(const QComboBox* box, const QString& text)
{
    if (box->count() == 0) return {};
    const int k = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return box->itemText(k >= 0 ? k : 0);
}

namespace {
void select(QComboBox* box, const QString& text)
{
    box->setCurrentIndex(text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}
} // namespace

void setText(QComboBox* box, const QString& text)
{
    select(box, findText(box, text));
}

void setIndex(QComboBox* box, int index)
{
    select(box, itemText(box, index));
}

} // namespace mx::combo
