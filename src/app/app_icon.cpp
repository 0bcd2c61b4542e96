#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace geocalc::app {

QIcon appIcon() {
    constexpr int kSize = 32;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(250, 246, 230));
    painter.setPen(QPen(QColor(120, 110, 90), 1));
    painter.drawRoundedRect(1, 1, kSize - 2, kSize - 2, 4, 4);
    painter.setPen(QPen(QColor(200, 195, 180), 1));
    for (int i = 8; i < kSize; i += 8) {
        painter.drawLine(i, 2, i, kSize - 3);
        painter.drawLine(2, i, kSize - 3, i);
    }
    const QPointF stations[] = {{6, 24}, {12, 7}, {26, 10}, {23, 26}};
    painter.setPen(QPen(QColor(20, 80, 160), 2));
    painter.drawPolygon(stations, 4);
    painter.setBrush(QColor(200, 30, 30));
    painter.setPen(Qt::NoPen);
    for (const QPointF& p : stations) painter.drawEllipse(p, 2.5, 2.5);
    return QIcon(pixmap);
}

}  // namespace geocalc::app
