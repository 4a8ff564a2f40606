#include "shell/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace mx::icons {

namespace {

constexpr int Size = 32;

QPixmap canvas()
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawPage(QPainter& p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(20, 3, 20, 9);
    p.drawLine(20, 9, 26, 9);
}

void drawRadio(QPainter& p, const QColor& body)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(9, 9, 14, 21), 2, 2);
    p.drawLine(19, 9, 19, 2); // antenna
    p.setBrush(QColor(180, 220, 180));
    p.drawRect(QRectF(11.5, 12, 9, 6)); // display
    p.setBrush(QColor(90, 90, 90));
    for (int y = 21; y <= 26; y += 3)
        p.drawLine(12, y, 20, y); // speaker grille
}

void drawArrow(QPainter& p, bool down, const QColor& color)
{
    QPainterPath arrow;
    if (down) {
        arrow.moveTo(25, 14);
        arrow.lineTo(31, 14);
        arrow.lineTo(28, 19);
    } else {
        arrow.moveTo(25, 19);
        arrow.lineTo(31, 19);
        arrow.lineTo(28, 14);
    }
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(26.5, down ? 6 : 19, 3, 8));
    p.drawPath(arrow);
}

QPixmap drawn(const QString& key)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("New")) {
        drawPage(p);
        p.setPen(QPen(QColor(0, 128, 0), 2.5));
        p.drawLine(16, 13, 16, 23);
        p.drawLine(11, 18, 21, 18);
    } else if (key == QLatin1String("Open")) {
        p.setPen(QPen(QColor(120, 90, 20), 1.5));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.setBrush(QColor(250, 220, 120));
        QPainterPath flap;
        flap.moveTo(3, 27);
        flap.lineTo(8, 14);
        flap.lineTo(30, 14);
        flap.lineTo(27, 27);
        flap.closeSubpath();
        p.drawPath(flap);
    } else if (key == QLatin1String("Save")) {
        p.setPen(QPen(QColor(30, 30, 90), 1.5));
        p.setBrush(QColor(70, 90, 170));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 5, 14, 9));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(9, 19, 14, 9));
    } else if (key == QLatin1String("Print")) {
        p.setPen(QPen(QColor(50, 50, 50), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
    } else if (key == QLatin1String("Read")) {
        drawRadio(p, QColor(110, 110, 110));
        drawArrow(p, true, QColor(0, 120, 210));
    } else if (key == QLatin1String("Write") || key == QLatin1String("MWrite")) {
        drawRadio(p, QColor(110, 110, 110));
        drawArrow(p, false, QColor(210, 90, 0));
        if (key == QLatin1String("MWrite")) {
            p.setPen(QPen(QColor(40, 40, 40), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(4, 13, 5, 15), 1, 1);
        }
    } else if (key == QLatin1String("Comm")) {
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.setBrush(QColor(90, 120, 170));
        QPainterPath plug;
        plug.moveTo(4, 10);
        plug.lineTo(28, 10);
        plug.lineTo(25, 22);
        plug.lineTo(7, 22);
        plug.closeSubpath();
        p.drawPath(plug);
        p.setBrush(Qt::white);
        for (int x = 9; x <= 23; x += 4)
            p.drawEllipse(QPointF(x, 14), 1.2, 1.2);
        for (int x = 11; x <= 21; x += 4)
            p.drawEllipse(QPointF(x, 18), 1.2, 1.2);
    } else if (key == QLatin1String("Help")) {
        p.setPen(QPen(QColor(20, 60, 140), 1.5));
        p.setBrush(QColor(60, 120, 220));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(20);
        p.setFont(font);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
    } else if (key == QLatin1String("Close")) {
        p.setPen(QPen(QColor(60, 60, 60), 3));
        p.drawLine(9, 9, 23, 23);
        p.drawLine(23, 9, 9, 23);
    } else {
        drawRadio(p, QColor(50, 50, 50));
    }
    return pixmap;
}

QString themeName(const QString& key)
{
    if (key == QLatin1String("New")) return QStringLiteral("document-new");
    if (key == QLatin1String("Open")) return QStringLiteral("document-open");
    if (key == QLatin1String("Save")) return QStringLiteral("document-save");
    if (key == QLatin1String("Print")) return QStringLiteral("document-print");
    if (key == QLatin1String("Help")) return QStringLiteral("help-about");
    if (key == QLatin1String("Close")) return QStringLiteral("window-close");
    return {}; // the radio's own commands always use the drawn images
}

// Draws its image the first time it is shown, not when the toolbar is built:
// the window appears sooner.
class DrawnIcon : public QIconEngine
{
public:
    explicit DrawnIcon(QString key) : m_key(std::move(key)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        if (m_image.isNull()) m_image = drawn(m_key);
        QPixmap shown = size == m_image.size()
                            ? m_image
                            : m_image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QSize(Size, Size).scaled(size, Qt::KeepAspectRatio).boundedTo(size);
    }

    QIconEngine* clone() const override { return new DrawnIcon(m_key); }
    QString key() const override { return QStringLiteral("mx-drawn"); }

private:
    QString m_key;
    QPixmap m_image;
};

} // namespace

QIcon toolbarIcon(const QString& key)
{
    const QIcon own(new DrawnIcon(key));
    const QString name = themeName(key);
    return name.isEmpty() ? own : QIcon::fromTheme(name, own);
}

QIcon appIcon()
{
    return QIcon(drawn(QStringLiteral("App")));
}

} // namespace mx::icons
