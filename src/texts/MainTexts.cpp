#include "texts/MainTexts.h"

#include <cstring>
#include <iterator>

namespace mx {

namespace {

constexpr TextPair Texts[] = {
    {"COM", "通信口"},
    {"Communication Port", "通信端口"},
    {"Language Setup", "语言设置"},
    {"Language Mode", "语言模式"},
    {"&Close", "关闭(&C)"},
    {"&Help", "帮助(&H)"},
    {"Roger Beep", "RB音"},
    {"Close", "关闭"},
    {"Version ", "版本 "},
    {"System information is not available at this time.", "此时系统信息不可用"},
    {"Number of radios to write:", "要写入的对讲机台数："},
    {"Write to Group of Radios", "成批向对讲机写入数据"},
    {"Device:", "设备："},
    {"or type a device path, e.g. /dev/ttyUSB0", "或输入设备路径，例如 /dev/ttyUSB0"},
    {"Tree pane width", "树视图宽度"},
    {"Navigation tree", "导航树"},
    {"Main toolbar", "主工具栏"},
    {"Serial port: %1", "串行端口：%1"},
    {"About MX_806TQ", "关于 MX_806TQ"},
    {"Programming software for the MX-806TR radio.", "MX-806TR 对讲机写频软件。"},
    {"No backup was kept: ", "未能保存备份："},
    {"Verify failed at", "校验失败，地址"},
    {"Verify completed: the radio holds what was written.", "校验完成：对讲机中的数据与写入的数据一致。"},
    {"Reading the radio back to check it...", "正在回读对讲机进行校验..."},
    {"Radio %1 does not hold what was written: write it again.",
     "第 %1 台对讲机中的数据与写入的不一致，请重新写入。"},
    {"Channel list", "信道列表"},
    {"%1 no longer exists: it was taken off the recent files.", "%1 已不存在，已从最近的文件中删除。"},
    {"%1 channels exported to %2", "已导出 %1 个信道到 %2"},
    {"%1 channels imported from %2", "已从 %2 导入 %1 个信道"},
    {"%1 does not exist. Keep it as the port all the same (an adapter not plugged in yet)?",
     "%1 不存在。仍然使用此端口吗（例如适配器尚未插入）？"},
    {"%1 is not a serial device. Keep it as the port all the same?", "%1 不是串行设备。仍然使用此端口吗？"},
    {"No port", "无端口"},
};
static_assert(std::size(Texts) == std::size_t(MainText::Count), "main window texts out of step");

constexpr const char* LanguageNames[] = {"", "English", "Chinese", "英语", "中文"};

constexpr TextPair Sep = {nullptr, nullptr};

// The menu tree: every item with both captions and whether it is shown.
constexpr MenuEntry Menu[] = {
    {"mnuFile", "", {"&File", "文件&F"}, true, ""},
    {"mnuFileNew", "mnuFile", {"&New", "新建(&N)"}, true, "Ctrl+N"},
    {"mnuFileOpen", "mnuFile", {"&Open", "打开(&O)"}, true, "Ctrl+O"},
    {"mnuFileRecent", "mnuFile", {"Recent &Files", "最近的文件(&F)"}, true, ""},
    {"mnuFileSave", "mnuFile", {"&Save", "保存(&S)"}, true, "Ctrl+S"},
    {"mnuFileSaveAs", "mnuFile", {"Save &As", "另存为(&A)"}, true, ""},
    {"mnuFileExport", "mnuFile", {"&Export Channels...", "导出信道(&E)..."}, true, ""},
    {"mnuFileImport", "mnuFile", {"&Import Channels...", "导入信道(&I)..."}, true, ""},
    {"mnuFileBackups", "mnuFile", {"Open &Backups Folder", "打开备份文件夹(&B)"}, true, ""},
    {"mnuFileBar0", "mnuFile", Sep, true, ""},
    {"mnuFilePrint", "mnuFile", {"&Print", "打印(&P)"}, true, "Ctrl+P"},
    {"mnuFileBar1", "mnuFile", Sep, true, ""},
    {"mnuFileExit", "mnuFile", {"E&xit", "退出(&X)"}, true, "Ctrl+Q"},
    {"mnuModel", "", {"&Model", "机型(&M)"}, false, ""},
    {"mnuModelInfo", "mnuModel", {"&Model Information", "机型信息(&M)"}, false, ""},
    {"MnuBand", "", {"&Band", "频段(&B)"}, false, ""},
    {"MnuCheckRadioBand", "MnuBand", {"Check Radio &Band", "检查机器频段(&B)"}, false, ""},
    {"MnuFrequencyCheck", "MnuBand", {"Check All Channel &Frequency", "有效频率检测(&F)"}, false, ""},
    {"mnuEdit", "", {"&Edit", "编辑(&E)"}, true, ""},
    {"mnuEditUndo", "mnuEdit", {"&Undo", "撤销(&U)"}, true, "Ctrl+Z"},
    {"mnuEditRedo", "mnuEdit", {"Re&do", "重做(&D)"}, true, "Ctrl+Y"}, // R is Roger Beep's
    {"mnuEditBarUndo", "mnuEdit", Sep, true, ""},
    {"mnuChannelInfo", "mnuEdit", {"&Channel Information", "信道信息(&C)"}, true, ""},
    {"mnuChannelTable", "mnuEdit", {"Channel &Table", "信道表(&T)"}, true, ""},
    {"mnuEditBar0", "mnuEdit", Sep, true, ""},
    {"mnuTVChannel", "mnuEdit", {"&TV Channel", "广播信道(&T)"}, false, ""},
    {"mnuOptFeature", "mnuEdit", {"&Option Features", "可选功能(&O)"}, true, ""},
    {"mnuToneTips", "mnuEdit", {"&Roger Beep", "RB音(&R)"}, true, ""},
    {"mnuKeyAssignm", "mnuEdit", {"&Key Assignment", "键设置(&K)"}, false, ""},
    {"mnuScanInfo", "mnuEdit", {"&Scan Information", "扫描信息(&S)"}, false, ""},
    {"mnuEditBar1", "mnuEdit", Sep, false, ""},
    {"mnuDTMF", "mnuEdit", {"&DTMF", "DTMF(双音多频)(&D)"}, false, ""},
    {"mnuFleetSync", "mnuEdit", {"&Fleet Sync", "Fleet Sync(队列同步)(&F)"}, false, ""},
    {"mnuEditBar2", "mnuEdit", Sep, false, ""},
    {"mnuTestFre", "mnuEdit", {"&Test FreQuence", "测试频率(&T)"}, false, ""},
    {"mnuEmbeddedMsg", "mnuEdit", {"Local &Information", "本机信息(&I)"}, false, ""},
    {"mnuEMG", "mnuEdit", {"Embedded &Message", "嵌入信息(&M)"}, false, ""},
    {"mnuProgram", "", {"&Program", "编程(&P)"}, true, ""},
    {"mnuReadFromRadio", "mnuProgram", {"&Read from Radio", "从对讲机读取数据(&R)"}, true, ""},
    {"mnuWriteToRadio", "mnuProgram", {"&Write to Radio", "向对讲机写入数据(&W)"}, true, ""},
    {"mnuVerifyAfterWrite", "mnuProgram", {"&Verify After Writing", "写入后校验(&V)"}, true, ""},
    {"mnuTest", "mnuProgram", {"&Test Mode", "测试模式(&T)"}, false, ""},
    {"mnuMWriteToRadio", "mnuProgram", {"Write to &Group of Radios", "成批向对讲机写入数据(&G)"}, false, ""},
    {"mnuTools", "", {"&Tools", "工具(&T)"}, false, ""},
    {"mnuRadioInfo", "mnuTools", {"&Radio Information", "对讲机信息(&R)"}, false, ""},
    {"mnuSetRadioInfo", "mnuTools", {"&Set Radio Information", "设置对讲机信息(&S)"}, false, ""},
    {"mnuSet", "", {"&Setup", "设置(&S)"}, true, ""},
    {"mnuComm", "mnuSet", {"&Communication Port", "通讯端口(&C)"}, true, ""},
    {"mnuLanguage", "mnuSet", {"&Language Setup", "语言设置(&L)"}, true, ""},
    {"MnuInitial", "mnuSet", {"&Initial Setting", "初始化设置(&I)"}, true, ""},
    {"MnuInitialBand1", "mnuSet", {"Band1", "Band1"}, false, ""},
    {"MnuInitialBand2", "mnuSet", {"Band2", "Band2"}, false, ""},
    {"mnuView", "", {"&View", "视图(&V)"}, true, ""},
    {"mnuTreeView", "mnuView", {"Tree &View", "树视图(&V)"}, true, ""},
    {"mnuViewBar0", "mnuView", Sep, true, ""},
    {"mnuViewToolbar", "mnuView", {"&Toolbar", "工具栏(&T)"}, true, ""},
    {"mnuViewStatusBar", "mnuView", {"&Status Bar", "状态栏(&S)"}, true, ""},
    {"mnuWindow", "", {"&Window", "窗口(&W)"}, true, ""},
    {"mnuWindowCascade", "mnuWindow", {"&Cascade", "层叠(&C)"}, true, ""},
    {"mnuWindowTileHorizontal", "mnuWindow", {"Tile Windows &Horizontally", "横向平铺窗口(&H)"}, false, ""},
    {"mnuWindowTileVertical", "mnuWindow", {"Tile Windows &Vertically", "纵向平铺窗口(&V)"}, false, ""},
    {"mnuWindowArrangeIcons", "mnuWindow", {"&Arrange Icons", "排列图标(&A)"}, false, ""},
    {"mnuWindowBar0", "mnuWindow", Sep, true, ""},
    {"mnuCloseAll", "mnuWindow", {"Close All &Windows", "关闭所有窗口(&W)"}, true, ""},
    {"mnuWindowBar1", "mnuWindow", Sep, false, ""},
    {"mnuHelp", "", {"&Help", "帮助(&H)"}, true, ""},
    {"mnuHelpTopic", "mnuHelp", {"&Help topics", "帮助主题(&H)"}, false, ""},
    {"mnuHelpBar0", "mnuHelp", Sep, false, ""},
    {"mnuHelpAbout", "mnuHelp", {"&About MX_806TQ", "关于 MX_806TQ(&A)"}, true, ""},
};

} // namespace

QString mainText(MainText id, int language)
{
    const auto k = std::size_t(id);
    return k < std::size(Texts) ? pick(Texts[k], language) : QString();
}

QString languageName(int slot)
{
    return slot >= 1 && slot <= 4 ? QString::fromUtf8(LanguageNames[slot]) : QString();
}

const MenuEntry* menuEntries(int* count)
{
    *count = int(std::size(Menu));
    return Menu;
}

QString menuCaption(const char* name, int language)
{
    for (const MenuEntry& e : Menu)
        if (std::strcmp(e.name, name) == 0 && e.caption.english) return pick(e.caption, language);
    return {};
}

} // namespace mx
