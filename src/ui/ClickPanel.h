#pragma once
// A framed read-only text panel that reacts to the mouse like a button:
// `clicked` on a click, `doubleClicked` on a double click, and `activated` on
// Enter, Space or F2 so that the panel also works from the keyboard.
// A text wider than the panel is shown with its middle elided, so that the
// start and the end of a path stay readable; the text itself is unchanged.

#include <QLabel>

namespace transref {

class ClickPanel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickPanel(const QString& text, QWidget* parent = nullptr);

  // The text as drawn in the panel's present width.
  QString ShownText() const;
  // The panel takes the width its column gives it, whatever its text.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void clicked();
  void doubleClicked();
  void activated();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;
  QSize WithoutTextWidth(QSize size) const;
};

}  // namespace transref
