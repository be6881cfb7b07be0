#pragma once
// The one seam through which the windows talk to the user in modal boxes and
// file dialogs. Production code uses QtUserDialogs; tests use a scripted
// stand-in (ScriptedUserDialogs.h) that records every request.

#include <QString>
#include <QList>
#include <QStringList>

class QWidget;

#include <functional>
#include <optional>
#include <string>

#include "conversion/FileKind.h"
#include "conversion/RunSummary.h"
#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"

namespace transref {

// Icons of a message box. "Exclamation" and "Warning" are distinct requests
// of the windows even though the platform draws them alike.
enum class MessageIcon { None, Question, Information, Exclamation, Warning, Stop };

enum class MessageButtons { Ok, YesNo };

enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest {
  QString text;
  QString caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  QString title;
  // Filter list in the "Description|pattern|Description|pattern" form.
  QString filter;
  // Zero-based position of the filter selected when the dialog opens.
  int selectedFilter = 0;
  bool mustExist = false;  // open: the file must exist
  // A save dialog never asks before replacing a file itself: the windows
  // ask once, about the name they will write.
};

struct FileDialogResult {
  bool accepted = false;
  QString path;
  int selectedFilter = 0;  // zero-based position of the filter in use
};

// The end of a successful run, as TFormRunSummary shows it.
struct RunSummaryRequest {
  RunSummary summary;
  FileKind outputKind = FileKind::Ascii3D;
  CoordinateSystemKind outputSystem = CoordinateSystemKind::Utm;
  DelimitedOptions delimited{};  // the layout a delimited output was written in
};

// The layout of a delimited input, as TFormDelimitedLayout asks for it.
struct DelimitedLayoutRequest {
  QString path;
  CoordinateSystemKind inputSystem = CoordinateSystemKind::Utm;
  bool geometricHeight = false;
  DelimitedOptions options{};  // the choice the dialog starts from
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  virtual MessageAnswer ShowMessage(const MessageBoxRequest& request) = 0;
  virtual FileDialogResult ShowFileDialog(const FileDialogRequest& request) = 0;
  // The summary box of a run, modal.
  virtual void ShowRunSummary(const RunSummaryRequest& request) = 0;
  // The layout dialog, modal: the user's choice, or nothing when cancelled.
  virtual std::optional<DelimitedOptions> ChooseDelimitedLayout(const DelimitedLayoutRequest& request) = 0;
};

// "A|a|B|b" -> {"A", "B"} descriptions and {"a", "b"} patterns.
struct FilterEntry {
  QString description;
  QString pattern;
};
QList<FilterEntry> SplitFilterList(const QString& filter);

// Production implementation: QMessageBox and QFileDialog.
class QtUserDialogs final : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override;
  void ShowRunSummary(const RunSummaryRequest& request) override;
  std::optional<DelimitedOptions> ChooseDelimitedLayout(const DelimitedLayoutRequest& request) override;

 private:
  QWidget* parent_;
};

// Installs the error layer's acknowledgement hook for its lifetime: every
// report of the error layer is shown as a modal box through `dialogs`.
class AcknowledgeBoxHook {
 public:
  explicit AcknowledgeBoxHook(UserDialogs& dialogs);
  ~AcknowledgeBoxHook();
  AcknowledgeBoxHook(const AcknowledgeBoxHook&) = delete;
  AcknowledgeBoxHook& operator=(const AcknowledgeBoxHook&) = delete;

 private:
  std::function<void(const std::string&)> previous_;
};

// Caption of the box that shows an error-layer report.
inline const QString kErrorReportCaption = QStringLiteral("Erro");

}  // namespace transref
