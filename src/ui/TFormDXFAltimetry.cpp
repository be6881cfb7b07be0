#include "ui/TFormDXFAltimetry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/ScreenPlacement.h"
#include "ui/UserDialogs.h"

namespace transref {

namespace {

// Room around and between the panels; the fixed widths leave little.
constexpr int kDialogMargin = 4;

const QString kUndulationHint = QStringLiteral("Ondulação Geodéial Média");

QString Suffix(Side side) { return side == Side::In ? QStringLiteral("In") : QStringLiteral("Out"); }

// The settings fields of one side.
struct HeightFields {
  bool& geometric;
  bool& useMeanHeight;
  bool& meanUndulation;
  double& meanHeight;
  double& undulation;
};

HeightFields FieldsOf(AltimetrySettings& s, Side side) {
  if (side == Side::In)
    return {s.inputGeometric, s.inputUseMeanHeight, s.inputMeanUndulation, s.inputMeanHeight, s.inputUndulation};
  return {s.outputGeometric, s.outputUseMeanHeight, s.outputMeanUndulation, s.outputMeanHeight,
          s.outputUndulation};
}

void SetShownEnabled(QWidget* widget, bool shown, bool enabled) {
  widget->setVisible(shown);
  widget->setEnabled(enabled);
}

}  // namespace

TFormDXFAltimetry::TFormDXFAltimetry(UserDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("FormDXFAltimetry"));
  setWindowTitle(QStringLiteral("Correção da Altimetria"));
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);
  UseReadableLockedText(this);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kDialogMargin, kDialogMargin, kDialogMargin, kDialogMargin);
  auto* panels = new QHBoxLayout;
  panels->setSpacing(kDialogMargin);
  panelsLayout_ = panels;
  BuildPanel(Side::In, this);
  BuildPanel(Side::Out, this);
  panels->addWidget(panels_[0].pAlt);
  panels->addWidget(panels_[1].pAlt);
  column->addLayout(panels, 1);

  pBottom_ = new QWidget(this);
  pBottom_->setObjectName(QStringLiteral("PBottom"));
  auto* bottom = new QHBoxLayout(pBottom_);
  bottom->setContentsMargins(0, 0, 0, 0);
  bbOk_ = new QPushButton(QStringLiteral("&OK"), pBottom_);
  bbOk_->setObjectName(QStringLiteral("BBOk"));
  bbOk_->setDefault(true);
  bbOk_->setAutoDefault(true);
  // Equal stretch on both sides keeps the button centred in the bottom panel.
  bottom->addStretch(1);
  bottom->addWidget(bbOk_);
  bottom->addStretch(1);
  column->addWidget(pBottom_);
  connect(bbOk_, &QPushButton::clicked, this, [this] { BBOkClick(); });

  setFixedSize(kWidthBoth, kHeight);
  FitFontToWidths();
  CentreOkButton();
}

// The dialog keeps its fixed widths, 774 with both panels and 390 with the
// input panel alone; the longest line of a panel, the mean-undulation
// question, must still show whole. With a wide platform font the margins
// alone are not enough, so the font steps down until that line fits.
void TFormDXFAltimetry::FitFontToWidths() {
  constexpr double kSmallestPointSize = 6.0;
  constexpr double kPointStep = 0.5;
  auto needed = [this](Side side) {
    const Panel& p = PanelOf(side);
    const QMargins frame = p.pAlt->contentsMargins();
    const QMargins inner = p.pAlt->layout()->contentsMargins();
    return p.calcOrthometric->sizeHint().width() + frame.left() + frame.right() + inner.left() + inner.right();
  };
  auto fits = [&] {
    const QMargins outer = layout()->contentsMargins();
    const int sides = outer.left() + outer.right();
    const int both = needed(Side::In) + needed(Side::Out) + panelsLayout_->spacing() + sides;
    return needed(Side::In) + sides <= kWidthInput && both <= kWidthBoth;
  };
  QFont smaller = font();
  while (!fits() && smaller.pointSizeF() - kPointStep >= kSmallestPointSize) {
    smaller.setPointSizeF(smaller.pointSizeF() - kPointStep);
    setFont(smaller);
  }
}

