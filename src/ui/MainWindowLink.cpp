#include "ui/MainWindowLink.h"

#include <QComboBox>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QVariant>

namespace transref {

namespace {

const char* Named(WizardSide side, const char* input, const char* output) {
  return side == WizardSide::Input ? input : output;
}

}  // namespace

QString ControlText(const QObject* control) {
  return control ? control->property("text").toString() : QString();
}

QComboBox* MainWindowLink::Combo(const char* name) const {
  return FindNamed<QComboBox>(window_.data(), QString::fromLatin1(name));
}

bool MainWindowLink::Run(const char* handler) const {
  if (!window_) return false;
  return QMetaObject::invokeMethod(window_.data(), handler, Qt::DirectConnection);
}

// The entry is selected with the list's own signals blocked and the handler is
// then run once by name: the handler runs exactly once whether or not the main
// window also binds it to the list's change signal.
bool MainWindowLink::SelectInCombo(const char* combo, int position, const char* handler) {
  QComboBox* box = Combo(combo);
  if (!box || position < 0 || position >= box->count()) return false;
  {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(position);
  }
  return Run(handler);
}

void MainWindowLink::SelectFileKind(WizardSide side, int position) {
  SelectInCombo(Named(side, "CBFileNameIn", "CBFileNameOut"), position,
                Named(side, "CBFileNameInChange", "CBFileNameOutChange"));
}

void MainWindowLink::SelectDxfKind(WizardSide side) {
  const char* name = Named(side, "CBFileNameIn", "CBFileNameOut");
  QComboBox* box = Combo(name);
  if (!box) return;
  SelectInCombo(name, box->findText(QStringLiteral("DXF")),
                Named(side, "CBFileNameInChange", "CBFileNameOutChange"));
}

bool MainWindowLink::SelectSystem(WizardSide side, const QString& system) {
  const char* name = Named(side, "CBCoordinatesSystemsIn", "CBCoordinatesSystemsOut");
  QComboBox* box = Combo(name);
  if (!box) return false;
  return SelectInCombo(name, box->findText(system),
                       Named(side, "CBCoordinatesSystemsInChange", "CBCoordinatesSystemsOutChange"));
}

bool MainWindowLink::SelectEllipsoid(WizardSide side, const QString& ellipsoid) {
  const char* name = Named(side, "CBGeodeticReferenceIn", "CBGeodeticReferenceOut");
  QComboBox* box = Combo(name);
  if (!box) return false;
  return SelectInCombo(name, box->findText(ellipsoid),
                       Named(side, "CBGeodeticReferenceInChange", "CBGeodeticReferenceOutChange"));
}

QString MainWindowLink::FilePanelText(WizardSide side) const {
  return ControlText(FindNamed<QWidget>(window_.data(),
                                        QString::fromLatin1(Named(side, "EditFileNameIn", "EditFileNameOut"))));
}

void MainWindowLink::PickFile(WizardSide side) {
  Run(Named(side, "EditFileNameInClick", "EditFileNameOutClick"));
}

bool MainWindowLink::ProcessEnabled() const {
  const QWidget* button = FindNamed<QWidget>(window_.data(), QStringLiteral("BBProcess"));
  return button && button->isEnabled();
}

void MainWindowLink::Process() { Run("BBProcessClick"); }

}  // namespace transref
