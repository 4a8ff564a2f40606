#include "texts/ToolTexts.h"

#include "texts/Captions.h"

#include <iterator>

namespace mx {

namespace {

// Indexed by ToolText.
constexpr TextPair Table[] = {
    {"Line %1, column %2 (%3): %4", "第%1行，第%2列（%3）：%4"},
    {"%1 columns instead of %2.", "共%1列，应为%2列。"},
    {"The first line is not the channel list's header.", "第一行不是信道列表的表头。"},
    {"The channel list is empty.", "信道列表为空。"},
    {"Unknown range family \"%1\".", "未知的频段模式“%1”。"},
    {"Unknown band \"%1\".", "未知的组“%1”。"},
    {"Channel numbers are 1 to 40.", "信道号应为1到40。"},
    {"Channel %1 is listed twice for this band.", "本组的信道%1出现了两次。"},
    {"More than 40 channels for this band.", "本组的信道超过40个。"},
    {"\"%1\" is not a frequency of %2.", "“%1”不是%2范围内的频率。"},
    {"A channel needs a receive frequency.", "信道必须有接收频率。"},
    {"\"%1\" is not one of: %2.", "“%1”不在可选值中：%2。"},
    {"A quoted field is not closed.", "引号内的字段没有结束。"},
    {"Range family %1 would have no channel in its enabled bands.", "频段模式%1的有效组中将没有任何信道。"},
    {"Band %1 has no channel %2.", "组%1中没有信道%2。"},
    {"\"%1\" is not offered for %2; choose one of: %3.", "%2不能设为“%1”，可选值为：%3。"},
    {"The repeater shift is not used in this range family.", "此频段模式不使用中继差频。"},
    {"Unknown option feature \"%1\".", "未知的可选功能“%1”。"},
    {"The last enabled band of a range family stays on.", "频段模式的最后一个有效组不能关闭。"},
    {"Nothing changed.", "没有任何改动。"},
    {"The last channel of a range family's enabled bands cannot be deleted.",
     "不能删除频段模式有效组中的最后一个信道。"},
    {"Roger and BUSY cannot be chosen while Public is ON.", "公共信道为开时不能设置Roger和BUSY。"},
    {"The channel list is larger than %1 MiB: no radio holds that many channels.",
     "信道列表大于%1 MiB：没有对讲机能容纳这么多信道。"},
    {"\"%1\" is not a number: %2 takes %3 to %4.", "“%1”不是数字：%2的取值为%3到%4。"},
};
static_assert(std::size(Table) == int(ToolText::NotANumber) + 1);

} // namespace

QString text(ToolText id, int language)
{
    return pick(Table[int(id)], language);
}

} // namespace mx
