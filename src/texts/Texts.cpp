#include "texts/Texts.h"

#include <array>

namespace mx {

namespace {

struct Entry
{
    TextId id;
    const char* english;
    const char* chinese;
};

// Both languages of every text, in the order of TextId.
constexpr Entry Table[] = {
    {TextId::AllDataCleared, "All data will be cleared.", "所有数据将被清空。"},
    {TextId::FileError, "file error.", "文件错误。"},
    {TextId::CannotOpenPort, "Cannot Open Communication Port.", "无法打开通信端口。"},
    {TextId::ReadConfirm, "Read data from radio.\r\nDo you wish continue?",
     "从对讲机读取数据。\r\n是否继续？"},
    {TextId::WriteConfirm, "Write data to radio.\r\nDo you wish continue?",
     "向对讲机写入数据。\r\n是否继续？"},
    {TextId::FileModified, "File has been modify,save it now?", "当前文件已被修改，是否现在保存？"},
    {TextId::OverwriteContinue, "file will be Overwrite,Continue?", "文件将被覆盖，是否继续？"},
    {TextId::SaveInterrupted,
     "The last save of \"%1\" was interrupted: its channel file may not belong to it, so channels may be "
     "shifted or missing.",
     "上次保存“%1”时被中断：其信道文件可能与它不匹配，信道可能错位或丢失。"},
    {TextId::OpenAnyway, "Open it anyway?", "仍然打开吗？"},
    {TextId::CheckConnection, "Check Connection. Retry or Cancel?", "检测连接。重试或取消？"},
    {TextId::ReadCompleted, "Read Data Completed.", "读取数据完成。"},
    {TextId::WriteCompleted, "Write Data Completed.", "写入数据完成。"},
    {TextId::ModelWrong, "Model type is wrong.", "机型类型错误。"},
    {TextId::FrequencyOutOfRange, "Frequency is out of range.", "频率超出范围。"},
    {TextId::NotIsNumeric, "Not IsNumeric", "Not IsNumeric"},
    {TextId::DataFileFilterName, "Data File", "数据文件"},
    {TextId::ButtonOk, "&OK", "确定(&O)"},
    {TextId::ButtonCancel, "&Cancel", "取消(&C)"},
    {TextId::FirmwareVersionIs, "Firmware version is", "固件版本为"},
    {TextId::DataFileVersionIs, "DataFile version is", "数据文件版本为"},
    {TextId::SoftwareVersionIs, "programming software is", "写频软件版本为"},
    {TextId::IncompatibleVersion,
     "incompatible version. It may cause unknown error.To start the corresponding software version, or not?",
     "版本不兼容，有可能引起未知错误，是否启动对应版本软件？"},
    {TextId::FailToStartSoftware, "Fail to start the software. This version does not exist.",
     "未能启动，不存在此版本软件！"},
    {TextId::UnknownDataFileVersion, "Unknown version Of DataFile!", "未能识别的数据版本!"},
    // The radio's feature warning exists in English only; the Chinese interface shows it as it is.
    {TextId::ToneSquelchInvalid, "CTCSS/DCS Function is invalid,", "CTCSS/DCS Function is invalid,"},
    {TextId::TvInvalid, "TV Function is invalid,", "TV Function is invalid,"},
    {TextId::SomeFeaturesWontWork, "Some features will not work.", "Some features will not work."},
    {TextId::ProgressReadCaption, "Read data from radio", "从对讲机读取数据"},
    {TextId::ProgressWriteCaption, "Write data to radio", "向对讲机写入数据"},
    {TextId::CompletionPercentage, "Completion percentage:", "完成进度:"},
    {TextId::RadioCounterCaption, "Radio being written:", "当前在写的台数："},
    {TextId::WaitingForNextRadio,
     "Waiting for the next radio: disconnect the written radio and connect the next one.",
     "正在等待下一台对讲机：请断开已写入的对讲机并连接下一台。"},
    {TextId::OnText, "ON", "开"},
    {TextId::OffText, "OFF", "关"},
    {TextId::FileNameLabel, "File Name", "文件名"},
};

constexpr bool tableInOrder()
{
    for (std::size_t k = 0; k < std::size(Table); ++k)
        if (static_cast<std::size_t>(Table[k].id) != k) return false;
    return true;
}
static_assert(tableInOrder(), "text table out of TextId order");

} // namespace

QString text(TextId id, int language)
{
    const auto k = static_cast<std::size_t>(id);
    if (k >= std::size(Table)) return {};
    const Entry& e = Table[k];
    return QString::fromUtf8(language == Chinese ? e.chinese : e.english);
}

QString printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // C0 and C1 controls and DEL: a terminal acts on them instead of showing them.
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

QString modelDisplayName(const QString& modelCode)
{
    return modelCode == QLatin1String("MX806") ? QStringLiteral("MX-806TR") : modelCode;
}

} // namespace mx
