#include "editors/EditorWindow.h"
#include "editors/OptFeaturesEditor.h"
#include "editors/TVChannelEditor.h"
#include "editors/ToneTipsEditor.h"

#include "texts/Captions.h"
#include "texts/Messenger.h"

#include <QLabel>
#include <QVBoxLayout>

namespace mx {

namespace {

// Window titles of the editors until each window exists.
constexpr TextPair Titles[] = {
    {"Channel Information", "信道信息"},
    {"Optional Features", "可选功能"},
    {"Roger Beep", "RB音"},
    {"TV Channel", "广播信道"},
};

class PlaceholderEditor : public EditorWindow
{
public:
    PlaceholderEditor(EditorKind kind, EditorContext& context, QWidget* parent)
        : EditorWindow(kind, context, parent), m_label(new QLabel(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_label);
        applyLanguage();
    }
    void applyLanguage() override
    {
        const QString title = pick(Titles[int(kind())], context().messenger.language());
        setWindowTitle(title);
        m_label->setText(title);
    }
    void commitPending() override {}

private:
    QLabel* m_label;
};

} // namespace

QString EditorWindow::nameOf(EditorKind kind)
{
    switch (kind) {
    case EditorKind::ChannelInfo:
        return QStringLiteral("frmCommChInfo");
    case EditorKind::OptFeatures:
        return QStringLiteral("FrmOptFeatures");
    case EditorKind::ToneTips:
        return QStringLiteral("FrmToneTips");
    case EditorKind::TVChannel:
        return QStringLiteral("FrmTVCH");
    }
    return {};
}

EditorWindow* createEditor(EditorKind kind, EditorContext& context, QWidget* parent)
{
    switch (kind) {
    case EditorKind::OptFeatures:
        return new FrmOptFeatures(context, parent);
    case EditorKind::ToneTips:
        return new FrmToneTips(context, nullptr, parent);
    case EditorKind::TVChannel:
        return new FrmTVCH(context, parent);
    default:
        break;
    }
    auto* editor = new PlaceholderEditor(kind, context, parent);
    editor->setObjectName(EditorWindow::nameOf(kind));
    return editor;
}

} // namespace mx
