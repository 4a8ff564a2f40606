#include "shell/Dialogs.h"

#include "app/PortSetting.h"
#include "app/Startup.h"
#include "editors/WidgetSupport.h"
#include "texts/MainTexts.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace mx {

namespace {

// OK and Cancel with the program's captions.
QDialogButtonBox* okCancel(QDialog* dialog, int language)
{
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(text(TextId::ButtonOk, language), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("CommandOK"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(text(TextId::ButtonCancel, language), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CommandCancel"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// Enter in a list moves on to the next control instead of confirming.
class EnterIsTab : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (auto* w = qobject_cast<QWidget*>(watched))
                    w->nextInFocusChain()->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return false;
    }
};

} // namespace

// ---------------------------------------------------------------- language

LanguageDialog::LanguageDialog(App& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_combo(new QComboBox(this)), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("FrmSetLanguage"));
    const int language = app.settings.currentLanguage == Chinese ? Chinese : English;
    setWindowTitle(mainText(MainText::LanguageDialogTitle, language));
    m_label->setText(mainText(MainText::LanguageMode, language));
    m_label->setBuddy(m_combo);
    m_combo->setObjectName(QStringLiteral("Combo1"));
    m_combo->installEventFilter(new EnterIsTab(m_combo));
    widgets::guardWheel(m_combo);

    // The names in the current language; a Chinese system offers both.
    const int base = 2 * (language - 1);
    m_combo->addItem(languageName(base + 1));
    if (app.settings.systemLanguage != English || language == Chinese)
        m_combo->addItem(languageName(base + 2));
    // The current language is always listed and shown.
    m_combo->setCurrentIndex(language == Chinese ? 1 : 0);

    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_combo, 1);
    auto* buttons = okCancel(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &LanguageDialog::confirm);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void LanguageDialog::confirm()
{
    Settings& s = m_app.settings;
    const int language = s.currentLanguage == Chinese ? Chinese : English;
    const int base = 2 * (language - 1);
    const QString chosen = m_combo->currentText();
    const int index = chosen == languageName(base + 1)   ? English
                      : chosen == languageName(base + 2) ? Chinese
                                                         : 0;
    // Only 1 and 2 are languages; anything else keeps the current one.
    if (index != 0 && index != s.currentLanguage) {
        s.previousLanguage = s.currentLanguage;
        s.currentLanguage = index;
    }
    s.saveLanguage(m_app.settingsPath());
    accept();
}

// ---------------------------------------------------------------- port

PortDialog::PortDialog(App& app, const PortSetting& port, QWidget* parent)
    : QDialog(parent), m_app(app), m_port(port), m_comNumbers(port.comNumbers()),
      m_combo(new QComboBox(this)), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("FrmComSet"));
    const int language = app.messenger.language();
    setWindowTitle(mainText(MainText::PortDialogTitle, language));
    m_label->setText(m_comNumbers ? mainText(MainText::PortLabel, language)
                                  : mainText(MainText::PortPathLabel, language));
    m_label->setBuddy(m_combo);
    m_combo->setObjectName(QStringLiteral("Combo1"));
    widgets::guardWheel(m_combo);
    m_combo->setMinimumContentsLength(18);
    if (!m_comNumbers) {
        // Devices by path; a path can be typed (the emulator's pseudo-terminal).
        m_combo->setEditable(true);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->lineEdit()->setPlaceholderText(mainText(MainText::PortPathHint, language));
        m_combo->setToolTip(mainText(MainText::PortPathHint, language));
    }
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        m_selected = index >= 0 && index < m_ports.size() ? m_ports[index].number : 0;
        m_selectedDevice = index >= 0 && index < m_ports.size() ? m_ports[index].deviceName : QString();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_combo, 1);
    auto* buttons = okCancel(this, language);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortDialog::confirm);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);

    // The port in use, as the settings hold it.
    m_selected = app.settings.comPort;
    m_selectedDevice = port.device();
    fill();
    if (!m_comNumbers && !app.settings.comPortName.isEmpty()) m_combo->setEditText(app.settings.comPortName);

    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &PortDialog::refresh);
    m_refresh.start();
}

