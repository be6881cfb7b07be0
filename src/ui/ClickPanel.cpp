#include "ui/ClickPanel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace transref {

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

QString ClickPanel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, TextArea().width());
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