void TFormDXFAltimetry::BuildPanel(Side side, QWidget* parent) {
  Panel& p = panels_[static_cast<int>(side)];
  const QString sx = Suffix(side);
  const bool in = side == Side::In;
  p.pAlt = new QGroupBox(in ? QStringLiteral(" Altimetria de Entrada: ") : QStringLiteral(" Altimetria de Saída: "),
                         parent);
  p.pAlt->setObjectName(QStringLiteral("PAlt") + sx);
  auto* column = new QVBoxLayout(p.pAlt);
  column->setContentsMargins(kDialogMargin, kDialogMargin, kDialogMargin, kDialogMargin);

  if (!in) {
    cbImportHeight_ = new QCheckBox(QStringLiteral("Importar altitudes do arquivo de entrada?"), p.pAlt);
    cbImportHeight_->setObjectName(QStringLiteral("CBImportHeight"));
    cbImportHeight_->setChecked(true);
    column->addWidget(cbImportHeight_);
    connect(cbImportHeight_, &QCheckBox::clicked, this, &TFormDXFAltimetry::CBImportHeightClick);
  }

  p.rgHeight = new QGroupBox(in ? QStringLiteral(" As altitudes de entrada são: ")
                                : QStringLiteral(" As altitudes de saída são: "),
                             p.pAlt);
  p.rgHeight->setObjectName(QStringLiteral("RGHeight") + sx);
  auto* radios = new QHBoxLayout(p.rgHeight);
  p.geometric = new QRadioButton(QStringLiteral("&Geométricas"), p.rgHeight);
  p.geometric->setObjectName(QStringLiteral("RGHeight") + sx + QStringLiteral("Geometricas"));
  p.orthometric = new QRadioButton(QStringLiteral("&Ortométricas"), p.rgHeight);
  p.orthometric->setObjectName(QStringLiteral("RGHeight") + sx + QStringLiteral("Ortometricas"));
  p.orthometric->setChecked(true);
  p.heightGroup = new QButtonGroup(p.rgHeight);
  p.heightGroup->addButton(p.geometric, 0);
  p.heightGroup->addButton(p.orthometric, 1);
  radios->addWidget(p.geometric);
  radios->addWidget(p.orthometric);
  column->addWidget(p.rgHeight);
  connect(p.heightGroup, &QButtonGroup::idClicked, this, [this, side] { HeightClick(side); });

  p.useMeanHeight = new QCheckBox(QStringLiteral("Usar uma altitude média para todo o arquivo?"), p.pAlt);
  p.useMeanHeight->setObjectName(QStringLiteral("CBUseMeanHeitght") + sx);
  column->addWidget(p.useMeanHeight);
  connect(p.useMeanHeight, &QCheckBox::clicked, this, [this, side] { UseMeanHeightClick(side); });

  auto* meanRow = new QHBoxLayout;
  p.lhhh = new QLabel(QStringLiteral("h"), p.pAlt);
  p.lhhh->setObjectName(QStringLiteral("Lhhh") + sx);
  p.lHH = new QLabel(QStringLiteral("H"), p.pAlt);
  p.lHH->setObjectName(QStringLiteral("LHH") + sx);
  p.lHmedia = new QLabel(QStringLiteral("média (m):"), p.pAlt);
  p.lHmedia->setObjectName(QStringLiteral("LHmedia") + sx);
  // Defaults in the user's decimal notation, so that OK can read them back.
  p.eHMean = new QLineEdit(LocaleNumberText(40), p.pAlt);
  p.eHMean->setObjectName(QStringLiteral("EHMean") + sx);
  p.lHmedia->setBuddy(p.eHMean);
  p.eHMean->setAccessibleName(p.pAlt->title().trimmed() + QStringLiteral(" altitude média (m)"));
  meanRow->addWidget(p.lhhh);
  meanRow->addWidget(p.lHH);
  meanRow->addWidget(p.lHmedia);
  meanRow->addWidget(p.eHMean);
  meanRow->addStretch(1);
  column->addLayout(meanRow);

  p.calcOrthometric = new QCheckBox(in ? QStringLiteral("Calcular altitudes ORTOMÉTRICAS com ondulação média?")
                                       : QStringLiteral("Calcular altitudes GEOMÉRICAS com ondulação média?"),
                                    p.pAlt);
  p.calcOrthometric->setObjectName(QStringLiteral("CBCalcOrthometric") + sx);
  column->addWidget(p.calcOrthometric);
  connect(p.calcOrthometric, &QCheckBox::clicked, this, [this, side] { CalcOrthometricClick(side); });

  auto* waveRow = new QHBoxLayout;
  p.lh = new QLabel(QStringLiteral("h"), p.pAlt);
  p.lh->setObjectName(QStringLiteral("Lh") + sx);
  p.lWaveMean = new QLabel(QStringLiteral("média (m):"), p.pAlt);
  p.lWaveMean->setObjectName(QStringLiteral("LWaveMean") + sx);
  p.eWMean = new QLineEdit(LocaleNumberText(4.95), p.pAlt);
  p.eWMean->setObjectName(QStringLiteral("EWMean") + sx);
  p.lWaveMean->setBuddy(p.eWMean);
  p.eWMean->setAccessibleName(p.pAlt->title().trimmed() + QStringLiteral(" ondulação média (m)"));
  // Every label of the panel shows the one hint, and both edits hold it too.
  for (QWidget* w : {static_cast<QWidget*>(p.lhhh), static_cast<QWidget*>(p.lHH), static_cast<QWidget*>(p.lHmedia),
                     static_cast<QWidget*>(p.eHMean), static_cast<QWidget*>(p.lh), static_cast<QWidget*>(p.lWaveMean),
                     static_cast<QWidget*>(p.eWMean)})
    w->setToolTip(kUndulationHint);
  waveRow->addWidget(p.lh);
  waveRow->addWidget(p.lWaveMean);
  waveRow->addWidget(p.eWMean);
  waveRow->addStretch(1);
  column->addLayout(waveRow);
  column->addStretch(1);

  if (in) {
    // Mean height row visible but disabled, undulation controls hidden.
    SetShownEnabled(p.lhhh, false, false);
    SetShownEnabled(p.lHH, true, false);
    SetShownEnabled(p.lHmedia, true, false);
    SetShownEnabled(p.eHMean, true, false);
    SetShownEnabled(p.calcOrthometric, false, true);
    for (QWidget* w : {static_cast<QWidget*>(p.lh), static_cast<QWidget*>(p.lWaveMean),
                       static_cast<QWidget*>(p.eWMean)})
      SetShownEnabled(w, false, false);
  } else {
    // Everything but the import box hidden and disabled.
    for (QWidget* w : {static_cast<QWidget*>(p.rgHeight), static_cast<QWidget*>(p.useMeanHeight),
                       static_cast<QWidget*>(p.lhhh), static_cast<QWidget*>(p.lHH),
                       static_cast<QWidget*>(p.lHmedia), static_cast<QWidget*>(p.eHMean),
                       static_cast<QWidget*>(p.calcOrthometric), static_cast<QWidget*>(p.lh),
                       static_cast<QWidget*>(p.lWaveMean), static_cast<QWidget*>(p.eWMean)})
      SetShownEnabled(w, false, false);
  }
}

