#include "texts/OptionTexts.h"

#include "texts/Captions.h"

namespace mx {

namespace {

// Indexed by OptionText.
constexpr TextPair Table[] = {
    {"Optional Features", "可选功能"},
    {"Show SQL Level", "显示SQL等级"},
    {"Show VOL Level", "显示VOL等级"},
    {"Show MIC Level", "显示MIC等级"},
    {"Extension Band", "扩展频段"},
    {"TV Signal Hold", "广播信号保持"},
    {"Beep Tone", "Beep音"},
    {"ASQ", "ASQ"},
    {"SWR Protect", "驻波保护"},
    {"Show VSWR Launch", "发射时显示驻波比大小"},
    {"MON", "MON"},
    {"Time Out Timer", "超时定时器"},
    {"TV SQL Level", "广播静噪等级"},
    {"Public", "Public"},
    {"Busy", "Busy"},
    {"HI-CUT", "HI-CUT"},
    {"Roger", "Roger"},
    {"TSQ", "TSQ"},
    {"REP", "REP"},
    {"Backlight Color", "背光灯颜色"},
    {"Backlight Brightness", "背光灯亮度"},
    {"Backlight Loop Time", "背光灯循环时间"},
    {"Battery Voltage Protect", "电池电压保护"},
    {"Public", "公共信道设置"},
    {"Min[V]", "Min[V]"},
    {"Max[V]", "Max[V]"},
    {"SWR Max", "SWR Max"},
    {"REP Freqency[KHz]", "发射差频[KHz]"},
    {"Off", "关"},
    {"&Close", "关闭(&C)"},
    {"He&lp", "帮助(&L)"}, // Alt+H stays with the menu bar's Help
};
static_assert(std::size(Table) == int(OptionText::Help) + 1);

constexpr TextPair Colors[] = {
    {"Green", "绿色"}, {"Red", "红色"},    {"Yellow", "黄色"}, {"Blue", "蓝色"},
    {"Cyan", "青色"},  {"Purple", "紫色"}, {"White", "白色"},  {"Loop", "循环"},
};

} // namespace

QString text(OptionText id, int language)
{
    return pick(Table[int(id)], language);
}

QStringList backlightColors(int language)
{
    QStringList out;
    for (const TextPair& c : Colors)
        out.append(pick(c, language));
    return out;
}

} // namespace mx