void PortDialog::fill()
{
    m_ports = m_port.listed();
    const QString typed = m_comNumbers ? QString() : m_combo->currentText();
    const QSignalBlocker block(m_combo);
    m_combo->clear();
    for (const ports::PortEntry& p : m_ports)
        m_combo->addItem(m_comNumbers ? p.shown : p.deviceName);
    if (m_ports.isEmpty()) {
        m_selected = 0;
        m_selectedDevice.clear();
        m_combo->setCurrentIndex(-1);
        if (!m_comNumbers) m_combo->setEditText(typed);
        return;
    }
    int k = -1;
    for (int i = 0; i < m_ports.size() && k < 0; ++i)
        if (m_comNumbers ? m_ports[i].number == m_selected : m_ports[i].deviceName == m_selectedDevice) k = i;
    if (k < 0 && (m_comNumbers || typed.isEmpty())) k = 0; // the choice is gone: the first port
    if (k >= 0) {
        m_combo->setCurrentIndex(k);
        m_selected = m_ports[k].number;
        m_selectedDevice = m_ports[k].deviceName;
    } else {
        m_combo->setCurrentIndex(-1);
        m_combo->setEditText(typed);
    }
}

void PortDialog::refresh()
{
    // Keep what the user is typing: only the list changes under it.
    if (!m_comNumbers && m_combo->lineEdit() && m_combo->lineEdit()->hasFocus() &&
        m_combo->currentText() != m_selectedDevice)
        return;
    fill();
}

bool PortDialog::keepTyped(const QString& device)
{
    for (const ports::PortEntry& p : std::as_const(m_ports))
        if (p.deviceName == device) return true;
    const ports::PathKind kind = ports::pathKind(device);
    if (kind == ports::PathKind::Serial) return true;
    // The adapter may not be plugged in yet: the user decides.
    const MainText question =
        kind == ports::PathKind::Missing ? MainText::PortPathMissing : MainText::PortPathNotSerial;
    return m_app.messenger.ask(mainText(question, m_app.messenger.language()).arg(device), Buttons::YesNo,
                               Icon::Exclamation) == Answer::Yes;
}

void PortDialog::confirm()
{
    Settings& s = m_app.settings;
    if (m_comNumbers) {
        // No port listed: port 0, which every opening then refuses; nothing is written.
        if (m_combo->currentIndex() < 0) {
            s.comPort = 0;
            accept();
            return;
        }
        bool ok = false;
        const int n = m_combo->currentText().mid(3).toInt(&ok);
        if (ok) {
            s.comPort = n;
            s.comPortName.clear();
            s.saveComPort(m_app.settingsPath());
        }
    } else {
        const QString device = m_combo->currentText().trimmed();
        if (!device.isEmpty() && !keepTyped(device)) return;
        if (!device.isEmpty()) {
            s.comPortName = device;
            s.saveComPort(m_app.settingsPath());
        }
    }
    m_refresh.stop();
    accept();
}

// ---------------------------------------------------------------- about

AboutDialog::AboutDialog(int language, QWidget* parent) : QDialog(parent)
{
    setObjectName(language == Chinese ? QStringLiteral("frmAbout") : QStringLiteral("FrmAbout2"));
    setWindowTitle(mainText(MainText::AboutTitle, language));
    auto* title = new QLabel(QApplication::applicationName(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* version =
        new QLabel(mainText(MainText::AboutVersion, language) + QApplication::applicationVersion(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* description = new QLabel(mainText(MainText::AboutDescription, language), this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text(TextId::ButtonOk, language), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    const QString tool = systemInfoTool();
    if (!tool.isEmpty()) {
        QPushButton* info = buttons->addButton(language == Chinese ? QStringLiteral("系统信息(&S)...")
                                                                   : QStringLiteral("&System Info..."),
                                               QDialogButtonBox::ActionRole);
        info->setObjectName(QStringLiteral("cmdSysInfo"));
        connect(info, &QPushButton::clicked, this, [tool] { QProcess::startDetached(tool, {}); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(description);
    layout->addWidget(buttons);
}

QString AboutDialog::systemInfoTool()
{
#ifdef Q_OS_WIN
    return QStandardPaths::findExecutable(QStringLiteral("msinfo32"));
#else
    for (const char* name : {"hardinfo", "gnome-system-monitor", "ksysguard"})
        if (const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name)); !path.isEmpty())
            return path;
    return {};
#endif
}

} // namespace mx