void TFormDXFAltimetry::AttachSettings(AltimetrySettings* settings) {
  settings_ = settings != nullptr ? settings : &ownSettings_;
}

void TFormDXFAltimetry::SetHeightKindHandler(std::function<void(Side, bool)> handler) {
  heightKindHandler_ = std::move(handler);
}

void TFormDXFAltimetry::SetHeightIndex(Side side, int index) {
  const Panel& p = PanelOf(side);
  if (HeightIndex(side) == index) return;
  (index == 0 ? p.geometric : p.orthometric)->setChecked(true);
  HeightClick(side);
}

int TFormDXFAltimetry::HeightIndex(Side side) const {
  return PanelOf(side).geometric->isChecked() ? 0 : 1;
}

void TFormDXFAltimetry::RGHeightInClick() { HeightClick(Side::In); }
void TFormDXFAltimetry::RGHeightOutClick() { HeightClick(Side::Out); }

void TFormDXFAltimetry::HeightClick(Side side) {
  const Panel& p = PanelOf(side);
  const bool geometric = p.geometric->isChecked();
  if (heightKindHandler_) heightKindHandler_(side, geometric);
  FieldsOf(*settings_, side).geometric = geometric;
  // While the output imports the input's heights its controls stay hidden
  // whole: a height kind chosen in the main window shows none of them.
  if (side == Side::Out && cbImportHeight_->isChecked()) return;
  p.lhhh->setVisible(geometric);
  p.lHH->setVisible(!geometric);
  for (QWidget* w : {static_cast<QWidget*>(p.calcOrthometric), static_cast<QWidget*>(p.lh),
                     static_cast<QWidget*>(p.lWaveMean), static_cast<QWidget*>(p.eWMean)})
    w->setVisible(geometric);
}

