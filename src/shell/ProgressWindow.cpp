#include "shell/ProgressWindow.h"

#include "app/Startup.h"
#include "app/Transfers.h"
#include "texts/MainTexts.h"
#include "texts/Texts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace mx {

ProgressWindow::ProgressWindow(bool reading, int radios, int language, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_bar(new QProgressBar(this)), m_percent(new QLabel(this))
{
    const bool multi = radios > 0;
    setObjectName(multi ? QStringLiteral("frmMProgress") : QStringLiteral("FrmProgress"));
    setWindowTitle(text(reading ? TextId::ProgressReadCaption : TextId::ProgressWriteCaption, language));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(this);
    auto* caption = new QLabel(text(TextId::CompletionPercentage, language), this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_percent->setObjectName(QStringLiteral("Label2"));
    m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setAccessibleName(text(TextId::CompletionPercentage, language));
    m_bar->setMinimumWidth(320);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(m_percent, 0, 1);
    grid->addWidget(m_bar, 1, 0, 1, 2);
    if (multi) {
        auto* counterCaption = new QLabel(text(TextId::RadioCounterCaption, language), this);
        counterCaption->setObjectName(QStringLiteral("Label4"));
        counterCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_radio = new QLabel(QStringLiteral("1"), this);
        m_radio->setObjectName(QStringLiteral("Label3"));
        m_radioBar = new QProgressBar(this);
        m_radioBar->setObjectName(QStringLiteral("ProgressBar2"));
        m_radioBar->setRange(0, radios);
        m_radioBar->setValue(1);
        m_radioBar->setFormat(QStringLiteral("%v / %m"));
        m_radioBar->setAccessibleName(text(TextId::RadioCounterCaption, language));
        m_waiting = new QLabel(text(TextId::WaitingForNextRadio, language), this);
        m_waiting->setObjectName(QStringLiteral("lblWaiting"));
        m_waiting->setWordWrap(true);
        m_waiting->hide();
        m_verifying = new QLabel(mainText(MainText::VerifyingRadio, language), this);
        m_verifying->setObjectName(QStringLiteral("lblVerifying"));
        m_verifying->setWordWrap(true);
        m_verifying->hide();
        grid->addWidget(counterCaption, 2, 0);
        grid->addWidget(m_radio, 2, 1);
        grid->addWidget(m_radioBar, 3, 0, 1, 2);
        grid->addWidget(m_waiting, 4, 0, 1, 2);
        grid->addWidget(m_verifying, 5, 0, 1, 2);
    }
    // Cancel: the same as closing the window.
    auto* cancel = new QPushButton(text(TextId::ButtonCancel, language), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    grid->addWidget(cancel, 6, 1, Qt::AlignRight);
    setPercent(0);
}

void ProgressWindow::setPercent(int percent)
{
    m_bar->setValue(qBound(0, percent, 100));
    m_percent->setText(QString::number(percent) + QLatin1Char('%'));
}

void ProgressWindow::setRadio(int number)
{
    if (!m_radioBar) return;
    m_radioBar->setValue(qMin(number, m_radioBar->maximum()));
    m_radio->setText(QString::number(number));
    setPercent(0);
}

void ProgressWindow::setWaiting(bool waiting)
{
    if (m_waiting) m_waiting->setVisible(waiting);
}

void ProgressWindow::setVerifying(bool verifying)
{
    if (m_verifying) m_verifying->setVisible(verifying);
}

int ProgressWindow::percent() const
{
    return m_bar->value();
}

void ProgressWindow::finish()
{
    m_finishing = true;
    if (!m_inClose) close();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc: the same as closing the window.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    if (!m_finishing) {
        // The user closes the window: the transfer is cancelled, and the
        // session's end closes the window (now, or once the port is closed).
        m_inClose = true;
        Q_EMIT cancelRequested();
        m_inClose = false;
    }
    event->setAccepted(m_finishing);
}

// ---------------------------------------------------------------- following a transfer

TransferProgress::TransferProgress(Transfers& transfers, const App& app, QWidget* parent)
    : QObject(parent), m_transfers(transfers), m_app(app), m_parent(parent)
{
    Session& session = transfers.session();
    connect(&transfers, &Transfers::started, this, &TransferProgress::open);
    connect(&session, &Session::progress, this, [this](int percent) {
        if (m_window) m_window->setPercent(percent);
    });
    connect(&session, &Session::radioChanged, this, [this](int number) {
        if (m_window) m_window->setRadio(number);
    });
    connect(&session, &Session::waitingForNextRadio, this, [this](bool waiting) {
        if (m_window) m_window->setWaiting(waiting);
    });
    connect(&session, &Session::verifyingRadio, this, [this](bool verifying) {
        if (m_window) m_window->setVerifying(verifying);
    });
    connect(&session, &Session::transferEnded, this, [this] {
        if (m_window) m_window->finish();
    });
}

void TransferProgress::open(bool reading, int radios)
{
    m_window = new ProgressWindow(reading, radios, m_app.language(), m_parent);
    connect(m_window, &ProgressWindow::cancelRequested, this, [this] {
        if (m_transfers.isRunning())
            m_transfers.cancel();
        else
            m_window->finish();
    });
    m_window->show();
}

} // namespace mx
