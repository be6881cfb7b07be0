#pragma once
// The altimetry corrections dialog: how the heights of each side are treated
// (geometric or orthometric, one mean height, one mean geoid undulation) and
// whether the output keeps the input heights. Closing it, by OK or by the
// frame, stores the choices in the AltimetrySettings it is attached to.

#include <QDialog>

#include <array>
#include <functional>

#include "geodesy/PointChain.h"
#include "ui/UiTexts.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace transref {

class UserDialogs;

class TFormDXFAltimetry : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidthBoth = 774;  // both panels shown
  static constexpr int kWidthInput = 390;  // input panel only
  static constexpr int kHeight = 290;

  explicit TFormDXFAltimetry(UserDialogs& dialogs, QWidget* parent = nullptr);

  // The settings the dialog writes (owned by the main window).
  void AttachSettings(AltimetrySettings* settings);
  AltimetrySettings& Settings() { return *settings_; }
  // Called when a side's height kind is chosen here (geometric or not), so
  // the main window can select its matching radio button.
  void SetHeightKindHandler(std::function<void(Side, bool geometric)> handler);
  // The window the dialog centres itself over when it is shown.
  void SetCentreWindow(QWidget* window) { centreWindow_ = window; }

  // Selects a height kind entry (0 "Geométricas", 1 "Ortométricas") the way
  // setting the radio group's index does: the click handler runs when the
  // entry changes.
  void SetHeightIndex(Side side, int index);
  int HeightIndex(Side side) const;

  // Layout adjustments driven by the main window's system handlers.
  void SetPanelVisible(Side side, bool visible);
  void SetDialogWidth(int width);
  void CentreOkButton();

  // Ticks or clears a box as a click would: its handler runs on a change.
  void SetChecked(QCheckBox* box, bool checked);
  // A side whose system is "Cartesianas" has no heights: its height kind goes
  // to "Ortométricas", its options are cleared and its panel hidden, and the
  // import box is cleared and hidden.
  void ApplyCartesianSide(Side side);
  void SetImportBoxVisible(bool visible);

  bool ClosedByOk() const { return closedByOk_; }

  struct Panel {
    QGroupBox* pAlt = nullptr;
    QGroupBox* rgHeight = nullptr;
    QRadioButton* geometric = nullptr;
    QRadioButton* orthometric = nullptr;
    QButtonGroup* heightGroup = nullptr;
    QCheckBox* useMeanHeight = nullptr;
    QLabel* lHmedia = nullptr;
    QLabel* lhhh = nullptr;
    QLabel* lHH = nullptr;
    QLineEdit* eHMean = nullptr;
    QCheckBox* calcOrthometric = nullptr;
    QLabel* lh = nullptr;
    QLabel* lWaveMean = nullptr;
    QLineEdit* eWMean = nullptr;
  };
  const Panel& PanelOf(Side side) const { return panels_[static_cast<int>(side)]; }
  QCheckBox* CBImportHeight() const { return cbImportHeight_; }
  QPushButton* BBOk() const { return bbOk_; }
  QWidget* PBottom() const { return pBottom_; }

 public slots:
  void RGHeightInClick();
  void RGHeightOutClick();
  void CBImportHeightClick();
  void CBUseMeanHeitghtInClick();
  void CBUseMeanHeitghtOutClick();
  void CBCalcOrthometricInClick();
  void CBCalcOrthometricOutClick();
  // Stores the settings and closes; false (dialog left open) when a number
  // cannot be read.
  bool BBOkClick();
  void FormShow();
  void FormActivate();
  // Closing any other way than OK: store as OK does; stays open on a failure.
  bool FormClose();

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildPanel(Side side, QWidget* parent);
  void HeightClick(Side side);
  void UseMeanHeightClick(Side side);
  void CalcOrthometricClick(Side side);
  bool StoreSettings();
  void FitFontToWidths();
  std::optional<double> ReadEdit(QLineEdit* edit);

  UserDialogs& dialogs_;
  AltimetrySettings ownSettings_{};
  AltimetrySettings* settings_ = &ownSettings_;
  std::function<void(Side, bool)> heightKindHandler_;
  QWidget* centreWindow_ = nullptr;
  std::array<Panel, 2> panels_{};
  QCheckBox* cbImportHeight_ = nullptr;
  QWidget* pBottom_ = nullptr;
  QLayout* panelsLayout_ = nullptr;
  QPushButton* bbOk_ = nullptr;
  bool closedByOk_ = false;
};

}  // namespace transref
