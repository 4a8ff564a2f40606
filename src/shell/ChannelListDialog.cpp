#include "shell/ChannelListDialog.h"

#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "editors/WidgetSupport.h"
#include "texts/TableTexts.h"
#include "texts/Texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mx {

ChannelListDialog::ChannelListDialog(bool importing, const ChannelListChoice& proposed, int language,
                                     QWidget* parent)
    : QDialog(parent), m_importing(importing), m_language(language), m_layout(new QComboBox(this)),
      m_family(new QComboBox(this)), m_band(new QComboBox(this))
{
    setObjectName(QStringLiteral("FrmChannelList"));
    setWindowTitle(tableText(TableText::LayoutTitle, language));
    auto* grid = new QGridLayout;
    auto labelled = [&](int row, QComboBox* box, const char* name, TableText caption) {
        box->setObjectName(QLatin1String(name));
        auto* label = new QLabel(this);
        widgets::addRow(grid, row, label, box);
        widgets::setCaption(label, box, tableText(caption, language));
        return label;
    };
    m_layout->addItems(
        {tableText(TableText::OwnLayout, language), tableText(TableText::CommonLayout, language)});
    m_layout->setCurrentIndex(proposed.common ? 1 : 0);
    for (int m = 0; m < FamilyCount; ++m)
        m_family->addItem(imagetext::familyName(m) + QStringLiteral(" -- ") + freq::rangeTextFor(m));
    m_family->setCurrentIndex(qBound(0, proposed.family, FamilyCount - 1));
    QLabel* layoutLabel = labelled(0, m_layout, "ComboLayout", TableText::LayoutLabel);
    labelled(1, m_family, "ComboFamily", TableText::FamilyLabel);
    labelled(2, m_band, "ComboBand", TableText::BandLabel);
    // An import is of a list in the common layout already: only where it goes is asked.
    layoutLabel->setVisible(!importing);
    m_layout->setVisible(!importing);
    fillBands();
    m_band->setCurrentIndex(importing ? qMax(0, proposed.band - 1) : qMax(0, proposed.band));
    auto follow = [this] {
        const bool common = m_importing || m_layout->currentIndex() == 1;
        m_family->setEnabled(common);
        m_band->setEnabled(common);
    };
    connect(m_layout, &QComboBox::currentIndexChanged, this, follow);
    connect(m_family, &QComboBox::currentIndexChanged, this, &ChannelListDialog::fillBands);
    follow();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text(TextId::ButtonOk, language), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(text(TextId::ButtonCancel, language), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);
}

// The bands of the chosen family, after "All bands" on export.
void ChannelListDialog::fillBands()
{
    const int kept = m_band->currentIndex();
    m_band->clear();
    if (!m_importing) m_band->addItem(tableText(TableText::AllBands, m_language));
    for (int b = 1; b <= BandCount; ++b)
        m_band->addItem(freq::bandName(b, m_family->currentIndex()));
    m_band->setCurrentIndex(qMax(0, kept));
}

ChannelListChoice ChannelListDialog::choice() const
{
    return {m_importing || m_layout->currentIndex() == 1, m_family->currentIndex(),
            m_importing ? m_band->currentIndex() + 1 : m_band->currentIndex()};
}

} // namespace mx
