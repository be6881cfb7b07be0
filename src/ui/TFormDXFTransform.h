#pragma once
// The main window: input column "ENTRADA", transformation parameters in the
// middle, output column "SAÍDA". It owns every setting of a run and turns
// them into a ConversionJob when the process button is pressed.
//
// The two side columns are twins: every `...In` control has an `...Out`
// counterpart, reached through SideControls. Handlers carry the names the
// wizard pages call them by.

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

#include "conversion/ConversionJob.h"
#include "conversion/Messages.h"
#include "conversion/model/JobModel.h"
#include "geodesy/CoordinateSystems.h"
#include "geodesy/PointChain.h"
#include "ui/UiTexts.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace transref {

class ClickPanel;
class GridFilePanel;
class TFormDXFAltimetry;
class TFormPointConversion;
class TFormProcessBar1;
class UserDialogs;
struct RunResult;

class TFormDXFTransform : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 965;
  static constexpr int kHeight = 629;
  static constexpr int kPathDisplayLimit = 50;

  TFormDXFTransform(UserDialogs& dialogs, TFormDXFAltimetry& altimetry, TFormProcessBar1& progress,
                    QWidget* parent = nullptr);
  ~TFormDXFTransform() override;

  // What closing the window does (default: quit the application). The
  // start window will route this to its own close.
  void SetCloseApplicationHandler(std::function<void()> handler);
  // Places the window to the right of a wizard page of the given geometry.
  void PlaceBeside(const QWidget& page);

  // Controls of one side column.
  struct SideControls {
    QGroupBox* gbFile = nullptr;
    QGroupBox* gbFileKind = nullptr;
    QComboBox* cbFileName = nullptr;
    QLabel* lFileName = nullptr;
    ClickPanel* editFileName = nullptr;
    QGroupBox* gbAltimetry = nullptr;
    QRadioButton* rbGometric = nullptr;
    QRadioButton* rbOrthometric = nullptr;
    QPushButton* bbSetupAltimetria = nullptr;
    QGroupBox* gbCoordinatesSystems = nullptr;
    QComboBox* cbCoordinatesSystems = nullptr;
    QGroupBox* gbAditionalInfo = nullptr;
    QComboBox* cbHLong = nullptr;
    QComboBox* cbHLat = nullptr;
    QComboBox* cbAmplitudeZone = nullptr;
    QLabel* lCM = nullptr;
    QComboBox* cbCM = nullptr;
    ClickPanel* pSelectedCM = nullptr;
    QLineEdit* eSelectedCM = nullptr;
    QPushButton* bbSelectedCMOk = nullptr;
    QLabel* labelSelectedCM = nullptr;
    QLineEdit* eFalseEast = nullptr;
    QLineEdit* eFalseNorth = nullptr;
    QGroupBox* gbGeodeticReferential = nullptr;
    QComboBox* cbGeodeticReference = nullptr;
    QLineEdit* editSemiMajorAxis = nullptr;
    QLineEdit* editReciprocalFlattening = nullptr;
  };
  const SideControls& Controls(Side side) const { return sides_[static_cast<int>(side)].c; }

  QComboBox* CBTransformation() const { return cbTransformation_; }
  QGroupBox* GBIsogonal() const { return gbIsogonal_; }
  QGroupBox* GBAfim() const { return gbAfim_; }
  GridFilePanel* GBGrid() const { return gridPanel_; }
  QLabel* LParameterLegs() const { return lParameterLegs_; }
  // EditIsogLambda, EditIsogTx, Ty, Tz, EditIsogRx, Ry, Rz.
  const std::array<QLineEdit*, 7>& IsogonalEdits() const { return isogonalEdits_; }
  // EditAfimTx, Ty, Tz, EditAfimA ... EditAfimI.
  const std::array<QLineEdit*, 12>& AffineEdits() const { return affineEdits_; }
  QPushButton* BBProcess() const { return bbProcess_; }
  QPushButton* BBClose() const { return bbClose_; }
  QPushButton* BBPoint() const { return bbPoint_; }
  QPushButton* BBLayoutIn() const { return bbLayout_; }
  TFormDXFAltimetry& Altimetry() { return altimetry_; }
  TFormProcessBar1& Progress() { return progress_; }

  // Window state read by processing and by the wizard.
  const QString& InputFileName() const { return side(Side::In).fileName; }
  const QString& OutputFileName() const { return side(Side::Out).fileName; }
  bool InputFileChosen() const { return side(Side::In).fileChosen; }
  bool OutputFileChosen() const { return side(Side::Out).fileChosen; }
  QString SelectedSystem(Side s) const { return FromUtf8(model_.SystemLabel(s)); }
  double ScaleFactor(Side s) const { return model_.Fields(s).scaleFactor; }
  QString CustomSemiMajorAxis(Side s) const { return FromUtf8(model_.Fields(s).customSemiMajorAxisText); }
  QString CustomReciprocalFlattening(Side s) const {
    return FromUtf8(model_.Fields(s).customInverseFlatteningText);
  }
  int LastFileKind(Side s) const { return side(s).lastFileKind; }
  int LastTransformationModel() const { return static_cast<int>(model_.Model()); }
  const QString& LastInputPath() const { return lastInputPath_; }
  const QString& LastOutputPath() const { return lastOutputPath_; }
  const AltimetrySettings& AltimetryState() const { return model_.Altimetry(); }
  // The model of the job the controls show.
  const JobModel& Model() const { return model_; }

  // Reads the controls into a job; shows the failure and gives nothing when
  // a value cannot be read. Rewrites the numeric edits as it reads them.
  std::optional<ConversionJob> BuildJob();
  // The job the current choices make, read without a message and without
  // rewriting any edit (the single-point window follows it as it changes);
  // nothing while a value cannot be read.
  std::optional<ConversionJob> CurrentJob();
  // Enables BBProcess exactly when a run would change something.
  bool IsRunnable();

 public slots:
  void FormCreate();
  void CBFileNameInChange();
  void CBFileNameOutChange();
  void EditFileNameInClick();
  void EditFileNameOutClick();
  void CBCoordinatesSystemsInChange();
  void CBCoordinatesSystemsOutChange();
  void CBGeodeticReferenceInChange();
  void CBGeodeticReferenceOutChange();
  void EditSemiMajorAxisInClick();
  void EditSemiMajorAxisOutClick();
  void EditSemiMajorAxisInExit();
  void EditSemiMajorAxisOutExit();
  void EditReciprocalFlatteningInClick();
  void EditReciprocalFlatteningOutClick();
  void EditReciprocalFlatteningInExit();
  void EditReciprocalFlatteningOutExit();
  void CBHLatInChange();
  void CBHLatOutChange();
  void CBHLongInChange();
  void PSelectedCMInDblClick();
  void PSelectedCMOutDblClick();
  void ESelectedCMInExit();
  void ESelectedCMOutExit();
  void RBGometricInClick();
  void RBGometricOutClick();
  void CBTransformationChange();
  void GridFileChosen(const QString& path);
  void BBSetupAltimetriaInClick();
  void BBProcessClick();
  void BBCloseClick();
  void BBPointClick();
  // The layout dialog of a delimited input file.
  void BBLayoutInClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct SideState {
    SideControls c;
    QString fileName;
    bool fileChosen = false;
    int lastFileKind = -1;
  };
  SideState& side(Side s) { return sides_[static_cast<int>(s)]; }
  const SideState& side(Side s) const { return sides_[static_cast<int>(s)]; }

  // Layout.
  void BuildLayout();
  QWidget* BuildSideColumn(Side s);
  QWidget* BuildParameterColumn();
  void BuildFileGroup(Side s, QWidget* parent);
  void BuildSystemGroup(Side s, QWidget* parent);
  void ConnectHandlers();

  // Handler bodies shared by the twins.
  void FileKindChange(Side s);
  // The binding: the free fields read into the model, the model shown.
  void PullFields();
  void ShowModel();
  void ShowSide(Side s);
  void ShowFileKinds();
  void ShowParameters();
  int KindPosition(Side s) const;
  void SystemChange(Side s);
  void ApplyHeightControls(Side s, bool cartesian);
  void GeodeticReferenceChange(Side s);
  void EllipsoidEditClick(Side s, QLineEdit* edit);
  void EllipsoidEditExit(Side s, QLineEdit* edit);
  void SelectedCMDblClick(Side s);
  void SelectedCMExit(Side s);
  void HeightRadioClick(Side s);
  void SetHeightRadio(Side s, bool geometric);
  void ResetFileChoice(Side s);
  void ShowChosenFile(Side s, const QString& path);
  std::optional<QString> AskFileName(Side s);
  bool AskSameFile(const QString& text);
  bool AskOverwrite(const QString& path);
  void ShowRunMessages(const std::vector<UserMessage>& messages);
  // The end of a successful run: the summary box with its picture.
  void ShowRunSummary(const ConversionJob& job, const RunResult& result);
  void ShowError(const QString& text, const QString& caption);
  // Reads the seven isogonal and twelve affine edits through `read` (the
  // scale as a plain number in the user's notation) into the model; false
  // when the scale is not a number.
  bool PushParameters(const std::function<double(QLineEdit*)>& read);

  UserDialogs& dialogs_;
  TFormDXFAltimetry& altimetry_;
  TFormProcessBar1& progress_;
  std::function<void()> closeApplication_;

  std::array<SideState, 2> sides_{};
  QComboBox* cbTransformation_ = nullptr;
  QGroupBox* gbIsogonal_ = nullptr;
  QGroupBox* gbAfim_ = nullptr;
  GridFilePanel* gridPanel_ = nullptr;
  QLabel* lParameterLegs_ = nullptr;
  std::array<QLineEdit*, 7> isogonalEdits_{};
  std::array<QLineEdit*, 12> affineEdits_{};
  QPushButton* bbProcess_ = nullptr;
  QPushButton* bbClose_ = nullptr;
  QPushButton* bbPoint_ = nullptr;
  QPushButton* bbLayout_ = nullptr;
  TFormPointConversion* pointWindow_ = nullptr;

  // The one question of the parameter lookup, put in two message boxes.
  struct ParameterQuestion : Dialogue {
    TFormDXFTransform* window = nullptr;
    bool AskCustomParameters() override;
  };
  JobModel model_;
  ParameterQuestion question_;
  bool showing_ = false;       // the model is being shown: no reading back
  unsigned shownIsogonal_ = 0, shownAffine_ = 0;  // parameter writes the fields show
  int saveFilterIndex_ = 0;
  QString lastInputPath_;
  QString lastOutputPath_;
};

}  // namespace transref
