#include "texts/TVTexts.h"

#include "texts/Captions.h"

namespace mx {

namespace {

// Indexed by TVText.
constexpr TextPair Table[] = {
    {"TV Channel", "广播信道"}, {"Current TV Channel", "当前广播信道"},
    {"CH No.", "信道"},         {"Frequency", "频率"},
    {"TBST", "TBST"},           {"W/N", "带宽"},
    {"Narrow", "窄带"},         {"Wide", "宽带"},
    {"&Close", "关闭(&C)"},     {"He&lp", "帮助(&L)"}, // Alt+H stays with the menu bar's Help
};
static_assert(std::size(Table) == int(TVText::Help) + 1);

} // namespace

QString text(TVText id, int language)
{
    return pick(Table[int(id)], language);
}

} // namespace mx