void TFormDXFAltimetry::CBUseMeanHeitghtInClick() { UseMeanHeightClick(Side::In); }
void TFormDXFAltimetry::CBUseMeanHeitghtOutClick() { UseMeanHeightClick(Side::Out); }

void TFormDXFAltimetry::UseMeanHeightClick(Side side) {
  const Panel& p = PanelOf(side);
  const bool on = p.useMeanHeight->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(p.eHMean), static_cast<QWidget*>(p.lHmedia),
                     static_cast<QWidget*>(p.lhhh), static_cast<QWidget*>(p.lHH)})
    w->setEnabled(on);
  FieldsOf(*settings_, side).useMeanHeight = on;
}

void TFormDXFAltimetry::CBCalcOrthometricInClick() { CalcOrthometricClick(Side::In); }
void TFormDXFAltimetry::CBCalcOrthometricOutClick() { CalcOrthometricClick(Side::Out); }

void TFormDXFAltimetry::CalcOrthometricClick(Side side) {
  const Panel& p = PanelOf(side);
  const bool on = p.calcOrthometric->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(p.eWMean), static_cast<QWidget*>(p.lWaveMean),
                     static_cast<QWidget*>(p.lh)})
    w->setEnabled(on);
  FieldsOf(*settings_, side).meanUndulation = on;
}

void TFormDXFAltimetry::SetChecked(QCheckBox* box, bool checked) {
  // Like a click: the box's handler runs when its state changes.
  if (box->isChecked() == checked) return;
  box->setChecked(checked);
  if (box == cbImportHeight_) {
    CBImportHeightClick();
    return;
  }
  for (Side side : {Side::In, Side::Out}) {
    if (box == PanelOf(side).useMeanHeight) UseMeanHeightClick(side);
    if (box == PanelOf(side).calcOrthometric) CalcOrthometricClick(side);
  }
}

void TFormDXFAltimetry::CBImportHeightClick() {
  const Panel& p = PanelOf(Side::Out);
  const bool importing = cbImportHeight_->isChecked();
  if (importing) {
    SetChecked(p.useMeanHeight, false);
    SetChecked(p.calcOrthometric, false);
    for (QWidget* w : {static_cast<QWidget*>(p.rgHeight), static_cast<QWidget*>(p.useMeanHeight),
                       static_cast<QWidget*>(p.calcOrthometric), static_cast<QWidget*>(p.lhhh),
                       static_cast<QWidget*>(p.lHH), static_cast<QWidget*>(p.lHmedia),
                       static_cast<QWidget*>(p.lh), static_cast<QWidget*>(p.lWaveMean)})
      SetShownEnabled(w, false, false);
    p.eHMean->hide();
    p.eWMean->hide();
  } else {
    for (QWidget* w : {static_cast<QWidget*>(p.rgHeight), static_cast<QWidget*>(p.useMeanHeight),
                       static_cast<QWidget*>(p.calcOrthometric)})
      SetShownEnabled(w, true, true);
    for (QWidget* w : {static_cast<QWidget*>(p.lhhh), static_cast<QWidget*>(p.lHH),
                       static_cast<QWidget*>(p.lHmedia), static_cast<QWidget*>(p.eHMean),
                       static_cast<QWidget*>(p.lh), static_cast<QWidget*>(p.lWaveMean),
                       static_cast<QWidget*>(p.eWMean)})
      w->show();
    // The value rows stay enabled only while their box is ticked.
    UseMeanHeightClick(Side::Out);
    CalcOrthometricClick(Side::Out);
    // Only the controls of the chosen height kind stay visible.
    RGHeightOutClick();
  }
  settings_->importHeights = importing;
}

