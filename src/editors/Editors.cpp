#include "editors/ChannelEditor.h"
#include "editors/ChannelTableEditor.h"
#include "editors/EditorWindow.h"
#include "editors/OptFeaturesEditor.h"
#include "editors/TVChannelEditor.h"
#include "editors/ToneTipsEditor.h"

namespace mx {

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
    case EditorKind::ChannelTable:
        return QStringLiteral("FrmChannelTable");
    }
    return {};
}

EditorWindow* createEditor(EditorKind kind, EditorContext& context, QWidget* parent)
{
    EditorWindow* editor = nullptr;
    switch (kind) {
    case EditorKind::ChannelInfo:
        editor = new ChannelEditor(context, parent);
        break;
    case EditorKind::OptFeatures:
        editor = new FrmOptFeatures(context, parent);
        break;
    case EditorKind::ToneTips:
        editor = new FrmToneTips(context, nullptr, parent);
        break;
    case EditorKind::TVChannel:
        editor = new FrmTVCH(context, parent);
        break;
    case EditorKind::ChannelTable:
        editor = new FrmChannelTable(context, parent);
        break;
    }
    editor->setObjectName(EditorWindow::nameOf(kind));
    return editor;
}

} // namespace mx
