#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace mx {

class RadioImage;
class Messenger;

// The editor kinds; the main window holds at most one window of each.
enum class EditorKind { ChannelInfo, OptFeatures, ToneTips, TVChannel, ChannelTable };

// What every editor works on: the radio data image (every change is written
// into its working copy at once) and the messenger (current language, message
// boxes). Owned by the main window, outliving every editor.
struct EditorContext
{
    RadioImage& image;
    Messenger& messenger;
};

// A child window of the main window that edits part of the radio data image.
//
// What all editors share lives here: the one way a choice from a list or a
// check box is stored, the one way a typed field is committed, and the one
// way the window closes (a value still being typed is stored, playback
// stops). Lists never react to the mouse wheel unless they have the keyboard
// focus: the wheel scrolls the window instead.
class EditorWindow : public QWidget
{
    Q_OBJECT
public:
    EditorWindow(EditorKind kind, EditorContext& context, QWidget* parent = nullptr)
        : QWidget(parent), m_kind(kind), m_context(context)
    {
    }
    ~EditorWindow() override;

    EditorKind kind() const { return m_kind; }
    // The window's name: "frmCommChInfo", "FrmOptFeatures", "FrmToneTips", "FrmTVCH", "FrmChannelTable".
    static QString nameOf(EditorKind kind);

    // Re-applies every caption in the messenger's current language.
    virtual void applyLanguage() = 0;
    // Stores a value still being typed (run before saves, checks, transfers and closing).
    virtual void commitPending() = 0;
    // Stops anything running in the background (tone playback) before the window goes.
    virtual void stopActivity() {}

    // What the Close button does: closes the window, or the frame the main
    // window put it in.
    void closeWindow();

    // Inside the main window no larger than the room its editor area offers,
    // so that a window opened there shows whole, Close included.
    QSize sizeHint() const override;

Q_SIGNALS:
    // A change of the user was written into the image.
    void edited();
    // A short notice for the main window's status bar.
    void notice(const QString& text);

protected:
    EditorContext& context() { return m_context; }

    // The user's choice of item `index` in box goes to store, which writes it
    // into the image and returns true when the stored value changed. Store
    // compares with the value in the image, never with the item on show: an
    // item shown for a value the list cannot hold is stored when chosen.
    // Lists the window fills itself raise nothing. Box is guarded against the
    // wheel (widgets::guardWheel).
    void onChoice(QComboBox* box, std::function<bool(int index)> store);
    void onChoice(QAbstractButton* box, std::function<bool(bool checked)> store);
    // Writes value into field unless the field holds it already; true when it changed.
    static bool store(qint16& field, int value);

    // A typed field is committed when the focus leaves it, and on Enter;
    // enter, when given, runs on Enter instead of commit.
    void onLeave(QLineEdit* edit, std::function<void()> commit, std::function<void()> enter = {});

    // Closing stores what is being typed and stops playback.
    void closeEvent(QCloseEvent* event) override;
    // The window never becomes smaller than its layout needs: a frame made
    // smaller cuts it off instead of laying controls over one another.
    bool event(QEvent* event) override;

private:
    EditorKind m_kind;
    EditorContext& m_context;
    QList<QPointer<QObject>> m_watchers;
};

// Makes the editor window of a kind (a child of parent).
EditorWindow* createEditor(EditorKind kind, EditorContext& context, QWidget* parent = nullptr);

} // namespace mx
