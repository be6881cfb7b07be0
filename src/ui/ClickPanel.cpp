#include "ui/ClickPanel.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace transref {

QString ElidePathKeepingName(const QString& path, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(path) <= width) return path;
  const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  const QString name = path.mid(cut + 1);
  const QString separator = cut >= 0 ? path.mid(cut, 1) : QString();
  const int room = width - metrics.horizontalAdvance(name) - metrics.horizontalAdvance(separator);
  const QString ellipsis(QChar(0x2026));
  if (cut < 0 || room < metrics.horizontalAdvance(ellipsis)) return metrics.elidedText(name, Qt::ElideMiddle, width);
  // elidedText gives the ellipsis alone, or nothing, when little fits.
  QString folder = metrics.elidedText(path.left(cut), Qt::ElideMiddle, room);
  if (folder.isEmpty()) folder = ellipsis;
  return folder + separator + name;
}

ClickPanel::ClickPanel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
}

QRect ClickPanel::TextArea() const {
  const int m = margin();
  return contentsRect().adjusted(m, m, -m, -m);
}

void ClickPanel::SetShowsPath(bool showsPath) {
  showsPath_ = showsPath;
  update();
}

QString ClickPanel::ShownText() const {
  // A framed label draws an unelided text half an "x" in from its frame
  // (QLabel's indent): the text shown whole must fit beside that indent too.
  const int inset = indent() >= 0 ? indent() : (frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0);
  const int width = TextArea().width() - inset;
  if (showsPath_) return ElidePathKeepingName(text(), fontMetrics(), width);
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, width);
}

// Room for the frame, the margins and an ellipsis; the rest of the width
// comes from the layout.
QSize ClickPanel::WithoutTextWidth(QSize size) const {
  const int chrome = width() - TextArea().width();
  size.setWidth(std::min(size.width(), chrome + fontMetrics().horizontalAdvance(QStringLiteral("W…W"))));
  return size;
}

QSize ClickPanel::sizeHint() const { return WithoutTextWidth(QLabel::sizeHint()); }

QSize ClickPanel::minimumSizeHint() const { return WithoutTextWidth(QLabel::minimumSizeHint()); }

void ClickPanel::paintEvent(QPaintEvent* event) {
  const QString shown = ShownText();
  if (shown == text()) {
    QLabel::paintEvent(event);
    return;
  }
  QFrame::paintEvent(event);  // the frame; the text is drawn elided below
  QPainter painter(this);
  style()->drawItemText(&painter, TextArea(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                        isEnabled(), shown, foregroundRole());
}

void ClickPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

void ClickPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  QLabel::mouseDoubleClickEvent(event);
}

void ClickPanel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_F2:
      emit activated();
      event->accept();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

}  // namespace transref
