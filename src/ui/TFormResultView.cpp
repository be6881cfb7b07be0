#include "ui/TFormResultView.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/ScreenPlacement.h"
#include "ui/UiTexts.h"
#include "ui/UserDialogs.h"

namespace transref {
namespace {

constexpr int kLeftMargin = 96, kRightMargin = 24, kTopMargin = 28, kBottomMargin = 56;
constexpr double kPadding = 0.05;        // of the span, around the shapes
constexpr double kTicksAcross = 6.0;     // about this many axis values along the wider side
constexpr int kMarkSize = 5;

bool Geographic(CoordinateSystemKind system) { return system == CoordinateSystemKind::Geographic; }

QString Unit(CoordinateSystemKind system) { return Geographic(system) ? QStringLiteral("°") : QStringLiteral(" m"); }

// 1, 2 or 5 times a power of ten, the nearest to `x` from below.
double NiceBelow(double x) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  const double f = x / power;
  return (f >= 5.0 ? 5.0 : f >= 2.0 ? 2.0 : 1.0) * power;
}

int DecimalsFor(double step) { return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9))); }

// Axis values and lengths with a point, as the files write them.
QString Value(double value, int decimals) { return QString::number(value, 'f', decimals); }

// Multiples of `step` from `from` to `to`; none when there would be more
// than a frame can show.
std::vector<double> Ticks(double from, double to, double step) {
  constexpr int kMaxTicks = 40;
  std::vector<double> ticks;
  const double first = std::ceil(from / step) * step;
  for (int k = 0; k <= kMaxTicks; ++k) {
    const double value = first + k * step;
    if (!(value <= to)) return ticks;
    ticks.push_back(value);
  }
  return {};
}

std::size_t Stride(std::size_t count, std::size_t limit) { return count <= limit ? 1 : (count + limit - 1) / limit; }

}  // namespace

ResultCanvas::ResultCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PResultCanvas"));
  setAccessibleName(QStringLiteral("Desenho do resultado"));
  setMinimumSize(320, 240);
}

void ResultCanvas::SetShapes(ResultShapes shapes, CoordinateSystemKind system) {
  shapes_ = std::move(shapes);
  system_ = system;
  std::size_t vertices = 0;
  for (const ResultPath& path : shapes_.paths) vertices += path.vertices.size();
  markStride_ = Stride(shapes_.marks.size(), kMarkLimit);
  pathStride_ = Stride(vertices, kVertexLimit);
  update();
}

void ResultCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Render(painter, size());
}

