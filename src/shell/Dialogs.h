#pragma once

#include "link/PortNames.h"

#include <QDialog>
#include <QList>
#include <QTimer>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QProgressBar;

namespace mx {

struct App;

// FrmSetLanguage: English alone on a system that is not Chinese, both
// languages on a Chinese one. OK changes the language words and records the
// current language in mysetup.ini; only 1 and 2 are ever stored.
class LanguageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LanguageDialog(App& app, QWidget* parent = nullptr);
    QComboBox* combo() const { return m_combo; }
    void confirm();

private:
    App& m_app;
    QComboBox* m_combo;
    QLabel* m_label;
};

// FrmComSet: the serial ports, refreshed every second. With COM numbers the
// choice is kept as comPort; on systems without them the devices are listed
// by path and a typed path (a pseudo-terminal) is accepted, kept as comPortName.
class PortDialog : public QDialog
{
    Q_OBJECT
public:
    using Lister = std::function<QList<ports::PortEntry>()>;
    PortDialog(App& app, Lister lister, bool comNumbers, QWidget* parent = nullptr);

    QComboBox* combo() const { return m_combo; }
    // Lists the ports again and reselects the user's current choice.
    void refresh();
    void confirm();

private:
    void fill();
    App& m_app;
    Lister m_lister;
    bool m_comNumbers;
    QList<ports::PortEntry> m_ports;
    QComboBox* m_combo;
    QLabel* m_label;
    QTimer m_refresh;
    int m_selected = 0;
    QString m_selectedDevice;
};

// FrmAbout2 (English) and frmAbout (Chinese): title, version, OK, and the
// system information button where such a tool exists.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    AboutDialog(int language, QWidget* parent = nullptr);
    // Path of the system information tool, "" where none is installed.
    static QString systemInfoTool();
};

// FrmProgress and frmMProgress: the percentage of a transfer, and for a
// multi-radio write the radio being written. Closing the window by its button
// or Esc asks to cancel the transfer; the session closes it when the transfer ends.
class ProgressWindow : public QWidget
{
    Q_OBJECT
public:
    ProgressWindow(bool reading, int radios, int language, QWidget* parent = nullptr);

    void setPercent(int percent);
    void setRadio(int number);
    void setWaiting(bool waiting);
    // Multi-radio write: the radio just written is being read back.
    void setVerifying(bool verifying);
    // Closes without asking to cancel.
    void finish();

    int percent() const;

Q_SIGNALS:
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QProgressBar* m_bar;
    QLabel* m_percent;
    QProgressBar* m_radioBar = nullptr;
    QLabel* m_radio = nullptr;
    QLabel* m_waiting = nullptr;
    QLabel* m_verifying = nullptr;
    bool m_finishing = false;
    bool m_inClose = false;
};

} // namespace mx
