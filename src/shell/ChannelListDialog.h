#pragma once

#include "app/Document.h"

#include <QDialog>

class QComboBox;

namespace mx {

// File > Export Channels / Import Channels: the layout of the list (export)
// and, for the common radio-programmer layout, the range family and band
// (with "All bands" on export).
class ChannelListDialog : public QDialog
{
    Q_OBJECT
public:
    ChannelListDialog(bool importing, const ChannelListChoice& proposed, int language,
                      QWidget* parent = nullptr);

    ChannelListChoice choice() const;
    QComboBox* layoutBox() const { return m_layout; }
    QComboBox* familyBox() const { return m_family; }
    QComboBox* bandBox() const { return m_band; }

private:
    void fillBands();

    bool m_importing;
    int m_language;
    QComboBox* m_layout;
    QComboBox* m_family;
    QComboBox* m_band;
};

} // namespace mx
