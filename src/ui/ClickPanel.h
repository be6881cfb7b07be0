#pragma once
// A framed read-only text panel that reacts to the mouse like a button:
// `clicked` on a click, `doubleClicked` on a double click, and `activated` on
// Enter, Space or F2 so that the panel also works from the keyboard.

#include <QLabel>

namespace transref {

class ClickPanel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickPanel(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();
  void doubleClicked();
  void activated();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace transref
