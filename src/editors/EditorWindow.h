#pragma once

#include <QString>
#include <QWidget>

namespace mx {

class RadioImage;
class Messenger;

// The four editor kinds; the main window holds at most one window of each.
enum class EditorKind { ChannelInfo, OptFeatures, ToneTips, TVChannel };

// What every editor works on: the radio data image (every change is written
// into its working copy at once) and the messenger (current language, message
// boxes). Owned by the main window, outliving every editor.
struct EditorContext
{
    RadioImage& image;
    Messenger& messenger;
};

// A child window of the main window that edits part of the radio data image.
class EditorWindow : public QWidget
{
    Q_OBJECT
public:
    EditorWindow(EditorKind kind, EditorContext& context, QWidget* parent = nullptr)
        : QWidget(parent), m_kind(kind), m_context(context)
    {
    }

    EditorKind kind() const { return m_kind; }
    // The window's name: "frmCommChInfo", "FrmOptFeatures", "FrmToneTips", "FrmTVCH".
    static QString nameOf(EditorKind kind);

    // Re-applies every caption in the messenger's current language.
    virtual void applyLanguage() = 0;
    // Stores a value still being typed (run before saves, checks, transfers and closing).
    virtual void commitPending() = 0;
    // Stops anything running in the background (tone playback) before the window goes.
    virtual void stopActivity() {}

Q_SIGNALS:
    // A change of the user was written into the image.
    void edited();

protected:
    EditorContext& context() { return m_context; }

private:
    EditorKind m_kind;
    EditorContext& m_context;
};

// Makes the editor window of a kind (a child of parent).
EditorWindow* createEditor(EditorKind kind, EditorContext& context, QWidget* parent = nullptr);

} // namespace mx
