#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace mx {

struct App;
class Transfers;

// FrmProgress and frmMProgress: the percentage of a transfer, and for a
// multi-radio write the radio being written. Closing the window (its frame's
// button, Esc or its Cancel button) asks to cancel the transfer; the session
// closes it when the transfer ends.
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

// The progress window of every transfer: opened when a transfer starts, fed by
// the session, closed when the transfer ends. Closing it cancels the transfer.
class TransferProgress : public QObject
{
    Q_OBJECT
public:
    TransferProgress(Transfers& transfers, const App& app, QWidget* parent);
    ProgressWindow* window() const { return m_window; }

private:
    void open(bool reading, int radios);

    Transfers& m_transfers;
    const App& m_app;
    QWidget* m_parent;
    QPointer<ProgressWindow> m_window;
};

} // namespace mx