std::optional<double> TFormDXFAltimetry::ReadEdit(QLineEdit* edit) {
  const std::optional<double> value = ReadLocaleNumber(edit->text());
  if (!value) {
    dialogs_.ShowMessage({LocaleConversionError(edit->text()), kApplicationTitle, MessageIcon::Stop,
                          MessageButtons::Ok});
  }
  return value;
}

bool TFormDXFAltimetry::StoreSettings() {
  AltimetrySettings& s = *settings_;
  for (Side side : {Side::In, Side::Out}) {
    if (side == Side::Out && s.importHeights) {
      CopyImportedHeights(s);  // the output keeps the input's heights and choices
      break;
    }
    const Panel& p = PanelOf(side);
    HeightFields f = FieldsOf(s, side);
    double meanHeight = 0.0;
    if (f.useMeanHeight) {
      const std::optional<double> value = ReadEdit(p.eHMean);
      if (!value) return false;
      meanHeight = *value;
    }
    f.meanHeight = meanHeight;
    double undulation = 0.0;
    if (f.meanUndulation) {
      const std::optional<double> value = ReadEdit(p.eWMean);
      if (!value) return false;
      undulation = *value;
    }
    f.undulation = undulation;
  }
  return true;
}

bool TFormDXFAltimetry::BBOkClick() {
  if (!StoreSettings()) return false;
  closedByOk_ = true;
  QDialog::accept();
  return true;
}

void TFormDXFAltimetry::FormShow() { closedByOk_ = false; }

void TFormDXFAltimetry::FormActivate() {
  if (centreWindow_ == nullptr) return;
  // Centred over the main window, truncated to whole pixels.
  const QRect main = centreWindow_->frameGeometry();
  const QRect own = frameGeometry();
  move(main.left() + (main.width() - own.width()) / 2, main.top() + (main.height() - own.height()) / 2);
  // Over a main window near the screen's edge, OK must stay in reach.
  KeepInsideScreen(this);
}

bool TFormDXFAltimetry::FormClose() {
  if (!closedByOk_ && !StoreSettings()) return false;
  QDialog::reject();
  return true;
}

void TFormDXFAltimetry::reject() { FormClose(); }

void TFormDXFAltimetry::showEvent(QShowEvent* event) {
  FormShow();
  FormActivate();
  QDialog::showEvent(event);
}

void TFormDXFAltimetry::SetPanelVisible(Side side, bool visible) { PanelOf(side).pAlt->setVisible(visible); }

void TFormDXFAltimetry::ApplyCartesianSide(Side side) {
  const Panel& p = PanelOf(side);
  SetHeightIndex(side, 1);
  SetChecked(p.useMeanHeight, false);
  SetChecked(p.calcOrthometric, false);
  SetPanelVisible(side, false);
  SetChecked(cbImportHeight_, false);
  SetImportBoxVisible(false);
}

void TFormDXFAltimetry::SetImportBoxVisible(bool visible) { cbImportHeight_->setVisible(visible); }

void TFormDXFAltimetry::SetDialogWidth(int width) { setFixedSize(width, kHeight); }

void TFormDXFAltimetry::CentreOkButton() {
  // The bottom row's equal stretches centre the button; lay the dialog out
  // now (also while it is hidden) so that the position is right at once.
  layout()->setGeometry(rect());
  pBottom_->layout()->setGeometry(pBottom_->rect());
}

}  // namespace transref
