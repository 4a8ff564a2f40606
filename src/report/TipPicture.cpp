#include "report/TipPicture.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <cmath>

namespace mx {

namespace tipview {

int repeatCount(const ToneTipRecord& tip)
{
    return qBound(0, int(tip.recycleTimes()), 10);
}

int pause(const ToneTipRecord& tip)
{
    return qBound(0, int(tip.interTime()), 255);
}

int tone(const ToneTipRecord& tip, int step)
{
    const int t = tip.tone(step);
    return t >= 40 && t <= 255 ? t : 0;
}

int length(const ToneTipRecord& tip, int step)
{
    return qBound(0, int(tip.length(step)), 255);
}

} // namespace tipview

void drawTip(QPainter& painter, const ToneTipRecord& tip, const QRect& rect)
{
    constexpr int Margin = 4;
    const int width = rect.width() - 2 * Margin;
    const int height = rect.height() - 2 * Margin;
    int total = 0;
    for (int j = 1; j <= ToneStepCount; ++j)
        total += tipview::length(tip, j);
    if (total < 1 || width < 1 || height < 1) return;
    const int bottom = rect.top() + rect.height() - Margin;
    int x = rect.left() + Margin;
    for (int j = 1; j <= ToneStepCount; ++j) {
        const int len = tipview::length(tip, j);
        if (len <= 0) continue;
        const int w = int(std::lround(double(len) * width / total));
        const int h = int(std::lround(double(tipview::tone(tip, j)) * height / 256.0));
        painter.fillRect(QRect(x, bottom - h, w, h), j % 2 ? QColor(255, 0, 0) : QColor(0, 0, 255));
        x += w;
    }
}

} // namespace mx