void ResultCanvas::Render(QPainter& painter, const QSize& size) const {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  painter.setPen(Qt::black);
  const QRectF plot(kLeftMargin, kTopMargin, std::max(1, size.width() - kLeftMargin - kRightMargin),
                    std::max(1, size.height() - kTopMargin - kBottomMargin));
  if (shapes_.Empty()) {
    painter.drawText(plot, Qt::AlignCenter, QStringLiteral("O arquivo não tem pontos para mostrar."));
    return;
  }
  // One scale on both axes, the shapes centred with a margin around them.
  const double smallest = Geographic(system_) ? 1e-6 : 0.01;
  const double spanX = std::max(shapes_.maxX - shapes_.minX, smallest);
  const double spanY = std::max(shapes_.maxY - shapes_.minY, smallest);
  const double scale = std::min(plot.width() / (spanX * (1 + 2 * kPadding)), plot.height() / (spanY * (1 + 2 * kPadding)));
  const double cx = (shapes_.minX + shapes_.maxX) / 2, cy = (shapes_.minY + shapes_.maxY) / 2;
  auto at = [&](const PlanePoint& p) {
    return QPointF(plot.center().x() + (p.x - cx) * scale, plot.center().y() - (p.y - cy) * scale);
  };
  const double left = cx - plot.width() / 2 / scale, right = cx + plot.width() / 2 / scale;
  const double bottom = cy - plot.height() / 2 / scale, top = cy + plot.height() / 2 / scale;

  // Axis values: one step for both axes.
  const double step = NiceBelow(std::max(right - left, top - bottom) / kTicksAcross);
  const int decimals = DecimalsFor(step);
  const QFontMetrics metrics = painter.fontMetrics();
  painter.setPen(QColor(225, 225, 225));
  // The values along each axis, counted so that coordinates far larger
  // than the step (where adding the step changes nothing) still end.
  const std::vector<double> xs = Ticks(left, right, step), ys = Ticks(bottom, top, step);
  for (const double x : xs) {
    const double px = at({x, cy}).x();
    painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
  }
  for (const double y : ys) {
    const double py = at({cx, y}).y();
    painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
  }
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  for (const double x : xs) {
    const double px = at({x, cy}).x();
    const QString text = Value(x, decimals);
    painter.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + 4));
    painter.drawText(QPointF(px - metrics.horizontalAdvance(text) / 2.0, plot.bottom() + 6 + metrics.ascent()), text);
  }
  for (const double y : ys) {
    const double py = at({cx, y}).y();
    const QString text = Value(y, decimals);
    painter.drawLine(QPointF(plot.left() - 4, py), QPointF(plot.left(), py));
    painter.drawText(QPointF(plot.left() - 6 - metrics.horizontalAdvance(text), py + metrics.ascent() / 2.0), text);
  }
  const bool cartesian = system_ == CoordinateSystemKind::Cartesian;
  const QString xName = Geographic(system_) ? QStringLiteral("Longitude (°)") : cartesian ? QStringLiteral("X (m)") : QStringLiteral("E (m)");
  const QString yName = Geographic(system_) ? QStringLiteral("Latitude (°)") : cartesian ? QStringLiteral("Y (m)") : QStringLiteral("N (m)");
  painter.drawText(QRectF(plot.left(), plot.bottom() + 8 + metrics.height(), plot.width(), metrics.height()),
                   Qt::AlignCenter, xName);
  painter.drawText(QRectF(4, 4, kLeftMargin, metrics.height()), Qt::AlignLeft, yName);

  // The shapes, clipped to the frame.
  painter.save();
  painter.setClipRect(plot);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(0, 70, 160), 1.0));
  QPolygonF polygon;
  for (std::size_t k = 0; k < shapes_.paths.size(); k += pathStride_) {
    const ResultPath& path = shapes_.paths[k];
    polygon.clear();
    for (const PlanePoint& p : path.vertices) polygon.append(at(p));
    if (path.closed) {
      painter.drawPolygon(polygon);
    } else {
      painter.drawPolyline(polygon);
    }
  }
  painter.setPen(QPen(QColor(200, 30, 30), kMarkSize, Qt::SolidLine, Qt::RoundCap));
  polygon.clear();
  for (std::size_t k = 0; k < shapes_.marks.size(); k += markStride_) polygon.append(at(shapes_.marks[k].at));
  painter.drawPoints(polygon);
  if (shapes_.marks.size() <= kLabelLimit) {
    painter.setPen(Qt::black);
    for (const ResultMark& mark : shapes_.marks) {
      if (mark.hasId) {
        painter.drawText(at(mark.at) + QPointF(kMarkSize, -kMarkSize),
                         mark.name.empty() ? QString::number(mark.id) : QString::fromStdString(mark.name));
      }
    }
  }
  painter.restore();

  // Scale bar: a round length about a fifth of the frame, bottom right.
  const double length = NiceBelow(plot.width() / scale / 5.0);
  const double barPixels = length * scale;
  const QPointF barEnd(plot.right() - 12, plot.bottom() - 12);
  const QPointF barStart(barEnd.x() - barPixels, barEnd.y());
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(barStart, barEnd);
  painter.drawLine(barStart, barStart - QPointF(0, 5));
  painter.drawLine(barEnd, barEnd - QPointF(0, 5));
  const QString barText = Value(length, DecimalsFor(length)) + Unit(system_);
  painter.drawText(QPointF(barEnd.x() - barPixels / 2 - metrics.horizontalAdvance(barText) / 2.0, barEnd.y() - 8), barText);

  // North arrow (a geocentric X, Y picture has no north).
  if (!cartesian) {
    const QPointF tip(plot.right() - 20, plot.top() + 10);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(-6, 18));
    arrow.lineTo(tip + QPointF(0, 13));
    arrow.lineTo(tip + QPointF(6, 18));
    arrow.closeSubpath();
    painter.fillPath(arrow, Qt::black);
    painter.drawText(QRectF(tip.x() - 10, tip.y() + 20, 20, metrics.height()), Qt::AlignCenter, QStringLiteral("N"));
  }
}

