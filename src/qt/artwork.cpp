// Pictures drawn with QPainter: a pointer over a rounded tile, arrows, an emblem.
#include "qt/artwork.hpp"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mavorin::qt {

namespace {

const QColor kSchemeTop[3] = {QColor(0x2e, 0x9b, 0x5c), QColor(0x1f, 0x8a, 0xc0),
                              QColor(0xc0, 0x4a, 0x4a)};
const QColor kSchemeBottom[3] = {QColor(0x14, 0x5e, 0x36), QColor(0x0f, 0x4c, 0x78),
                                 QColor(0x7a, 0x22, 0x22)};

QPainterPath pointer_path(double x, double y, double s) {
    QPainterPath p;
    p.moveTo(x, y);
    p.lineTo(x, y + 0.72 * s);
    p.lineTo(x + 0.2 * s, y + 0.55 * s);
    p.lineTo(x + 0.34 * s, y + 0.84 * s);
    p.lineTo(x + 0.45 * s, y + 0.79 * s);
    p.lineTo(x + 0.31 * s, y + 0.5 * s);
    p.lineTo(x + 0.56 * s, y + 0.5 * s);
    p.closeSubpath();
    return p;
}

}  // namespace

QPixmap logo_picture(int scheme, int size) {
    if (scheme < 0 || scheme > 2) scheme = 0;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, kSchemeTop[scheme]);
    g.setColorAt(1, kSchemeBottom[scheme]);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size * 0.22, size * 0.22);
    // A dotted path the pointer has travelled: the macro.
    p.setBrush(QColor(255, 255, 255, 150));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(size * (0.18 + 0.1 * i), size * (0.78 - 0.08 * i)), size * 0.04,
                      size * 0.04);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(20, 20, 20), size / 32.0));
    p.drawPath(pointer_path(size * 0.48, size * 0.14, size * 0.7));
    return pm;
}

QPixmap arrow_picture(bool left, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 3, 3);
    QPolygonF tri;
    const double m = size / 2.0, a = size * 0.28;
    if (left)
        tri << QPointF(m - a, m) << QPointF(m + a * 0.7, m - a) << QPointF(m + a * 0.7, m + a);
    else
        tri << QPointF(m + a, m) << QPointF(m - a * 0.7, m - a) << QPointF(m - a * 0.7, m + a);
    p.setBrush(QColor(40, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawPolygon(tri);
    return pm;
}

QPixmap emblem_picture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 44, 52));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(size / 2);
    p.setFont(f);
    p.setPen(QColor(250, 250, 250));
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("M"));
    return pm;
}

QPixmap bar_picture(int width, int height) {
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, QColor(0, 0, 0, 90));
    g.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(pm.rect(), g);
    return pm;
}

QIcon app_icon() {
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(logo_picture(0, s));
    return icon;
}

}  // namespace mavorin::qt
