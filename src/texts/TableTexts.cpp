#include "texts/TableTexts.h"

#include "texts/Captions.h"

#include <iterator>

namespace mx {

namespace {

// Indexed by TableText.
constexpr TextPair Table[] = {
    {"Channel Table", "信道表"},
    {"Band", "组"},
    {"CH", "信道"},
    {"RX MHz", "接收 MHz"},
    {"Fi&nd:", "查找(&N)："}, // Alt+S stays Setup's
    {"Frequency or band", "频率或组"},
    {"Channel table", "信道表格"},
    {"&Copy", "复制(&C)"},
    {"&Paste", "粘贴(&P)"},
    {"&Delete Channels", "删除信道(&D)"},
    {"&Fill Down", "向下填充(&F)"},
    {"&Insert Channel", "插入信道(&I)"},
    {"&Sort by This Column", "按此列排序(&S)"},
    {"Pasted line %1, %2, column %3: %4", "粘贴的第%1行，%2，%3列：%4"},
    {"%1, column %2: %3", "%1，%2列：%3"},
    {"The pasted rows go past the last row of the table.", "粘贴的行超出了表格的最后一行。"},
    {"Band %1 has no free channel number.", "组%1没有空闲的信道号。"},
    {"Channels numbered above 40 are not edited here.", "编号大于40的信道不能在此编辑。"},
    {"This band is switched off (Group Valid OFF).", "此组已关闭（组有效为关）。"},
    {"The list has no %1 column.", "列表中没有%1列。"},
    {"\"%1\" is not a memory number.", "“%1”不是存储位置编号。"},
    {"Location %1 is listed twice.", "存储位置%1出现了两次。"},
    {"A band holds at most 40 channels; this row is the 41st.", "每组最多只能有40个信道，此行是第41个。"},
    {"Duplex \"%1\" is not offered: the radio takes \"\", \"+\" or \"-\".",
     "不支持双工方式“%1”：对讲机只接受“”、“+”或“-”。"},
    {"Tone mode \"%1\" is not offered: the radio takes \"\", \"Tone\", \"TSQL\" or \"DTCS\".",
     "不支持亚音模式“%1”：对讲机只接受“”、“Tone”、“TSQL”或“DTCS”。"},
    {"\"%1\" is not in the TSQ list.", "“%1”不在TSQ列表中。"},
    {"DCS polarity \"%1\": the TSQ list holds codes of normal transmit polarity only.",
     "DCS极性“%1”：TSQ列表只有发射极性为正常的数字码。"},
    {"%1 row(s) carried a name or a mode other than FM/AM that the radio cannot keep.",
     "有%1行的名称或模式（FM/AM以外）无法保存到对讲机中。"},
    {"Channel List", "信道列表"},
    {"&Layout:", "格式(&L)："},
    {"MX_806TR channel list (every range family and band)", "MX_806TR 信道列表（所有频段模式和组）"},
    {"Common radio programmer CSV (one band or a range family)", "通用编程软件 CSV（一个组或一个频段模式）"},
    {"Range &family:", "频段模式(&F)："},
    {"&Band:", "组(&B)："},
    {"All bands", "所有组"},
};
static_assert(std::size(Table) == int(TableText::Count));

} // namespace

QString tableText(TableText id, int language)
{
    return pick(Table[int(id)], language);
}

} // namespace mx