TFormResultView::TFormResultView(UserDialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), dialogs_(dialogs) {
  setObjectName(QStringLiteral("TFormResultView"));
  setWindowTitle(QStringLiteral("Resultado"));
  auto* layout = new QVBoxLayout(this);
  canvas_ = new ResultCanvas(this);
  layout->addWidget(canvas_, 1);
  info_ = new QLabel(this);
  info_->setObjectName(QStringLiteral("LabelResultInfo"));
  info_->setWordWrap(true);
  info_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  info_->setFocusPolicy(Qt::StrongFocus);
  info_->setAccessibleName(QStringLiteral("Sobre o desenho do resultado"));
  layout->addWidget(info_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  bbSave_ = new QPushButton(QStringLiteral("Salvar PNG…"), this);
  bbSave_->setObjectName(QStringLiteral("BBSaveResultPng"));
  bbSave_->setAccessibleName(QStringLiteral("Salvar o desenho como imagem PNG"));
  bbClose_ = new QPushButton(QStringLiteral("Fechar"), this);
  bbClose_->setObjectName(QStringLiteral("BBResultClose"));
  bbClose_->setAccessibleName(QStringLiteral("Fechar"));
  buttons->addWidget(bbSave_);
  buttons->addWidget(bbClose_);
  layout->addLayout(buttons);
  connect(bbSave_, &QPushButton::clicked, this, &TFormResultView::BBSaveResultPngClick);
  connect(bbClose_, &QPushButton::clicked, this, &QWidget::close);
  resize(820, 640);
  KeepInsideScreenWhenShown(this);
}

bool TFormResultView::Open(const QString& path, FileKind kind, CoordinateSystemKind system,
                           const DelimitedOptions& delimited) {
  std::string problem;
  std::optional<ResultShapes> shapes =
      ReadResultFile(QFile::encodeName(path).toStdString(), kind, problem, {system, delimited});
  if (!shapes) {
    dialogs_.ShowMessage({FromUtf8(problem), kMainCaption, MessageIcon::Stop, MessageButtons::Ok});
    return false;
  }
  path_ = path;
  setWindowTitle(QStringLiteral("Resultado — ") + QFileInfo(path).fileName());
  QStringList lines;
  const bool drawing = kind == FileKind::Dxf;
  const std::size_t marks = shapes->marks.size();
  if (drawing) {
    lines << QStringLiteral("%1 entidades: %2 linhas, polilinhas, arcos e círculos; %3 outras, nos seus pontos de inserção.")
                 .arg(shapes->entityCount)
                 .arg(shapes->paths.size())
                 .arg(marks);
  } else {
    lines << QStringLiteral("%1 pontos.").arg(marks);
  }
  if (shapes->unreadLines > 0) lines << QStringLiteral("%1 linhas sem ponto legível.").arg(shapes->unreadLines);
  canvas_->SetShapes(std::move(*shapes), system);
  if (canvas_->MarkStride() > 1) {
    lines << QStringLiteral("Muitos pontos: desenhado 1 de cada %1 (%2 de %3).")
                 .arg(canvas_->MarkStride())
                 .arg((marks + canvas_->MarkStride() - 1) / canvas_->MarkStride())
                 .arg(marks);
  }
  if (canvas_->PathStride() > 1) {
    lines << QStringLiteral("Muitas linhas: desenhada 1 de cada %1.").arg(canvas_->PathStride());
  }
  if (marks > ResultCanvas::kLabelLimit && !drawing) {
    lines << QStringLiteral("Os números dos pontos aparecem até %1 pontos.").arg(ResultCanvas::kLabelLimit);
  }
  lines << (system == CoordinateSystemKind::Geographic ? QStringLiteral("Valores em graus decimais.")
                                                       : QStringLiteral("Valores em metros."));
  info_->setText(lines.join(QLatin1Char(' ')));
  return true;
}

bool TFormResultView::SavePng(const QString& path) {
  QSize size = canvas_->size();
  if (size.width() < canvas_->minimumWidth() || size.height() < canvas_->minimumHeight()) size = canvas_->sizeHint();
  QImage image(size, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    canvas_->Render(painter, size);
  }
  return image.save(path, "PNG");
}

void TFormResultView::BBSaveResultPngClick() {
  const FileDialogResult chosen = dialogs_.ShowFileDialog(
      {FileDialogKind::Save, QStringLiteral("Salvar imagem do resultado"), QStringLiteral("Imagem PNG (*.png)|*.png"), 0,
       false});
  if (!chosen.accepted) return;
  QString path = chosen.path;
  if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
  if (!SavePng(path)) {
    dialogs_.ShowMessage({QStringLiteral("Não foi possível gravar a imagem \"%1\".").arg(path), kMainCaption,
                          MessageIcon::Stop, MessageButtons::Ok});
  }
}

}  // namespace transref
