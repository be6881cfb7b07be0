#pragma once
// A framed read-only text panel that reacts to the mouse like a button:
// `clicked` on a click, `doubleClicked` on a double click, and `activated` on
// Enter, Space or F2 so that the panel also works from the keyboard.
// A text wider than the panel is shown shortened, the text itself unchanged:
// a path keeps its file name whole and loses the middle of its folder part;
// any other text loses its middle.

#include <QLabel>

class QFontMetrics;

namespace transref {

// The path as drawn in `width` pixels: whole when it fits; otherwise the
// folder part is shortened in its middle and the file name stays whole. Only
// a name wider than the whole width is shortened itself.
QString ElidePathKeepingName(const QString& path, const QFontMetrics& metrics, int width);

class ClickPanel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickPanel(const QString& text, QWidget* parent = nullptr);

  // The panel shows a path: a shortened form keeps the file name whole.
  void SetShowsPath(bool showsPath);

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

  bool showsPath_ = false;
};

}  // namespace transref
