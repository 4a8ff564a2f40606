#pragma once

#include "editors/EditorWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mx {

// TV channel frequency rules (MHz, 150..170).
namespace tvch {
// Places a frequency on the channel raster: a value on neither the 5 kHz nor
// the 6.25 kHz raster moves down to the 5 kHz one (160.003 -> 160.0).
double step(double mhz);
// A typed frequency after the range and raster rules, in its shortest decimal
// form ("171" -> "170", "160.1" -> "160.1"); "" when the text is no number.
QString checkFrequency(const QString& text);
// The grid's form of a frequency, "000.00000".
QString shownFrequency(double mhz);
} // namespace tvch

// The TV channel window: a grid of the 32 channels (frequency, TBST, W/N), an
// editor laid over the cell being edited, and the current TV channel.
//
// Controls: "MSFlexGrid1" (row r-1 is channel r, column 0 its number),
// "Text1", "Combo2", "Combo3" (the cell editors), "Combo1" (current channel).
class FrmTVCH : public EditorWindow
{
    Q_OBJECT
public:
    explicit FrmTVCH(EditorContext& context, QWidget* parent = nullptr);

    void applyLanguage() override;
    void commitPending() override { saveTVChannel(); }

    // Opens the editor of channel row (1..32), column 1 frequency, 2 TBST, 3 W/N
    // (what a double click on the cell does).
    void editCell(int row, int column);
    // Stores the edit in progress and hides the cell editors.
    void saveTVChannel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Stores the edit in progress and hides the cell editors; true when the image changed.
    bool storeEdit();
    bool chooseOption(int index);
    void showRow(int row);
    void fillCurrentList();
    void placeEditor();
    void hideEditors();
    void setLists();
    void fitColumns();

    QTableWidget* m_grid = nullptr;
    QLineEdit* m_text = nullptr;
    QComboBox* m_tbst = nullptr;
    QComboBox* m_width = nullptr;
    QComboBox* m_current = nullptr;
    QLabel* m_currentLabel = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
    int m_row = 0; // cell being edited, 0 when none
    int m_column = 0;
    bool m_loaded = false;
    bool m_saving = false;
};

} // namespace mx
