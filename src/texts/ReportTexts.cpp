#include "texts/ReportTexts.h"

#include "texts/Captions.h"

namespace mx {

namespace {

// Indexed by ReportText.
constexpr TextPair Table[] = {
    {"MX_806TQ Radio Programming Information", "MX_806TQ 对讲机编程信息"},
    {"File", "文件"},
    {"Date", "日期"},
    {"Range", "频率范围"},
    {"No channels.", "没有信道。"},
    {"Item", "项目"},
    {"Value", "设定值"},
    {"Usable", "可用"},
    {"Not usable", "不可用"},
    {"No TV channel in use.", "没有使用中的广播信道。"},
    {"Save as PDF...", "另存为PDF..."},
    {"PDF Files (*.pdf)", "PDF文件 (*.pdf)"},
};
static_assert(std::size(Table) == int(ReportText::Count));

} // namespace

QString text(ReportText id, int language)
{
    return pick(Table[int(id)], language);
}

} // namespace mx
