#include "ui/StartArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace transref {

namespace {

// The program's palette: the teal of the introduction text and two accents.
const QColor kTeal(0, 128, 128);
const QColor kDeepTeal(0, 77, 77);
const QColor kSea(214, 238, 238);
const QColor kMarker(192, 48, 32);
const QColor kGrid(150, 150, 150);

// Painting happens in a 100 x 100 design square scaled to the pixmap.
QPixmap Canvas(int size, QPainter& painter) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  painter.begin(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(size / 100.0, size / 100.0);
  return pixmap;
}

// A globe of radius r at c: meridians as ellipses, parallels as chords.
void PaintGlobe(QPainter& painter, QPointF c, double r, const QColor& line) {
  QRadialGradient sea(c - QPointF(r / 3, r / 3), r * 1.4);
  sea.setColorAt(0, Qt::white);
  sea.setColorAt(1, kSea);
  painter.setBrush(sea);
  painter.setPen(QPen(line, 1.4));
  painter.drawEllipse(c, r, r);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(line, 0.7));
  for (double k : {0.35, 0.7}) painter.drawEllipse(c, r * k, r);
  painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  for (double latitude : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
    const double phi = latitude * std::numbers::pi / 180.0;
    const double y = c.y() - r * std::sin(phi);
    const double half = r * std::cos(phi);
    painter.drawLine(QPointF(c.x() - half, y), QPointF(c.x() + half, y));
  }
}

// A survey marker: a triangle on a small base with the station point.
void PaintMarker(QPainter& painter, QPointF tip, double height) {
  QPainterPath triangle;
  triangle.moveTo(tip);
  triangle.lineTo(tip + QPointF(-height * 0.55, height));
  triangle.lineTo(tip + QPointF(height * 0.55, height));
  triangle.closeSubpath();
  painter.setPen(QPen(Qt::white, 1.0));
  painter.setBrush(kMarker);
  painter.drawPath(triangle);
  painter.setBrush(Qt::white);
  painter.drawEllipse(tip + QPointF(0, height * 0.62), height * 0.12, height * 0.12);
}

void PaintArrow(QPainter& painter, QPointF from, QPointF to, const QColor& colour) {
  painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(from, to);
  const QPointF d = to - from;
  const double length = std::hypot(d.x(), d.y());
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(to - u * 5 + n * 2.6);
  head.lineTo(to - u * 5 - n * 2.6);
  head.closeSubpath();
  painter.setBrush(colour);
  painter.setPen(Qt::NoPen);
  painter.drawPath(head);
}

// A square grid of `cells` cells on `side`, rotated by `degrees` about its
// centre.
void PaintGrid(QPainter& painter, QPointF centre, double side, int cells, double degrees, const QColor& colour) {
  painter.save();
  painter.translate(centre);
  painter.rotate(degrees);
  painter.setPen(QPen(colour, 0.6));
  painter.setBrush(Qt::NoBrush);
  const double half = side / 2;
  for (int k = 0; k <= cells; ++k) {
    const double t = -half + side * k / cells;
    painter.drawLine(QPointF(t, -half), QPointF(t, half));
    painter.drawLine(QPointF(-half, t), QPointF(half, t));
  }
  painter.restore();
}

}  // namespace

QPixmap PaintLogo(int size) {
  QPainter painter;
  QPixmap pixmap = Canvas(size, painter);
  const QPointF centre(50, 50);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kDeepTeal);
  painter.drawEllipse(centre, 48, 48);
  painter.setBrush(Qt::white);
  painter.drawEllipse(centre, 43, 43);
  PaintGlobe(painter, QPointF(50, 44), 27, kTeal);
  PaintMarker(painter, QPointF(50, 24), 22);

  // The name on a band across the lower part of the ring.
  painter.setPen(Qt::NoPen);
  painter.setBrush(kDeepTeal);
  painter.drawRoundedRect(QRectF(22, 70, 56, 15), 3, 3);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(22, 70, 56, 15), Qt::AlignCenter, QStringLiteral("OBRU"));
  painter.end();
  return pixmap;
}

QPixmap PaintFramesIllustration(int size) {
  QPainter painter;
  QPixmap pixmap = Canvas(size, painter);
  painter.setPen(Qt::NoPen);
  QLinearGradient sky(0, 0, 0, 100);
  sky.setColorAt(0, Qt::white);
  sky.setColorAt(1, kSea);
  painter.setBrush(sky);
  painter.drawRoundedRect(QRectF(2, 2, 96, 96), 6, 6);

  // Two frames: the old grid in grey, the new one in teal, slightly turned
  // and shifted — the seven-parameter step between them.
  PaintGrid(painter, QPointF(44, 54), 56, 7, 0, kGrid);
  PaintGrid(painter, QPointF(54, 46), 56, 7, -8, kTeal);

  // The ellipsoid with its geocentric axes.
  painter.setPen(QPen(kDeepTeal, 1.2));
  painter.setBrush(QColor(255, 255, 255, 170));
  painter.drawEllipse(QPointF(50, 50), 20, 17);
  painter.setPen(QPen(kDeepTeal, 0.8, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(50, 50), 20, 6);
  PaintArrow(painter, QPointF(50, 50), QPointF(50, 26), kDeepTeal);
  PaintArrow(painter, QPointF(50, 50), QPointF(76, 56), kDeepTeal);
  PaintArrow(painter, QPointF(50, 50), QPointF(33, 64), kDeepTeal);

  // One point carried from the old frame to the new.
  PaintArrow(painter, QPointF(20, 84), QPointF(33, 77), kMarker);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kGrid);
  painter.drawEllipse(QPointF(18, 85), 2.4, 2.4);
  PaintMarker(painter, QPointF(79, 12), 12);
  painter.end();
  return pixmap;
}

QPixmap PaintReadyIllustration(int size) {
  QPainter painter;
  QPixmap pixmap = Canvas(size, painter);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kTeal);
  painter.drawEllipse(QPointF(50, 50), 46, 46);
  QPainterPath tick;
  tick.moveTo(28, 52);
  tick.lineTo(43, 67);
  tick.lineTo(73, 34);
  painter.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(tick);
  painter.end();
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(PaintLogo(size));
  return icon;
}

}  // namespace transref
