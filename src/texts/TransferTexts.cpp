#include "texts/TransferTexts.h"

#include "texts/Captions.h"

#include <iterator>

namespace mx {

namespace {

// Indexed by TransferText.
constexpr TextPair Table[] = {
    {"No serial port is chosen: choose one under Setup > Communication Port.",
     "尚未选择串行端口：请在“设置 > 通讯端口”中选择。"},
    {"%1: no such device.", "%1：没有此设备。"},
    {"%1: permission denied.", "%1：没有访问权限。"},
    {"The port needs access rights: on Debian-like systems join the dialout group "
     "(sudo usermod -aG dialout $USER), then log in again.",
     "该端口需要访问权限：在 Debian 类系统上请把用户加入 dialout 组（sudo usermod -aG dialout "
     "$USER），然后重新登录。"},
    {"%1 is in use by another program.", "%1 正被其他程序使用。"},
    {"The connection to the radio was lost. Nothing was changed.", "与对讲机的连接已断开。没有任何改动。"},
    {"The connection to the radio was lost during the write. The radio may hold a partial write: write it "
     "again.",
     "写入过程中与对讲机的连接已断开。对讲机中可能只写入了部分数据：请重新写入。"},
    {"The connection to the radio was lost before anything was written. The radio holds what it held.",
     "与对讲机的连接在写入数据之前已断开。对讲机中的数据没有改变。"},
    {"Reading was cancelled. Nothing was changed.", "读取已取消。没有任何改动。"},
    {"Writing was cancelled. The radio may hold a partial write: write it again.",
     "写入已取消。对讲机中可能只写入了部分数据：请重新写入。"},
    {"Writing was cancelled before anything was written. The radio holds what it held.",
     "写入在发送数据之前已取消。对讲机中的数据没有改变。"},
    {"The connection to the radio was lost during the check. The radio holds the write, but it was not "
     "checked.",
     "校验过程中与对讲机的连接已断开。数据已写入对讲机，但未经校验。"},
    {"The check was cancelled. The radio holds the write, but it was not checked.",
     "校验已取消。数据已写入对讲机，但未经校验。"},
    {"The connection to the radio was lost during the write.", "写入过程中与对讲机的连接已断开。"},
    {"Writing was cancelled.", "写入已取消。"},
    {"Writing was cancelled while waiting for the next radio.", "在等待下一台对讲机时写入已取消。"},
    {"%1 of %2 radios were written.", "共 %2 台对讲机，已写入 %1 台。"},
    {"%1 of %2 radios were written and checked.", "共 %2 台对讲机，已写入并校验 %1 台。"},
    {"Radio %1 may hold a partial write: write it again.",
     "第 %1 台对讲机中可能只写入了部分数据：请重新写入。"},
    {"Radio %1 was written but not checked.", "第 %1 台对讲机已写入，但未经校验。"},
    {"The radio keeps the channels of a band in order, without gaps: these channels will come back with "
     "new numbers:",
     "对讲机按顺序连续保存每组的信道，以下信道读回后编号将改变："},
    {"%1 band %2: %3", "%1 组%2：%3"},
};
static_assert(std::size(Table) == std::size_t(TransferText::Count), "transfer texts out of step");

} // namespace

QString text(TransferText id, int language)
{
    return pick(Table[int(id)], language);
}

} // namespace mx
