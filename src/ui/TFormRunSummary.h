#pragma once
// The end of a successful run: the success line, how many points (or
// drawing entities) were converted, the output file and the plausibility
// warnings; "Abrir pasta" shows the output's folder in the desktop's file
// manager, "Ver resultado" opens a picture of the output.

#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

#include "conversion/FileKind.h"
#include "conversion/RunSummary.h"
#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"

class QLabel;
class QPushButton;

namespace transref {

class TFormResultView;
class UserDialogs;

class TFormRunSummary : public QDialog {
  Q_OBJECT

 public:
  // `outputKind` and `outputSystem` say how the output file is read and
  // what its coordinates are.
  TFormRunSummary(const RunSummary& summary, FileKind outputKind, CoordinateSystemKind outputSystem,
                  UserDialogs& dialogs, QWidget* parent = nullptr);

  // What "Abrir pasta" calls with the folder's address (default:
  // QDesktopServices::openUrl); false when nothing could show it.
  void SetFolderOpener(std::function<bool(const QUrl&)> opener) { openFolder_ = std::move(opener); }

  // The layout a delimited output was written in (its columns are read back
  // as the input's were chosen).
  void SetDelimitedOptions(const DelimitedOptions& options) { delimited_ = options; }

  QString Text() const;
  QPushButton* BBOpenFolder() const { return bbOpenFolder_; }
  QPushButton* BBViewResult() const { return bbViewResult_; }
  // The picture opened by "Ver resultado" (null before, or once closed).
  TFormResultView* ResultView() const { return view_; }

 public slots:
  void BBOpenFolderClick();
  void BBViewResultClick();

 private:
  RunSummary summary_;
  FileKind outputKind_;
  CoordinateSystemKind outputSystem_;
  DelimitedOptions delimited_{};
  UserDialogs& dialogs_;
  std::function<bool(const QUrl&)> openFolder_;
  QLabel* text_ = nullptr;
  QPushButton* bbOpenFolder_ = nullptr;
  QPushButton* bbViewResult_ = nullptr;
  QPushButton* bbOk_ = nullptr;
  QPointer<TFormResultView> view_;
};

}  // namespace transref
