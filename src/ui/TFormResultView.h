#pragma once
// "Ver resultado": a picture of a converted file drawn with Qt. North up,
// one scale on both axes, axis values and a scale bar in the output
// system's units, point identifiers beside the points while there are few;
// a drawing's lines, polylines, arcs and circles as drawn and its other
// entities as their insertion points. Large files are drawn thinned, and the
// window says so. The picture can be saved as PNG.

#include <QString>
#include <QWidget>

#include <optional>

#include "conversion/FileKind.h"
#include "conversion/ResultShapes.h"
#include "geodesy/CoordinateSystems.h"

class QLabel;
class QPainter;
class QPushButton;

namespace transref {

class UserDialogs;

// The picture itself.
class ResultCanvas : public QWidget {
  Q_OBJECT

 public:
  // Marks drawn at most; above this every n-th is drawn.
  static constexpr std::size_t kMarkLimit = 20000;
  // Path vertices drawn at most; above this every n-th path is drawn.
  static constexpr std::size_t kVertexLimit = 200000;
  // Identifiers are written beside the points up to this many.
  static constexpr std::size_t kLabelLimit = 200;

  explicit ResultCanvas(QWidget* parent = nullptr);
  void SetShapes(ResultShapes shapes, CoordinateSystemKind system);
  const ResultShapes& Shapes() const { return shapes_; }
  std::size_t MarkStride() const { return markStride_; }
  std::size_t PathStride() const { return pathStride_; }
  // Draws the picture into any paint device of the given size.
  void Render(QPainter& painter, const QSize& size) const;
  QSize sizeHint() const override { return {760, 520}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ResultShapes shapes_;
  CoordinateSystemKind system_ = CoordinateSystemKind::Utm;
  std::size_t markStride_ = 1, pathStride_ = 1;
};

class TFormResultView : public QWidget {
  Q_OBJECT

 public:
  explicit TFormResultView(UserDialogs& dialogs, QWidget* parent = nullptr);

  // Reads the converted file; false (after telling the user why) when it
  // cannot be pictured. A delimited output is read in the columns the run's
  // layout chose.
  bool Open(const QString& path, FileKind kind, CoordinateSystemKind system, const DelimitedOptions& delimited = {});
  // Saves the picture at the canvas's size; false when it cannot be written.
  bool SavePng(const QString& path);

  ResultCanvas* Canvas() const { return canvas_; }
  QLabel* Info() const { return info_; }
  QPushButton* BBSaveResultPng() const { return bbSave_; }

 public slots:
  // Asks for a file name and saves the picture there.
  void BBSaveResultPngClick();

 private:
  UserDialogs& dialogs_;
  ResultCanvas* canvas_ = nullptr;
  QLabel* info_ = nullptr;
  QPushButton* bbSave_ = nullptr;
  QPushButton* bbClose_ = nullptr;
  QString path_;
};

}  // namespace transref
