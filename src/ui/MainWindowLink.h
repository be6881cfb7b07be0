#pragma once
// The wizard's hold on the main working window. The wizard keeps no settings
// of its own: every answer is written into the main window by selecting an
// entry of one of its lists and then running that window's own handler, as a
// user would. Controls are found by their names and handlers are run through
// Qt's meta-object system, so the wizard depends only on the names the main
// window publishes (its control objectNames and public slots).

#include <QPointer>
#include <QString>
#include <QWidget>

class QComboBox;

namespace transref {

enum class WizardSide { Input, Output };

class MainWindowLink {
 public:
  MainWindowLink() = default;
  explicit MainWindowLink(QWidget* mainWindow) : window_(mainWindow) {}

  void SetWindow(QWidget* mainWindow) { window_ = mainWindow; }
  QWidget* Window() const { return window_; }

  // Selects the file kind at `position` of CBFileNameIn/Out and runs
  // CBFileNameInChange/CBFileNameOutChange.
  void SelectFileKind(WizardSide side, int position);
  // Selects the "DXF" entry (never relabelled, so found by its text).
  void SelectDxfKind(WizardSide side);
  // Selects the system entry whose text is `system` and runs the side's
  // system handler. Returns false when the list has no such entry.
  bool SelectSystem(WizardSide side, const QString& system);
  // Selects the ellipsoid entry `ellipsoid` and runs the side's ellipsoid
  // handler. Returns false when the list has no such entry.
  bool SelectEllipsoid(WizardSide side, const QString& ellipsoid);

  // Text shown by the main window's file panel of the side.
  QString FilePanelText(WizardSide side) const;
  // Runs the main window's file picker of the side.
  void PickFile(WizardSide side);

  bool ProcessEnabled() const;
  void Process();

  // Runs a public slot of the main window by name; false when it has none.
  bool Run(const char* handler) const;

 private:
  QComboBox* Combo(const char* name) const;
  bool SelectInCombo(const char* combo, int position, const char* handler);

  QPointer<QWidget> window_;
};

// Finds a named child of `root` of type T; null when there is none.
template <typename T>
T* FindNamed(const QObject* root, const QString& name) {
  return root ? root->findChild<T*>(name) : nullptr;
}

// Reads the "text" property of a control of any kind (label, button, edit).
QString ControlText(const QObject* control);

}  // namespace transref
