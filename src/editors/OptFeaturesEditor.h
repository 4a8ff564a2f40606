#pragma once

#include "data/RadioData.h"
#include "editors/EditorWindow.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mx {

// The option features window. Every choice is written into OptFeatRecord at
// once; showing the record writes nothing, and a value the lists cannot hold
// (an erased radio's 255) is shown as the nearest item and kept until the
// user picks an item, the one shown included.
//
// Controls are named after their place: check boxes "Check1_3", "Check2_0".."Check2_7",
// lists "Combo1_k", text boxes "Text2_0".."Text2_3".
class FrmOptFeatures : public EditorWindow
{
    Q_OBJECT
public:
    explicit FrmOptFeatures(EditorContext& context, QWidget* parent = nullptr);
    ~FrmOptFeatures() override;

    void applyLanguage() override;
    // Normalises and stores a text box still being edited.
    void commitPending() override;

    // Refills the roger list with the usable tips and shows RogerTone in it.
    void showRB();

private:
    struct ComboSlot;
    struct TextSlot;

    // Stores one control: list k is k, Check1 k is 100 + k, Check2 k is 300 + k.
    // Codes that name no field change nothing. True when the record changed.
    bool saveOptFeat(int index);
    void fillLists();
    void showOptFeat();
    void showItem(ComboSlot* slot);
    // Normalises text box k and stores it (with its partner for the battery pair).
    void leaveText(int k);
    OptFeatRecord& record();

    QList<ComboSlot*> m_combos;
    QList<TextSlot*> m_texts;
    QList<QCheckBox*> m_checks; // 9: Check2 0..7, then Check1 3
    QGroupBox* m_batteryFrame = nullptr;
    QGroupBox* m_publicFrame = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
    bool m_loaded = false;
};

} // namespace mx
