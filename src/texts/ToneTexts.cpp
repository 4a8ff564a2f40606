#include "texts/ToneTexts.h"

#include "texts/Captions.h"

#include <QtGlobal>

namespace mx {

namespace {

// Indexed by ToneText.
constexpr TextPair Table[] = {
    {"Roger Beep", "RB音"},
    {"RB Tone", "RB音"},
    {"Recycle Times", "循环次数"},
    {"Inter Time[ms]", "间隔时间[ms]"},
    {"Frequency[Hz]", "频率[Hz]"},
    {"Tone Long[ms]", "音长[ms]"},
    // Alt+P and Alt+S stay with the menu bar's Program and Setup.
    {"P&lay", "播放(&L)"},
    {"St&op", "停止(&O)"},
    {"Off", "关"},
    {"None", "无"},
    {"&Close", "关闭(&C)"},
    {"No sound output: the tone cannot be played.", "没有声音输出设备：无法播放提示音。"},
};
static_assert(std::size(Table) == int(ToneText::NoSound) + 1);

constexpr TextPair Steps[] = {
    {"First Tone", "第一个音"},        {"Second Tone", "第二个音"},       {"Third Tone", "第三个音"},
    {"Fourth Tone", "第四个音"},       {"Fifth Tone", "第五个音"},        {"Sixth Tone", "第六个音"},
    {"Seventh Tone", "第七个音"},      {"Eighth Tone", "第八个音"},       {"Ninth Tone", "第九个音"},
    {"Tenth Tone", "第十个音"},        {"Eleventh Tone", "第十一个音"},   {"Twelfth Tone", "第十二个音"},
    {"Thirteenth Tone", "第十三个音"}, {"Fourteenth Tone", "第十四个音"},
};

} // namespace

QString text(ToneText id, int language)
{
    return pick(Table[int(id)], language);
}

QString toneLabel(int step, int language)
{
    if (step < 1 || step > int(std::size(Steps))) return {};
    return pick(Steps[step - 1], language);
}

} // namespace mx
