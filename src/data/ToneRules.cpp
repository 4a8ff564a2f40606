#include "data/ToneRules.h"

#include "data/RadioData.h"

namespace mx::tonerules {

qint16 usableTip(const RadioDataRecord& record, int n)
{
    if (n < 1 || n > ToneTipCount) return 0;
    const ToneTipRecord& tip = record.toneTips[n - 1];
    if (tip.recycleTimes() < 1) return 0;
    for (int step = 1; step <= ToneStepCount; ++step)
        if (tip.length(step) > 0) return qint16(n);
    return 0;
}

int countUsableTips(const RadioDataRecord& record)
{
    int count = 0;
    for (int n = 1; n <= ToneTipCount; ++n)
        if (usableTip(record, n) != 0) ++count;
    return count;
}

bool refreshRogerBeepRefs(RadioImage& image)
{
    bool changed = false;
    auto follow = [&](qint16& ref) {
        const qint16 usable = usableTip(image.work, ref);
        if (usable != ref) {
            ref = usable;
            changed = true;
        }
    };
    for (int m = 0; m < FamilyCount; ++m)
        for (int b = 1; b <= BandCount; ++b) {
            const int used = image.work.usedSlots(m, b);
            for (int i = 1; i <= used; ++i)
                follow(image.workChannels.at(m, i, b).rogerBeep);
        }
    follow(image.work.optFeat[Opt::RogerTone]);
    return changed;
}

} // namespace mx::tonerules
