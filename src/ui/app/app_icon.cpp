#include "ui/app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace ludomark {

QIcon AppIcon() {
  QIcon icon;
  for (const int size : {16, 32, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(QPen(QColor(64, 64, 64), 4));
    painter.drawLine(20, 20, 44, 44);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(QPoint(18, 18), 13, 13);
    painter.setBrush(QColor(255, 0, 0));
    painter.drawEllipse(QPoint(46, 46), 13, 13);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace ludomark
