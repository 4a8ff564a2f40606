#pragma once

#include "editors/EditorWindow.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mx {

struct ChannelRecord;

// frmCommChInfo: the channels of one band of one range family as a list of
// 40 rows numbered by channel number, with the receive frequency typed into
// an edit box laid over the cell, and the options of the current row's
// channel in a detail panel. Every change goes into the working copy at once;
// values that are merely shown (also values no editor would produce, such as
// those of an erased radio) are never written back.
class ChannelEditor : public EditorWindow
{
    Q_OBJECT
public:
    static constexpr int Rows = 40;

    explicit ChannelEditor(EditorContext& context, QWidget* parent = nullptr);

    void applyLanguage() override;
    void commitPending() override;

    // A channel name's number: trailing blanks removed, cut at NUL, 0 when not a number.
    static int chId(const QString& name);
    static QString chName(int number);

    // The range family (0..2) and band (1..8) on show.
    int family() const { return m_family; }
    int band() const { return m_band; }
    // The text a row of the list shows for a channel of the band on show.
    QString shownText(const ChannelRecord& channel);

    // Rebuilds the roger list from the usable tone tips; a shown number that
    // is no longer offered becomes "OFF" (nothing is stored).
    void showRB();
    // Shows row n (1..40) and the band's switch again after the store changed.
    void reShowGrid(int n);
    // Opens the edit box over the current cell when it is a frequency.
    void enterGridEdit();
    // Current row + 1, from the last row back to row 1; the list takes the focus.
    void gridNextLine();
    void gridNextCol();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Detail { Tsq, Rep, Roger, Public, Busy, HiCut, DetailCount };

    void buildWidgets();
    void fillLists();
    void showFamily();
    void showBand();
    void setGridData();
    void showRow(int n);
    void showDetail();
    void enableDetailFields(int publicIndex);
    void initValidComboList();
    void showValidComboText();
    void placeEditBox();
    void saveShowGridData();
    void enterPressed();
    bool filterEditKey(const class QKeyEvent* event);

    // The lists' choices; true when the image changed.
    bool chooseFamily(int index);
    bool chooseBand(int index);
    bool chooseWorkChannel(int index);
    bool chooseBandValid(int index);
    bool chooseDetail(int which, int index);

    QLabel* m_rangeLabel = nullptr;
    QComboBox* m_rangeBox = nullptr;
    QGroupBox* m_rangeFrame = nullptr;
    QLabel* m_bandLabel = nullptr;
    QComboBox* m_bandBox = nullptr;
    QGroupBox* m_bandFrame = nullptr;
    QLabel* m_workLabel = nullptr;
    QComboBox* m_workBox = nullptr;
    QLabel* m_validLabel = nullptr;
    QComboBox* m_validBox = nullptr;
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_edit = nullptr;
    QGroupBox* m_detail = nullptr;
    std::array<QLabel*, DetailCount> m_detailLabels{};
    std::array<QComboBox*, DetailCount> m_detailBoxes{};
    QPushButton* m_close = nullptr;

    bool m_ready = false; // built: a change of language also shows the band again
    int m_family = 0;
    int m_band = 1;
    // The cell being edited, the band it belongs to and the text it started with.
    int m_editRow = 0;
    int m_editCol = 0;
    int m_editFamily = 0;
    int m_editBand = 1;
    QString m_editOriginal;
};

} // namespace mx
