#pragma once

#include "link/PortNames.h"

#include <QDialog>
#include <QList>
#include <QTimer>

class QComboBox;
class QLabel;
class QPushButton;
class QLineEdit;

namespace mx {

struct App;
class PortSetting;

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
// by path and a typed path (a pseudo-terminal) is accepted, kept as comPortName;
// a path that does not exist or is no serial device is kept when the user confirms it.
class PortDialog : public QDialog
{
    Q_OBJECT
public:
    PortDialog(App& app, const PortSetting& port, QWidget* parent = nullptr);

    QComboBox* combo() const { return m_combo; }
    // Lists the ports again and reselects the user's current choice.
    void refresh();
    void confirm();

private:
    void fill();
    // A typed device that does not exist or is no serial device is kept only when the user says so.
    bool keepTyped(const QString& device);
    App& m_app;
    const PortSetting& m_port;
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

} // namespace mx
