#include "texts/ChannelTexts.h"

namespace mx {

const TextPair ChannelTexts[int(ChannelText::Count)] = {
    {"Channel Information", "信道信息"},
    {"Select 10M/HF/EU", "模式选择"},
    {"Band", "组"},
    {"CH No.", "信道"},
    {"Frequency", "频率"},
    {"Work CHX", "当前工作信道"},
    {"Group Valid", "组有效"},
    {"TSQ", "TSQ"},
    {"REP", "REP"},
    {"Roger", "Roger"},
    {"Public", "Public"},
    {"BUSY", "BUSY"},
    {"HI-CUT", "HI-CUT"},
    {"More Information -- CH ", "More Information -- CH "},
    {"&Close", "关闭(&C)"},
    {"Channel list", "信道列表"},
    {"Receive frequency", "接收频率"},
    {"Channel details", "信道详细信息"},
    {"A band holds at most 40 channels.", "每组最多只能有 40 个信道。"},
};

} // namespace mx
