#pragma once
// Last page of the wizard: the summary of the choices, the two file panels
// (the main window's pickers) and "Executar", which sets the heights as the
// wizard's conversions want them and starts the main window's processing.

#include <QPointer>

#include "ui/TFormSetupPage.h"

class QGroupBox;
class QPushButton;

namespace transref {

class TFormSetup07 final : public TFormSetupPage {
  Q_OBJECT

 public:
  explicit TFormSetup07(MainWindowLink& mainWindow, QWidget* parent = nullptr);

  // The altimetry dialog the main window shares with the wizard.
  void SetAltimetryDialog(QWidget* dialog) { altimetry_ = dialog; }

  QPushButton* ProcessButton() const { return BBProcess; }
  QPushButton* InputFilePanel() const { return EditFileNameIn; }
  QPushButton* OutputFilePanel() const { return EditFileNameOut; }

 public slots:
  void EditFileNameInClick();
  void EditFileNameOutClick();
  void BBProcessClick();

 protected:
  void FormShow() override;

 private:
  QPushButton* AddFilePanel(QGroupBox* group, const QString& name, const QString& caption);
  void SetHeightsForWizard();

  QGroupBox* GBFiles;
  QPushButton* EditFileNameIn;
  QPushButton* EditFileNameOut;
  QPushButton* BBProcess;
  QPointer<QWidget> altimetry_;
};

}  // namespace transref
