#include "ui/TFormDXFTransform.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <stdexcept>

#include "conversion/Driver.h"
#include "conversion/Messages.h"
#include "geodesy/ParameterSets.h"
#include "geodesy/Sexagesimal.h"
#include "support/Paths.h"
#include "ui/ClickPanel.h"
#include "ui/ScreenPlacement.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormProcessBar1.h"
#include "ui/UserDialogs.h"

namespace transref {

namespace {

using K = CoordinateSystemKind;

// Design-time texts of the file-kind lists; Relabel rewrites the first two.
const QString kFileKindAscii3D = QStringLiteral("ASCII - Coordenadas 3D(ID; X, Y, Z)");
const QString kFileKindAscii2D = QStringLiteral("ASCII - Coordenadas 2D(ID; X, Y)");
const QString kFileKindDxf = QStringLiteral("DXF");
const QString kFirstFileText = QStringLiteral("Clique aqui para inserir o nome do arquivo");
const QString kNewFileText = QStringLiteral("Clique aqui para inserir o novo nome do arquivo");
const QString kSameInputQuestion =
    QStringLiteral("O arquivo de entrada é igual ao arquivo de saída.\n Tentar abrir novamente?");
const QString kSameOutputQuestion =
    QStringLiteral("O arquivo de saída é igual ao arquivo de entrada.\n Tentar abrir novamente?");
const QString kProcessAgainQuestion =
    QStringLiteral("O arquivo de saída acabou de ser processado.\n Processar novamente?");
const QString kOverwriteQuestion = QStringLiteral("O arquivo %1 já existe.\n Deseja substituí-lo?");
const QString kDxfFilter = QStringLiteral("Arquivo DXF (*.dxf)|*.dxf");
const QString kAsciiFilter = QStringLiteral("Arquivo ASCII (*.dat)|*.dat|Arquivo ASCII (*.txt)|*.txt");
constexpr int kGeneralDigits = 15;  // general float-to-text form
const QColor kTitleGreen(0, 128, 0);

QString PlaceholderOf(Side s) {
  return s == Side::In ? QStringLiteral("Insira um valor") : QStringLiteral("Outsira um valor");
}

QString SideWord(Side s) { return s == Side::In ? QStringLiteral("entrada") : QStringLiteral("saída"); }

// Font colour of an edit or panel, the same in every colour group.
void SetFontColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Text, colour);
    palette.setColor(group, QPalette::WindowText, colour);
  }
  widget->setPalette(palette);
}

QColor NormalTextColour(const QWidget* widget) {
  return widget->style() != nullptr ? QPalette().color(QPalette::Active, QPalette::WindowText) : Qt::black;
}

std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The list labels of the first two file kinds for a system family.
struct KindLabels {
  QString ascii3D;
  QString ascii2D;
};

KindLabels FileKindLabels(SystemFamily family, bool geometric) {
  const QChar height = geometric ? QLatin1Char('h') : QLatin1Char('H');
  switch (family) {
    case SystemFamily::Projected:
      return {QStringLiteral("ASCII - Coordenadas 3D(ID; E, N, %1)").arg(height),
              QStringLiteral("ASCII - Coordenadas 2D(ID; E, N)")};
    case SystemFamily::Geographic:
      return {QStringLiteral("ASCII - Coordenadas 3D(ID; Long, Lat, %1)").arg(height),
              QStringLiteral("ASCII - Coordenadas 2D(ID; Long, Lat)")};
    case SystemFamily::Cartesian:
      break;
  }
  return {kFileKindAscii3D, kFileKindAscii2D};
}

// Systems offered for a file kind: all ten for a 3D list, no cartesian for a
// 2D list, the projected ones only for a drawing.
std::vector<K> SystemsForFileKind(int fileKind) {
  std::vector<K> kinds;
  for (int k = 0; k < kCoordinateSystemCount; ++k) {
    const K kind = static_cast<K>(k);
    if (fileKind == static_cast<int>(FileKind::Ascii2D) && kind == K::Cartesian) continue;
    if (fileKind == static_cast<int>(FileKind::Dxf) && !IsProjected(kind)) continue;
    kinds.push_back(kind);
  }
  return kinds;
}

QLabel* AddRow(QFormLayout* form, const QString& label, QWidget* field, Side s) {
  auto* text = new QLabel(label, field->parentWidget());
  text->setBuddy(field);
  field->setAccessibleName(label.trimmed().remove(QLatin1Char(':')).trimmed() + QStringLiteral(" (") +
                           SideWord(s) + QLatin1Char(')'));
  form->addRow(text, field);
  return text;
}

void SetItems(QComboBox* combo, const QStringList& items) {
  combo->clear();
  combo->addItems(items);
}

}  // namespace

TFormDXFTransform::TFormDXFTransform(UserDialogs& dialogs, TFormDXFAltimetry& altimetry,
                                     TFormProcessBar1& progress, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), altimetry_(altimetry), progress_(progress) {
  closeApplication_ = [] { QCoreApplication::quit(); };
  setObjectName(QStringLiteral("FormDXFTransform"));
  setWindowTitle(kMainCaption);
  // System menu and minimise button only; the size never changes.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kWidth, kHeight);
  // Locked values (hemispheres, zone, fixed meridians, locked ellipsoids,
  // built-in parameters) are there to be read and checked.
  UseReadableLockedText(this);
  KeepInsideScreenWhenShown(this);

  BuildLayout();
  ConnectHandlers();

  // Creation: settings at their defaults, the dialog writing into them.
  altimetrySettings_ = AltimetrySettings{};
  altimetry_.AttachSettings(&altimetrySettings_);
  altimetry_.SetCentreWindow(this);
  altimetry_.SetHeightKindHandler([this](Side s, bool geometric) { SetHeightRadio(s, geometric); });
  lastTransformationModel_ = cbTransformation_->currentIndex();
  side(Side::In).c.cbFileName->setCurrentIndex(static_cast<int>(FileKind::Dxf));
  FormCreate();
}

TFormDXFTransform::~TFormDXFTransform() {
  altimetry_.SetHeightKindHandler({});
  altimetry_.AttachSettings(nullptr);
  altimetry_.SetCentreWindow(nullptr);
}

void TFormDXFTransform::SetCloseApplicationHandler(std::function<void()> handler) {
  closeApplication_ = std::move(handler);
}

void TFormDXFTransform::PlaceBeside(const QWidget& page) { move(page.width(), page.y()); }

// ---------------------------------------------------------------- layout

void TFormDXFTransform::BuildLayout() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->setSpacing(4);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(6);
  // Created column by column so that the tab order runs down each column.
  columns->addWidget(BuildSideColumn(Side::In), 1);
  columns->addWidget(BuildParameterColumn(), 1);
  columns->addWidget(BuildSideColumn(Side::Out), 1);
  outer->addLayout(columns, 1);

  auto* bottom = new QHBoxLayout;
  bbProcess_ = new QPushButton(QStringLiteral(">>>>>>   &Processar   >>>>>>"), this);
  bbProcess_->setObjectName(QStringLiteral("BBProcess"));
  bbProcess_->setDefault(true);
  bbProcess_->setEnabled(false);
  bbClose_ = new QPushButton(QStringLiteral("&Fechar"), this);
  bbClose_->setObjectName(QStringLiteral("BBClose"));
  bottom->addStretch(1);
  bottom->addWidget(bbProcess_);
  bottom->addSpacing(24);
  bottom->addWidget(bbClose_);
  outer->addLayout(bottom);
}

QWidget* TFormDXFTransform::BuildSideColumn(Side s) {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  auto* heading = new QLabel(s == Side::In ? QStringLiteral("ENTRADA") : QStringLiteral("SAÍDA"), column);
  heading->setObjectName(s == Side::In ? QStringLiteral("LabelInput") : QStringLiteral("LabelOutput"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAlignment(Qt::AlignCenter);
  layout->addWidget(heading);
  BuildFileGroup(s, column);
  layout->addWidget(side(s).c.gbFile);
  BuildSystemGroup(s, column);
  layout->addWidget(side(s).c.gbCoordinatesSystems);
  layout->addStretch(1);
  return column;
}

void TFormDXFTransform::BuildFileGroup(Side s, QWidget* parent) {
  SideControls& c = side(s).c;
  const QString sx = s == Side::In ? QStringLiteral("In") : QStringLiteral("Out");
  c.gbFile = new QGroupBox(s == Side::In ? QStringLiteral(" Arquivo de Entrada: ")
                                         : QStringLiteral(" Arquivo de Saída: "),
                           parent);
  c.gbFile->setObjectName(QStringLiteral("GBFile") + sx);
  auto* layout = new QVBoxLayout(c.gbFile);
  layout->setSpacing(3);

  c.gbFileKind = new QGroupBox(QStringLiteral(" Tipo do Arquivo: "), c.gbFile);
  c.gbFileKind->setObjectName(QStringLiteral("GBFileKind") + sx);
  auto* kindLayout = new QHBoxLayout(c.gbFileKind);
  kindLayout->setContentsMargins(4, 2, 4, 2);
  c.cbFileName = new QComboBox(c.gbFileKind);
  c.cbFileName->setObjectName(QStringLiteral("CBFileName") + sx);
  c.cbFileName->addItems({kFileKindAscii3D, kFileKindAscii2D, kFileKindDxf});
  c.cbFileName->setAccessibleName(QStringLiteral("Tipo do Arquivo (") + SideWord(s) + QLatin1Char(')'));
  kindLayout->addWidget(c.cbFileName);
  layout->addWidget(c.gbFileKind);

  c.lFileName = new QLabel(QStringLiteral("Nome do Arquivo: "), c.gbFile);
  c.lFileName->setObjectName(QStringLiteral("LFileName") + sx);
  c.editFileName = new ClickPanel(kFirstFileText, c.gbFile);
  c.editFileName->setObjectName(QStringLiteral("EditFileName") + sx);
  c.editFileName->setMinimumHeight(24);
  c.editFileName->SetShowsPath(true);
  c.lFileName->setBuddy(c.editFileName);
  c.editFileName->setAccessibleName(QStringLiteral("Nome do Arquivo (") + SideWord(s) + QLatin1Char(')'));
  layout->addWidget(c.lFileName);
  layout->addWidget(c.editFileName);

  c.gbAltimetry = new QGroupBox(QStringLiteral(" Altimetia: "), c.gbFile);
  c.gbAltimetry->setObjectName(QStringLiteral("GBAltimetry") + sx);
  auto* heights = new QVBoxLayout(c.gbAltimetry);
  heights->setContentsMargins(4, 2, 4, 2);
  auto* radios = new QHBoxLayout;
  c.rbGometric = new QRadioButton(QStringLiteral("Geométrica"), c.gbAltimetry);
  c.rbGometric->setObjectName(QStringLiteral("RBGometric") + sx);
  c.rbOrthometric = new QRadioButton(QStringLiteral("Ortométrica"), c.gbAltimetry);
  c.rbOrthometric->setObjectName(QStringLiteral("RBOrthometric") + sx);
  c.rbOrthometric->setChecked(true);
  c.rbGometric->setAccessibleName(QStringLiteral("Altimetria Geométrica (") + SideWord(s) + QLatin1Char(')'));
  c.rbOrthometric->setAccessibleName(QStringLiteral("Altimetria Ortométrica (") + SideWord(s) +
                                     QLatin1Char(')'));
  radios->addWidget(c.rbGometric);
  radios->addWidget(c.rbOrthometric);
  heights->addLayout(radios);
  c.bbSetupAltimetria = new QPushButton(QStringLiteral("Configurar Correções de &Altimetria"), c.gbAltimetry);
  c.bbSetupAltimetria->setObjectName(QStringLiteral("BBSetupAltimetria") + sx);
  heights->addWidget(c.bbSetupAltimetria);
  layout->addWidget(c.gbAltimetry);
}

void TFormDXFTransform::BuildSystemGroup(Side s, QWidget* parent) {
  SideControls& c = side(s).c;
  const QString sx = s == Side::In ? QStringLiteral("In") : QStringLiteral("Out");
  c.gbCoordinatesSystems = new QGroupBox(QStringLiteral(" Sistema de coordenadas: "), parent);
  c.gbCoordinatesSystems->setObjectName(QStringLiteral("GBCoordinatesSystems") + sx);
  auto* layout = new QVBoxLayout(c.gbCoordinatesSystems);
  layout->setSpacing(3);
  c.cbCoordinatesSystems = new QComboBox(c.gbCoordinatesSystems);
  c.cbCoordinatesSystems->setObjectName(QStringLiteral("CBCoordinatesSystems") + sx);
  c.cbCoordinatesSystems->setAccessibleName(QStringLiteral("Sistema de coordenadas (") + SideWord(s) +
                                            QLatin1Char(')'));
  layout->addWidget(c.cbCoordinatesSystems);

  // Projection details; hiding this group lets the ellipsoid group move up.
  c.gbAditionalInfo = new QGroupBox(s == Side::In ? QStringLiteral(" Informações Adicionais: ")
                                                  : QStringLiteral("Informações Adicionais: "),
                                    c.gbCoordinatesSystems);
  c.gbAditionalInfo->setObjectName(QStringLiteral("GBAditionalInfo") + sx);
  auto* form = new QFormLayout(c.gbAditionalInfo);
  form->setContentsMargins(4, 2, 4, 2);
  form->setVerticalSpacing(2);
  c.cbHLong = new QComboBox(c.gbAditionalInfo);
  c.cbHLong->setObjectName(QStringLiteral("CBHLong") + sx);
  for (std::string_view item : kLongitudeHemisphereItems) c.cbHLong->addItem(FromUtf8(item));
  c.cbHLong->setCurrentIndex(1);
  AddRow(form, QStringLiteral("Hemisfério Longitudinal:"), c.cbHLong, s);
  c.cbHLat = new QComboBox(c.gbAditionalInfo);
  c.cbHLat->setObjectName(QStringLiteral("CBHLat") + sx);
  for (std::string_view item : kLatitudeHemisphereItems) c.cbHLat->addItem(FromUtf8(item));
  c.cbHLat->setCurrentIndex(1);
  AddRow(form, QStringLiteral("Hemisfério Latitudinal:"), c.cbHLat, s);
  c.cbAmplitudeZone = new QComboBox(c.gbAditionalInfo);
  c.cbAmplitudeZone->setObjectName(QStringLiteral("CBAmplitudeZone") + sx);
  for (std::string_view item : kZoneWidthItems) c.cbAmplitudeZone->addItem(FromUtf8(item));
  c.cbAmplitudeZone->setPlaceholderText(FromUtf8(kNoZoneWidthText));
  c.cbAmplitudeZone->setEnabled(false);
  AddRow(form, QStringLiteral("Amplitude do Fuso:"), c.cbAmplitudeZone, s);

  // Central meridian: the list, or for the customised systems the panel
  // that a double click turns into an edit with its Ok button.
  auto* meridian = new QWidget(c.gbAditionalInfo);
  auto* meridianRow = new QHBoxLayout(meridian);
  meridianRow->setContentsMargins(0, 0, 0, 0);
  meridianRow->setSpacing(2);
  c.labelSelectedCM = new QLabel(QStringLiteral("MC Selecionado: "), meridian);
  c.labelSelectedCM->setObjectName(QStringLiteral("LabelSelectedCM") + sx);
  c.labelSelectedCM->hide();
  c.cbCM = new QComboBox(meridian);
  c.cbCM->setObjectName(QStringLiteral("CBCM") + sx);
  c.pSelectedCM = new ClickPanel(QStringLiteral("51° 30' 00,000\""), meridian);
  c.pSelectedCM->setObjectName(QStringLiteral("PSelectedCM") + sx);
  c.pSelectedCM->setToolTip(QStringLiteral("Duplo clique para alterar o meridiano central"));
  SetFontColour(c.pSelectedCM, LockedTextColour(this));
  c.eSelectedCM = new QLineEdit(QStringLiteral("51"), meridian);
  c.eSelectedCM->setObjectName(QStringLiteral("ESelectedCM") + sx);
  c.eSelectedCM->hide();
  c.bbSelectedCMOk = new QPushButton(QStringLiteral("&Ok"), meridian);
  c.bbSelectedCMOk->setObjectName(QStringLiteral("BBSelectedCMOk") + sx);
  c.bbSelectedCMOk->hide();
  meridianRow->addWidget(c.labelSelectedCM);
  meridianRow->addWidget(c.cbCM, 1);
  meridianRow->addWidget(c.pSelectedCM, 1);
  meridianRow->addWidget(c.eSelectedCM, 1);
  meridianRow->addWidget(c.bbSelectedCMOk);
  c.lCM = AddRow(form, QStringLiteral("Meridiano Central: "), meridian, s);
  c.lCM->setBuddy(c.cbCM);
  for (QWidget* w : {static_cast<QWidget*>(c.cbCM), static_cast<QWidget*>(c.pSelectedCM),
                     static_cast<QWidget*>(c.eSelectedCM)})
    w->setAccessibleName(meridian->accessibleName());

  c.eFalseEast = new QLineEdit(QStringLiteral("200000"), c.gbAditionalInfo);
  c.eFalseEast->setObjectName(QStringLiteral("EFalseEast") + sx);
  AddRow(form, QStringLiteral("Falso Leste: "), c.eFalseEast, s);
  c.eFalseNorth = new QLineEdit(QStringLiteral("10000000"), c.gbAditionalInfo);
  c.eFalseNorth->setObjectName(QStringLiteral("EFalseNorth") + sx);
  AddRow(form, QStringLiteral("Falso Norte: "), c.eFalseNorth, s);
  layout->addWidget(c.gbAditionalInfo);

  c.gbGeodeticReferential =
      new QGroupBox(QStringLiteral("Referencial Geodésico Associado (Elipsóide): "), c.gbCoordinatesSystems);
  c.gbGeodeticReferential->setObjectName(QStringLiteral("GBGeodeticReferential") + sx);
  auto* ellipsoid = new QFormLayout(c.gbGeodeticReferential);
  ellipsoid->setContentsMargins(4, 2, 4, 2);
  ellipsoid->setVerticalSpacing(2);
  c.cbGeodeticReference = new QComboBox(c.gbGeodeticReferential);
  c.cbGeodeticReference->setObjectName(QStringLiteral("CBGeodeticReference") + sx);
  for (int f = 0; f < kReferenceFrameCount; ++f)
    c.cbGeodeticReference->addItem(FromUtf8(FrameInfo(static_cast<ReferenceFrame>(f)).label));
  c.cbGeodeticReference->setAccessibleName(QStringLiteral("Referencial Geodésico Associado (") + SideWord(s) +
                                           QLatin1Char(')'));
  ellipsoid->addRow(c.cbGeodeticReference);
  c.editSemiMajorAxis = new QLineEdit(QStringLiteral("6378137.000"), c.gbGeodeticReferential);
  c.editSemiMajorAxis->setObjectName(QStringLiteral("EditSemiMajorAxis") + sx);
  c.editSemiMajorAxis->setEnabled(false);
  AddRow(ellipsoid, QStringLiteral("Semi-eixo maior (m): "), c.editSemiMajorAxis, s);
  c.editReciprocalFlattening = new QLineEdit(QStringLiteral(" 298.257222101"), c.gbGeodeticReferential);
  c.editReciprocalFlattening->setObjectName(QStringLiteral("EditReciprocalFlattening") + sx);
  c.editReciprocalFlattening->setEnabled(false);
  AddRow(ellipsoid, QStringLiteral("Achatamento (1/f):"), c.editReciprocalFlattening, s);
  layout->addWidget(c.gbGeodeticReferential);
}

QWidget* TFormDXFTransform::BuildParameterColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  auto* title = new QLabel(QStringLiteral("Parâmetros de Transformação"), column);
  title->setObjectName(QStringLiteral("LabelTransformationTitle"));
  title->setAlignment(Qt::AlignCenter);
  title->setAutoFillBackground(true);
  QPalette green = title->palette();
  green.setColor(QPalette::Window, kTitleGreen);
  green.setColor(QPalette::WindowText, Qt::white);
  title->setPalette(green);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);

  auto* group = new QGroupBox(QStringLiteral(" Parâmetros de Transformação: "), column);
  group->setObjectName(QStringLiteral("GBTransformationParameters"));
  auto* groupLayout = new QVBoxLayout(group);
  auto* modelLabel = new QLabel(QStringLiteral("Modelo de Transformação:"), group);
  cbTransformation_ = new QComboBox(group);
  cbTransformation_->setObjectName(QStringLiteral("CBTransformation"));
  for (int m = 0; m < kTransformationModelCount; ++m)
    cbTransformation_->addItem(FromUtf8(TransformationModelLabel(static_cast<TransformationModel>(m))));
  cbTransformation_->setCurrentIndex(0);
  modelLabel->setBuddy(cbTransformation_);
  cbTransformation_->setAccessibleName(QStringLiteral("Modelo de Transformação"));
  groupLayout->addWidget(modelLabel);
  groupLayout->addWidget(cbTransformation_);

  auto makeEdit = [](const QString& name, const QString& text, QWidget* owner) {
    auto* edit = new QLineEdit(text, owner);
    edit->setObjectName(name);
    return edit;
  };
  auto labelled = [](QFormLayout* form, const QString& label, QLineEdit* edit, const QString& context) {
    auto* text = new QLabel(label, edit->parentWidget());
    text->setBuddy(edit);
    edit->setAccessibleName(context + QLatin1Char(' ') + label.trimmed().remove(QLatin1Char(':')));
    form->addRow(text, edit);
  };

  // Isogonal (seven-parameter) and translation models.
  gbIsogonal_ = new QGroupBox(QStringLiteral(" Transformação Isogonal: "), group);
  gbIsogonal_->setObjectName(QStringLiteral("GBIsogonal"));
  auto* isogonal = new QVBoxLayout(gbIsogonal_);
  auto* translations = new QGroupBox(QStringLiteral(" Translações: "), gbIsogonal_);
  auto* tForm = new QFormLayout(translations);
  auto* rotations = new QGroupBox(QStringLiteral(" Matriz de Transformação: "), gbIsogonal_);
  auto* rForm = new QFormLayout(rotations);
  const std::array<const char*, 3> axes = {"x", "y", "z"};
  std::array<QLineEdit*, 3> t{}, r{};
  for (int k = 0; k < 3; ++k) {
    const QString axis = QString::fromLatin1(axes[k]);
    t[k] = makeEdit(QStringLiteral("EditIsogT") + axis, QStringLiteral("0"), translations);
    labelled(tForm, QStringLiteral("T") + axis + QLatin1Char(':'), t[k], QStringLiteral("Translação"));
  }
  for (int k = 0; k < 3; ++k) {
    const QString axis = QString::fromLatin1(axes[k]);
    r[k] = makeEdit(QStringLiteral("EditIsogR") + axis, QStringLiteral("0"), rotations);
    labelled(rForm, QStringLiteral("R(") + axis + QStringLiteral("):"), r[k], QStringLiteral("Rotação"));
  }
  isogonal->addWidget(translations);
  isogonal->addWidget(rotations);
  auto* scaleForm = new QFormLayout;
  QLineEdit* lambda = makeEdit(QStringLiteral("EditIsogLambda"), QStringLiteral("1"), gbIsogonal_);
  labelled(scaleForm, QStringLiteral("Fator de Escala:"), lambda, QStringLiteral("Isogonal"));
  isogonal->addLayout(scaleForm);
  isogonalEdits_ = {lambda, t[0], t[1], t[2], r[0], r[1], r[2]};
  for (QLineEdit* edit : isogonalEdits_) edit->setEnabled(false);
  groupLayout->addWidget(gbIsogonal_);

  // Affine (twelve-parameter) model.
  gbAfim_ = new QGroupBox(QStringLiteral(" Transformação Afim Linear:  "), group);
  gbAfim_->setObjectName(QStringLiteral("GBAfim"));
  auto* affine = new QVBoxLayout(gbAfim_);
  auto* affineT = new QFormLayout;
  std::array<QLineEdit*, 3> at{};
  for (int k = 0; k < 3; ++k) {
    const QString axis = QString::fromLatin1(axes[k]);
    at[k] = makeEdit(QStringLiteral("EditAfimT") + axis, QStringLiteral("0"), gbAfim_);
    labelled(affineT, QStringLiteral("T") + axis + QLatin1Char(':'), at[k], QStringLiteral("Afim"));
  }
  affine->addLayout(affineT);
  auto* matrix = new QGridLayout;
  std::array<QLineEdit*, 9> m{};
  for (int k = 0; k < 9; ++k) {
    const QString letter(QChar(QLatin1Char('A').unicode() + k));
    const bool diagonal = k % 4 == 0;  // a, e, i
    m[k] = makeEdit(QStringLiteral("EditAfim") + letter, diagonal ? QStringLiteral("1") : QStringLiteral("0"),
                    gbAfim_);
    auto* label = new QLabel(letter.toLower() + QLatin1Char(':'), gbAfim_);
    label->setBuddy(m[k]);
    m[k]->setAccessibleName(QStringLiteral("Afim ") + letter.toLower());
    matrix->addWidget(label, k / 3, 2 * (k % 3));
    matrix->addWidget(m[k], k / 3, 2 * (k % 3) + 1);
  }
  affine->addLayout(matrix);
  affineEdits_ = {at[0], at[1], at[2], m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]};
  gbAfim_->hide();
  groupLayout->addWidget(gbAfim_);
  groupLayout->addStretch(1);
  layout->addWidget(group, 1);
  return column;
}

void TFormDXFTransform::ConnectHandlers() {
  for (Side s : {Side::In, Side::Out}) {
    SideControls& c = side(s).c;
    const bool in = s == Side::In;
    // `activated` fires on the user's choice only (also of the same entry),
    // never when a handler selects an entry.
    connect(c.cbFileName, &QComboBox::activated, this,
            in ? &TFormDXFTransform::CBFileNameInChange : &TFormDXFTransform::CBFileNameOutChange);
    connect(c.editFileName, &ClickPanel::clicked, this,
            in ? &TFormDXFTransform::EditFileNameInClick : &TFormDXFTransform::EditFileNameOutClick);
    connect(c.editFileName, &ClickPanel::activated, this,
            in ? &TFormDXFTransform::EditFileNameInClick : &TFormDXFTransform::EditFileNameOutClick);
    connect(c.cbCoordinatesSystems, &QComboBox::activated, this,
            in ? &TFormDXFTransform::CBCoordinatesSystemsInChange
               : &TFormDXFTransform::CBCoordinatesSystemsOutChange);
    connect(c.cbGeodeticReference, &QComboBox::activated, this,
            in ? &TFormDXFTransform::CBGeodeticReferenceInChange
               : &TFormDXFTransform::CBGeodeticReferenceOutChange);
    connect(c.cbHLat, &QComboBox::activated, this,
            in ? &TFormDXFTransform::CBHLatInChange : &TFormDXFTransform::CBHLatOutChange);
    if (in) connect(c.cbHLong, &QComboBox::activated, this, &TFormDXFTransform::CBHLongInChange);
    connect(c.pSelectedCM, &ClickPanel::doubleClicked, this,
            in ? &TFormDXFTransform::PSelectedCMInDblClick : &TFormDXFTransform::PSelectedCMOutDblClick);
    connect(c.pSelectedCM, &ClickPanel::activated, this,
            in ? &TFormDXFTransform::PSelectedCMInDblClick : &TFormDXFTransform::PSelectedCMOutDblClick);
    connect(c.bbSelectedCMOk, &QPushButton::clicked, this, [this, s] {
      if (!side(s).c.eSelectedCM->isHidden()) SelectedCMExit(s);
    });
    for (QRadioButton* radio : {c.rbGometric, c.rbOrthometric})
      connect(radio, &QRadioButton::clicked, this,
              in ? &TFormDXFTransform::RBGometricInClick : &TFormDXFTransform::RBGometricOutClick);
    connect(c.bbSetupAltimetria, &QPushButton::clicked, this, &TFormDXFTransform::BBSetupAltimetriaInClick);
    for (QWidget* w : {static_cast<QWidget*>(c.eSelectedCM), static_cast<QWidget*>(c.editSemiMajorAxis),
                       static_cast<QWidget*>(c.editReciprocalFlattening)})
      w->installEventFilter(this);
    // Whatever the process button's rule compares is followed as it changes.
    const auto followRunnable = [this] { IsRunnable(); };
    connect(c.cbCM, &QComboBox::currentTextChanged, this, followRunnable);
    connect(c.cbHLong, &QComboBox::currentIndexChanged, this, followRunnable);
    connect(c.cbHLat, &QComboBox::currentIndexChanged, this, followRunnable);
    connect(c.eFalseEast, &QLineEdit::textChanged, this, followRunnable);
    connect(c.eFalseNorth, &QLineEdit::textChanged, this, followRunnable);
  }
  connect(cbTransformation_, &QComboBox::activated, this, &TFormDXFTransform::CBTransformationChange);
  connect(bbProcess_, &QPushButton::clicked, this, &TFormDXFTransform::BBProcessClick);
  connect(bbClose_, &QPushButton::clicked, this, &TFormDXFTransform::BBCloseClick);
}

bool TFormDXFTransform::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  for (Side s : {Side::In, Side::Out}) {
    SideControls& c = side(s).c;
    if (watched == c.eSelectedCM) {
      const bool enter = type == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
      // Leaving the edit (or Enter in it) applies the typed meridian; hiding
      // the edit moves the focus away, which must not apply it twice.
      if ((type == QEvent::FocusOut || enter) && !c.eSelectedCM->isHidden()) {
        SelectedCMExit(s);
        if (enter) return true;
      }
    }
    for (QLineEdit* edit : {c.editSemiMajorAxis, c.editReciprocalFlattening}) {
      if (watched != edit) continue;
      if (type == QEvent::MouseButtonPress || type == QEvent::FocusIn) EllipsoidEditClick(s, edit);
      if (type == QEvent::FocusOut) EllipsoidEditExit(s, edit);
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- creation, closing

void TFormDXFTransform::FormCreate() {
  CBFileNameInChange();
  CBFileNameOutChange();
  CBGeodeticReferenceInChange();
  CBGeodeticReferenceOutChange();
  LookupTransformationParameters();
}

void TFormDXFTransform::BBCloseClick() { close(); }

void TFormDXFTransform::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the application.
  event->accept();
  if (closeApplication_) closeApplication_();
}

void TFormDXFTransform::keyPressEvent(QKeyEvent* event) {
  // Enter anywhere in the window presses the default button.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && bbProcess_->isEnabled()) {
    bbProcess_->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------- file kinds and files

void TFormDXFTransform::CBFileNameInChange() { FileKindChange(Side::In); }
void TFormDXFTransform::CBFileNameOutChange() { FileKindChange(Side::Out); }

void TFormDXFTransform::ResetFileChoice(Side s) {
  SideState& st = side(s);
  st.c.editFileName->setText(kNewFileText);
  st.c.editFileName->setToolTip(QString());
  st.fileChosen = false;
  bbProcess_->setEnabled(false);
}

void TFormDXFTransform::FileKindChange(Side s) {
  SideState& st = side(s);
  const int kind = st.c.cbFileName->currentIndex();
  if (kind == st.lastFileKind) return;
  ResetFileChoice(s);
  st.lastFileKind = kind;
  if (s == Side::Out) {
    RebuildSystemList(Side::Out, K::LtmOru);
    CBCoordinatesSystemsOutChange();
    return;
  }
  RebuildSystemList(Side::In, K::GaussKrugerOru);
  // An ASCII list cannot become a drawing.
  QComboBox* outKinds = side(Side::Out).c.cbFileName;
  if (kind == static_cast<int>(FileKind::Dxf))
    SetItems(outKinds, {kFileKindAscii3D, kFileKindAscii2D, kFileKindDxf});
  else
    SetItems(outKinds, {kFileKindAscii3D, kFileKindAscii2D});
  outKinds->setCurrentIndex(kind);
  CBCoordinatesSystemsInChange();
  CBFileNameOutChange();
}

void TFormDXFTransform::RebuildSystemList(Side s, CoordinateSystemKind selected) {
  QComboBox* list = side(s).c.cbCoordinatesSystems;
  list->clear();
  for (K kind : SystemsForFileKind(side(s).c.cbFileName->currentIndex()))
    list->addItem(FromUtf8(SystemInfo(kind).label));
  list->setCurrentIndex(list->findText(FromUtf8(SystemInfo(selected).label)));
}

void TFormDXFTransform::EditFileNameInClick() {
  const std::optional<QString> path = AskFileName(Side::In);
  if (!path) return;
  ShowChosenFile(Side::In, *path);
}

void TFormDXFTransform::EditFileNameOutClick() {
  const std::optional<QString> path = AskFileName(Side::Out);
  if (!path) return;
  ShowChosenFile(Side::Out, *path);
}

bool TFormDXFTransform::AskSameFile(const QString& text) {
  return dialogs_.ShowMessage({text, kMainCaption, MessageIcon::Exclamation, MessageButtons::YesNo}) ==
         MessageAnswer::Yes;
}

bool TFormDXFTransform::AskOverwrite(const QString& path) {
  return dialogs_.ShowMessage({kOverwriteQuestion.arg(QDir::toNativeSeparators(path)), kMainCaption,
                               MessageIcon::Exclamation, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

std::optional<QString> TFormDXFTransform::AskFileName(Side s) {
  const bool dxf = side(s).c.cbFileName->currentIndex() == static_cast<int>(FileKind::Dxf);
  FileDialogRequest request;
  request.filter = dxf ? kDxfFilter : kAsciiFilter;
  if (s == Side::In) {
    request.kind = FileDialogKind::Open;
    request.title = dxf ? QStringLiteral("Abrir arquivo em formato DXF") : QStringLiteral("Abrir arquivo em formato ASCII");
    request.mustExist = true;
  } else {
    request.kind = FileDialogKind::Save;
    request.title =
        dxf ? QStringLiteral("Salvar arquivo em formato DXF") : QStringLiteral("Salvar arquivo em formato ASCII");
    request.selectedFilter = dxf ? 0 : saveFilterIndex_;
  }
  const QString& other = side(s == Side::In ? Side::Out : Side::In).fileName;
  const QString& question = s == Side::In ? kSameInputQuestion : kSameOutputQuestion;
  for (;;) {
    const FileDialogResult result = dialogs_.ShowFileDialog(request);
    if (!result.accepted) return std::nullopt;
    QString path = result.path;
    // The same file under another name (link, relative path) counts too.
    if (!other.isEmpty() && SameFile(ToLocalPath(path), ToLocalPath(other))) {
      if (AskSameFile(question)) continue;
      return std::nullopt;
    }
    if (s == Side::Out) {
      if (!dxf) saveFilterIndex_ = result.selectedFilter;
      const QString extension =
          dxf ? QStringLiteral(".dxf") : (result.selectedFilter == 1 ? QStringLiteral(".txt") : QStringLiteral(".dat"));
      // The file's own name loses everything from its first full stop on.
      const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
      const qsizetype dot = path.indexOf(QLatin1Char('.'), separator + 1);
      if (dot >= 0) path.truncate(dot);
      path += extension;
      // The replaced extension may make it the input file after all.
      if (!other.isEmpty() && SameFile(ToLocalPath(path), ToLocalPath(other))) {
        if (AskSameFile(question)) continue;
        return std::nullopt;
      }
      // The one question before overwriting, asked about the name that is
      // written (the dialog does not ask: the name typed there may not be
      // the one written). "No" chooses again.
      if (QFileInfo::exists(path) && !AskOverwrite(path)) continue;
    }
    return path;
  }
}

void TFormDXFTransform::ShowChosenFile(Side s, const QString& path) {
  SideState& st = side(s);
  st.fileName = path;
  const ZRTStrings shortened = ShortenPathForDisplay(path.toUtf8().toStdString(), kPathDisplayLimit);
  st.c.editFileName->setText(FromUtf8(shortened.View()));
  st.c.editFileName->setToolTip(path);
  st.fileChosen = true;
  IsRunnable();
}

bool TFormDXFTransform::IsRunnable() {
  // The engine's rule, on the controls as they stand: a change of zone,
  // hemisphere or false origin is a conversion too.
  std::string ellipsoidTexts[2][2];
  SideIdentity identities[2];
  bool meridiansRead = true;
  for (Side s : {Side::In, Side::Out}) {
    const SideControls& c = side(s).c;
    const int k = s == Side::In ? 0 : 1;
    ellipsoidTexts[k][0] = c.editSemiMajorAxis->text().toStdString();
    ellipsoidTexts[k][1] = c.editReciprocalFlattening->text().toStdString();
    SideIdentity& identity = identities[k];
    identity.system = static_cast<K>(std::max(0, c.cbCoordinatesSystems->currentIndex()));
    identity.semiMajorAxisText = ellipsoidTexts[k][0];
    identity.inverseFlatteningText = ellipsoidTexts[k][1];
    try {
      identity.centralMeridian = ParseCentralMeridianEntry(c.cbCM->currentText().toStdString());
    } catch (const std::exception&) {
      meridiansRead = false;  // the run itself says what is wrong with the entry
    }
    if (c.cbHLong->currentIndex() == 1) identity.centralMeridian = -identity.centralMeridian;  // "Oeste (W)"
    identity.northern = c.cbHLat->currentIndex() != 1;                                          // "Sul (S)"
    identity.falseEasting = ReadEditNumber(c.eFalseEast->text().toStdString()).value;
    identity.falseNorthing = ReadEditNumber(c.eFalseNorth->text().toStdString()).value;
  }
  const bool differs = !meridiansRead || SidesDiffer(identities[0], identities[1]);
  const bool runnable = InputFileChosen() && OutputFileChosen() && differs;
  bbProcess_->setEnabled(runnable);
  return runnable;
}

// ---------------------------------------------------------------- coordinate systems

std::optional<CoordinateSystemKind> TFormDXFTransform::SelectedKind(Side s) const {
  return SystemKindFromLabel(side(s).selectedSystem.toStdString());
}

void TFormDXFTransform::CBCoordinatesSystemsInChange() {
  SideState& st = side(Side::In);
  st.selectedSystem = st.c.cbCoordinatesSystems->currentText();
  ApplySystem(Side::In);
  CBCoordinatesSystemsOutChange();
  if (!LookupTransformationParameters()) return;
  IsRunnable();
}

void TFormDXFTransform::CBCoordinatesSystemsOutChange() {
  const SideControls& in = side(Side::In).c;
  SideState& out = side(Side::Out);
  if (in.cbCoordinatesSystems->currentIndex() == out.c.cbCoordinatesSystems->currentIndex()) {
    CopyInputSystemToOutput();
  } else {
    out.selectedSystem = out.c.cbCoordinatesSystems->currentText();
    ApplySystem(Side::Out);
    ApplyHemisphereRuleOut();
  }
  if (!LookupTransformationParameters()) return;
  IsRunnable();
}

void TFormDXFTransform::ApplySystem(Side s) {
  SideState& st = side(s);
  SideControls& c = st.c;
  const std::optional<K> kind = SelectedKind(s);
  if (!kind) return;  // no entry chosen (a list not built yet)
  const CoordinateSystemInfo& info = SystemInfo(*kind);

  if (info.family == SystemFamily::Projected) {
    st.scaleFactor = info.scaleFactor;
    c.gbAditionalInfo->setVisible(true);
    c.cbHLong->setCurrentIndex(1);
    c.cbHLat->setCurrentIndex(1);
    c.cbHLong->setEnabled(info.hemispheresEnabled);
    c.cbHLat->setEnabled(info.hemispheresEnabled);
    if (s == Side::In && *kind == K::LtmOru) {
      const SideControls& out = side(Side::Out).c;
      out.cbHLong->setCurrentIndex(1);
      out.cbHLat->setCurrentIndex(1);
      out.cbHLong->setEnabled(false);
      out.cbHLat->setEnabled(false);
    }
    c.cbAmplitudeZone->setCurrentIndex(c.cbAmplitudeZone->findText(FromUtf8(info.zoneWidth)));
    c.cbAmplitudeZone->setEnabled(false);
    c.labelSelectedCM->hide();
    c.eSelectedCM->hide();
    c.bbSelectedCMOk->hide();
    c.pSelectedCM->setVisible(info.usesCustomPanel);

    c.cbCM->clear();
    for (const std::string& entry : CentralMeridianEntries(*kind)) c.cbCM->addItem(FromUtf8(entry));
    c.cbCM->setCurrentIndex(c.cbCM->findText(FromUtf8(info.defaultMeridianEntry)));
    c.cbCM->setEnabled(info.meridianListEnabled);
    c.cbCM->setVisible(!info.usesCustomPanel);

    // Panel text of the selected entry; the customised systems then carry
    // the meridian as a single "%0.10lf°" entry.
    const std::string entry = c.cbCM->currentText().toStdString();
    c.pSelectedCM->setText(FromUtf8(CentralMeridianDisplayText(entry)));
    if (info.usesCustomPanel) {
      const double degrees = ParseCentralMeridianEntry(entry);
      SetItems(c.cbCM, {FromUtf8(MeridianListEntry(degrees))});
      c.cbCM->setCurrentIndex(0);
      c.pSelectedCM->setEnabled(true);
      SetFontColour(c.pSelectedCM, NormalTextColour(this));
    }

    c.eFalseEast->setText(FromUtf8(info.falseEasting));
    c.eFalseNorth->setText(FromUtf8(DefaultFalseNorthing(*kind, c.cbHLat->currentIndex() == 0)));
    for (QLineEdit* edit : {c.eFalseEast, c.eFalseNorth}) {
      edit->setEnabled(info.falseOriginEditable);
      SetFontColour(edit, info.falseOriginGrey ? LockedTextColour(this) : NormalTextColour(this));
    }
  } else {
    // Geographic and cartesian sides have no projection details; the
    // hidden controls keep their values.
    c.gbAditionalInfo->setVisible(false);
  }

  RelabelFileKinds(s, false);
  ApplyHeightControls(s, *kind == K::Cartesian);
  ApplyEllipsoidLock(s, info.lockedFrame);
}

void TFormDXFTransform::ApplyHemisphereRuleOut() {
  const std::optional<K> outKind = SelectedKind(Side::Out);
  if (!outKind || !IsProjected(*outKind)) return;
  SideControls& out = side(Side::Out).c;
  if (*outKind == K::LtmOru || *outKind == K::GaussKrugerOru) {
    out.cbHLong->setCurrentIndex(1);
    out.cbHLat->setCurrentIndex(1);
    out.cbHLong->setEnabled(false);
    out.cbHLat->setEnabled(false);
  } else {
    const std::optional<K> inKind = SelectedKind(Side::In);
    const bool follow = inKind && IsProjected(*inKind);
    const SideControls& in = side(Side::In).c;
    out.cbHLong->setCurrentIndex(follow ? in.cbHLong->currentIndex() : 1);
    out.cbHLat->setCurrentIndex(follow ? in.cbHLat->currentIndex() : 1);
    out.cbHLong->setEnabled(!follow);
    out.cbHLat->setEnabled(!follow);
  }
  RefreshUtmFalseNorthing(Side::Out);
}

void TFormDXFTransform::RefreshUtmFalseNorthing(Side s) {
  // UTM's false northing belongs to the latitude hemisphere shown.
  if (SelectedKind(s) != K::Utm) return;
  const SideControls& c = side(s).c;
  c.eFalseNorth->setText(FromUtf8(DefaultFalseNorthing(K::Utm, c.cbHLat->currentIndex() == 0)));
}

void TFormDXFTransform::CopyInputSystemToOutput() {
  const SideState& inSide = side(Side::In);
  const SideControls& in = inSide.c;
  SideState& outSide = side(Side::Out);
  SideControls& out = outSide.c;
  // The output runs on the same system: its label and scale factor too.
  outSide.selectedSystem = out.cbCoordinatesSystems->currentText();
  outSide.scaleFactor = inSide.scaleFactor;

  out.gbAditionalInfo->setVisible(!in.gbAditionalInfo->isHidden());
  for (auto [from, to] : {std::pair{in.cbHLong, out.cbHLong}, std::pair{in.cbHLat, out.cbHLat},
                          std::pair{in.cbAmplitudeZone, out.cbAmplitudeZone}}) {
    to->setCurrentIndex(from->currentIndex());
    to->setEnabled(false);
  }
  out.cbCM->setVisible(!in.cbCM->isHidden());
  out.pSelectedCM->setVisible(!in.pSelectedCM->isHidden());
  out.eSelectedCM->setVisible(!in.eSelectedCM->isHidden());
  out.bbSelectedCMOk->setVisible(!in.bbSelectedCMOk->isHidden());
  out.labelSelectedCM->setVisible(!in.labelSelectedCM->isHidden());
  out.cbCM->clear();
  for (int k = 0; k < in.cbCM->count(); ++k) out.cbCM->addItem(in.cbCM->itemText(k));
  out.cbCM->setCurrentIndex(in.cbCM->currentIndex());
  out.cbCM->setEnabled(in.cbCM->isEnabled());
  out.cbCM->setPalette(in.cbCM->palette());
  out.pSelectedCM->setText(in.pSelectedCM->text());
  out.pSelectedCM->setEnabled(in.pSelectedCM->isEnabled());
  out.pSelectedCM->setPalette(in.pSelectedCM->palette());
  for (auto [from, to] : {std::pair{in.eFalseEast, out.eFalseEast}, std::pair{in.eFalseNorth, out.eFalseNorth}}) {
    to->setVisible(!from->isHidden());
    to->setEnabled(from->isEnabled());
    to->setPalette(from->palette());
    to->setText(from->text());
  }

  const std::optional<K> kind = SelectedKind(Side::Out);
  RelabelFileKinds(Side::Out, false);
  if (!kind) return;
  ApplyHeightControls(Side::Out, *kind == K::Cartesian);
  ApplyEllipsoidLock(Side::Out, SystemInfo(*kind).lockedFrame);
}

void TFormDXFTransform::RelabelFileKinds(Side s, bool firstOnly) {
  const std::optional<K> kind = SelectedKind(s);
  if (!kind) return;
  const SideControls& c = side(s).c;
  const KindLabels labels = FileKindLabels(FamilyOf(*kind), c.rbGometric->isChecked());
  // Only the texts change; the selected entry stays selected.
  if (c.cbFileName->count() > 0) c.cbFileName->setItemText(0, labels.ascii3D);
  if (!firstOnly && c.cbFileName->count() > 1) c.cbFileName->setItemText(1, labels.ascii2D);
}

void TFormDXFTransform::ApplyHeightControls(Side s, bool cartesian) {
  const SideControls& c = side(s).c;
  for (QWidget* w : {static_cast<QWidget*>(c.gbAltimetry), static_cast<QWidget*>(c.rbGometric),
                     static_cast<QWidget*>(c.rbOrthometric), static_cast<QWidget*>(c.bbSetupAltimetria)})
    w->setEnabled(!cartesian);
  const bool inputCartesian = SelectedKind(Side::In) == K::Cartesian;
  const bool outputCartesian = SelectedKind(Side::Out) == K::Cartesian;
  if (!cartesian) {
    altimetry_.SetPanelVisible(s, true);
    if (!inputCartesian) altimetry_.SetImportBoxVisible(true);
    const bool otherCartesian = s == Side::In ? outputCartesian : inputCartesian;
    if (!otherCartesian) altimetry_.SetDialogWidth(TFormDXFAltimetry::kWidthBoth);
  } else {
    altimetry_.ApplyCartesianSide(s);
    if (s == Side::In || !inputCartesian) altimetry_.SetDialogWidth(TFormDXFAltimetry::kWidthInput);
  }
  altimetry_.CentreOkButton();
}

void TFormDXFTransform::ApplyEllipsoidLock(Side s, std::optional<ReferenceFrame> locked) {
  QComboBox* combo = side(s).c.cbGeodeticReference;
  if (!locked) {
    combo->setEnabled(true);
    return;
  }
  const int index = static_cast<int>(*locked);
  combo->setEnabled(false);
  if (combo->currentIndex() == index) return;
  // The edits must follow the locked ellipsoid: processing reads them.
  combo->setCurrentIndex(index);
  // Only the edits: the system handler looks the parameters up afterwards,
  // and a lookup here would put the affine questions to the user once more.
  WriteEllipsoidEdits(s);
}

// ---------------------------------------------------------------- ellipsoids

void TFormDXFTransform::CBGeodeticReferenceInChange() {
  GeodeticReferenceChange(Side::In);
}
void TFormDXFTransform::CBGeodeticReferenceOutChange() {
  GeodeticReferenceChange(Side::Out);
}

void TFormDXFTransform::GeodeticReferenceChange(Side s) {
  WriteEllipsoidEdits(s);
  if (!LookupTransformationParameters()) return;
  IsRunnable();
}

void TFormDXFTransform::WriteEllipsoidEdits(Side s) {
  SideState& st = side(s);
  const SideControls& c = st.c;
  const auto frame = static_cast<ReferenceFrame>(c.cbGeodeticReference->currentIndex());
  if (frame == ReferenceFrame::Custom) {
    c.editSemiMajorAxis->setText(st.customSemiMajorAxis.isEmpty() ? PlaceholderOf(s) : st.customSemiMajorAxis);
    c.editReciprocalFlattening->setText(st.customReciprocalFlattening.isEmpty() ? PlaceholderOf(s)
                                                                                : st.customReciprocalFlattening);
    c.editSemiMajorAxis->setEnabled(true);
    c.editReciprocalFlattening->setEnabled(true);
  } else if (c.cbGeodeticReference->currentIndex() >= 0) {
    // General float-to-text form, up to 15 significant digits, with the
    // point: the ellipsoid values are the system's own texts, the same in
    // every locale (and compared as texts by IsRunnable).
    const ReferenceFrameInfo& info = FrameInfo(frame);
    c.editSemiMajorAxis->setText(QString::number(info.semiMajorAxis, 'g', kGeneralDigits));
    c.editReciprocalFlattening->setText(QString::number(info.inverseFlattening, 'g', kGeneralDigits));
    c.editSemiMajorAxis->setEnabled(false);
    c.editReciprocalFlattening->setEnabled(false);
  }
}

void TFormDXFTransform::EditSemiMajorAxisInClick() { EllipsoidEditClick(Side::In, side(Side::In).c.editSemiMajorAxis); }
void TFormDXFTransform::EditSemiMajorAxisOutClick() {
  EllipsoidEditClick(Side::Out, side(Side::Out).c.editSemiMajorAxis);
}
void TFormDXFTransform::EditReciprocalFlatteningInClick() {
  EllipsoidEditClick(Side::In, side(Side::In).c.editReciprocalFlattening);
}
void TFormDXFTransform::EditReciprocalFlatteningOutClick() {
  EllipsoidEditClick(Side::Out, side(Side::Out).c.editReciprocalFlattening);
}
void TFormDXFTransform::EditSemiMajorAxisInExit() { EllipsoidEditExit(Side::In, side(Side::In).c.editSemiMajorAxis); }
void TFormDXFTransform::EditSemiMajorAxisOutExit() {
  EllipsoidEditExit(Side::Out, side(Side::Out).c.editSemiMajorAxis);
}
void TFormDXFTransform::EditReciprocalFlatteningInExit() {
  EllipsoidEditExit(Side::In, side(Side::In).c.editReciprocalFlattening);
}
void TFormDXFTransform::EditReciprocalFlatteningOutExit() {
  EllipsoidEditExit(Side::Out, side(Side::Out).c.editReciprocalFlattening);
}

void TFormDXFTransform::EllipsoidEditClick(Side s, QLineEdit* edit) {
  if (edit->text() == PlaceholderOf(s)) edit->clear();
}

void TFormDXFTransform::EllipsoidEditExit(Side s, QLineEdit* edit) {
  SideState& st = side(s);
  if (st.c.cbGeodeticReference->currentIndex() != static_cast<int>(ReferenceFrame::Custom)) return;
  (edit == st.c.editSemiMajorAxis ? st.customSemiMajorAxis : st.customReciprocalFlattening) = edit->text();
  // The typed text decides whether a run would change anything.
  IsRunnable();
}

// ---------------------------------------------------------------- hemispheres, heights

void TFormDXFTransform::CBHLatInChange() {
  RefreshUtmFalseNorthing(Side::In);
  CBCoordinatesSystemsOutChange();
}

void TFormDXFTransform::CBHLatOutChange() { RefreshUtmFalseNorthing(Side::Out); }

void TFormDXFTransform::CBHLongInChange() { CBCoordinatesSystemsOutChange(); }

void TFormDXFTransform::RBGometricInClick() { HeightRadioClick(Side::In); }
void TFormDXFTransform::RBGometricOutClick() { HeightRadioClick(Side::Out); }

void TFormDXFTransform::HeightRadioClick(Side s) {
  const SideControls& c = side(s).c;
  const std::optional<K> kind = SelectedKind(s);
  if (kind && *kind != K::Cartesian) RelabelFileKinds(s, true);
  altimetry_.SetHeightIndex(s, c.rbGometric->isChecked() ? 0 : 1);
}

void TFormDXFTransform::SetHeightRadio(Side s, bool geometric) {
  const SideControls& c = side(s).c;
  if (c.rbGometric->isChecked() == geometric) return;
  (geometric ? c.rbGometric : c.rbOrthometric)->setChecked(true);
  HeightRadioClick(s);
}

void TFormDXFTransform::BBSetupAltimetriaInClick() { altimetry_.exec(); }

// ---------------------------------------------------------------- customised central meridian

void TFormDXFTransform::PSelectedCMInDblClick() { SelectedCMDblClick(Side::In); }
void TFormDXFTransform::PSelectedCMOutDblClick() { SelectedCMDblClick(Side::Out); }
void TFormDXFTransform::ESelectedCMInExit() { SelectedCMExit(Side::In); }
void TFormDXFTransform::ESelectedCMOutExit() { SelectedCMExit(Side::Out); }

void TFormDXFTransform::SelectedCMDblClick(Side s) {
  const SideControls& c = side(s).c;
  c.pSelectedCM->hide();
  c.eSelectedCM->show();
  c.bbSelectedCMOk->show();
  c.eSelectedCM->setFocus(Qt::OtherFocusReason);
  c.eSelectedCM->selectAll();
}

void TFormDXFTransform::SelectedCMExit(Side s) {
  const SideControls& c = side(s).c;
  c.eSelectedCM->hide();
  c.bbSelectedCMOk->hide();
  c.pSelectedCM->show();
  const QString typed = c.eSelectedCM->text();
  std::optional<CustomMeridianTexts> texts;
  try {
    texts = CustomCentralMeridianFromEntry(typed.toUtf8().toStdString(), UserDecimalSeparator());
  } catch (const std::exception& error) {
    ShowError(QString::fromUtf8(error.what()), kApplicationTitle);
    return;
  }
  if (!texts) {
    ShowError(FromUtf8(kCentralMeridianError), kApplicationTitle);
    return;
  }
  // The panel and the list hold the magnitude; the longitude hemisphere
  // gives the sign when the job is built, so it is counted once.
  c.pSelectedCM->setText(FromUtf8(texts->panelText));
  if (c.cbCM->count() == 0)
    c.cbCM->addItem(FromUtf8(texts->listEntry));
  else
    c.cbCM->setItemText(0, FromUtf8(texts->listEntry));
  c.cbCM->setCurrentIndex(0);
  // A negative value names the western hemisphere, as the user would have
  // chosen it; a hemisphere that follows the input side stays as it is.
  constexpr int kWest = 1;
  if (texts->west && c.cbHLong->isEnabled() && c.cbHLong->currentIndex() != kWest) {
    c.cbHLong->setCurrentIndex(kWest);
    if (s == Side::In) CBHLongInChange();
  }
}

// ---------------------------------------------------------------- transformation parameters

void TFormDXFTransform::CBTransformationChange() {
  const int selected = cbTransformation_->currentIndex();
  if (selected == lastTransformationModel_) return;
  if (!LookupTransformationParameters()) return;
  lastTransformationModel_ = selected;
}

bool TFormDXFTransform::LookupTransformationParameters() {
  const int model = cbTransformation_->currentIndex();
  const int inFrame = side(Side::In).c.cbGeodeticReference->currentIndex();
  const int outFrame = side(Side::Out).c.cbGeodeticReference->currentIndex();
  if (model < 0 || inFrame < 0 || outFrame < 0) return true;
  const ParameterDecision decision =
      transref::LookupTransformationParameters(static_cast<TransformationModel>(model),
                                               static_cast<ReferenceFrame>(inFrame),
                                               static_cast<ReferenceFrame>(outFrame));
  const char separator = UserDecimalSeparator();
  auto write = [separator](QLineEdit* edit, double value, bool enabled) {
    edit->setText(FromUtf8(FormatParameterValue(value, separator)));
    edit->setEnabled(enabled);
  };
  auto writeAffine = [&](const AffineParameters& p, bool enabled) {
    const std::array<double, 12> values = {p.tx, p.ty, p.tz, p.a, p.b, p.c, p.d, p.e, p.f, p.g, p.h, p.i};
    for (std::size_t k = 0; k < values.size(); ++k) write(affineEdits_[k], values[k], enabled);
  };

  if (decision.panel == ParameterPanel::Isogonal) {
    gbIsogonal_->show();
    gbAfim_->hide();
    const IsogonalParameters& p = decision.isogonal;
    const std::array<double, 7> values = {p.scale, p.tx, p.ty, p.tz, p.rx, p.ry, p.rz};
    for (std::size_t k = 0; k < values.size(); ++k) write(isogonalEdits_[k], values[k], decision.isogonalEnabled);
    return true;
  }
  gbIsogonal_->hide();
  gbAfim_->show();
  if (!decision.askForCustom) {
    writeAffine(decision.affine, decision.affineEnabled);
    return true;
  }
  dialogs_.ShowMessage({FromUtf8(kNoParametersMessage), FromUtf8(kParametersCaption), MessageIcon::Warning,
                        MessageButtons::Ok});
  const MessageAnswer answer = dialogs_.ShowMessage({FromUtf8(kAskCustomParametersQuestion),
                                                     FromUtf8(kParametersCaption), MessageIcon::Question,
                                                     MessageButtons::YesNo});
  if (answer == MessageAnswer::Yes) {
    writeAffine(decision.affineOnYes, true);
    return true;
  }
  // Refused: the twelve fields are locked, never with the values of another
  // pair of frames, and the model goes back to the one applied before. When
  // that is the affine model itself (a frame changed under it), it goes back
  // to the seven parameters: their lookup shows the built-in set of the pair
  // (or neutral values to be typed), so a run between two different frames
  // never goes on with neutral values the user did not type.
  writeAffine(decision.affine, false);
  const int previous =
      lastTransformationModel_ != model ? lastTransformationModel_ : static_cast<int>(TransformationModel::Isogonal);
  cbTransformation_->setCurrentIndex(previous);
  lastTransformationModel_ = previous;
  LookupTransformationParameters();
  // The frames chosen stay chosen; the event that asked ends here, so
  // whether a run would change anything is decided now.
  IsRunnable();
  return false;
}

// ---------------------------------------------------------------- processing

void TFormDXFTransform::ShowError(const QString& text, const QString& caption) {
  dialogs_.ShowMessage({text, caption, MessageIcon::Stop, MessageButtons::Ok});
}

void TFormDXFTransform::ShowRunMessages(const std::vector<UserMessage>& messages) {
  for (const UserMessage& message : messages) {
    ShowError(FromUtf8(message.text), message.kind == MessageBoxKind::Interrupt ? FromUtf8(kInterruptCaption)
                                                                                 : kApplicationTitle);
  }
}

std::optional<ConversionJob> TFormDXFTransform::BuildJob() {
  const char separator = UserDecimalSeparator();
  // Lenient edits: the value read is written back into the edit, in the
  // user's notation for the transformation parameters and with the point
  // for the ellipsoid and the false origin, whose texts the system writes
  // itself (and IsRunnable compares).
  auto readEditIn = [](QLineEdit* edit, char writtenSeparator) {
    const EditNumber number = ReadEditNumber(edit->text().toStdString(), writtenSeparator);
    edit->setText(QString::fromStdString(number.text));
    return number.value;
  };
  auto readEdit = [&](QLineEdit* edit) { return readEditIn(edit, separator); };
  auto readSystemEdit = [&](QLineEdit* edit) { return readEditIn(edit, '.'); };

  ConversionJob job;
  job.inputPath = ToLocalPath(InputFileName());
  job.outputPath = ToLocalPath(OutputFileName());
  job.inputKind = static_cast<FileKind>(side(Side::In).c.cbFileName->currentIndex());
  job.outputKind = static_cast<FileKind>(side(Side::Out).c.cbFileName->currentIndex());
  job.model = static_cast<TransformationModel>(std::max(0, lastTransformationModel_));

  IsogonalParameters& p = job.isogonal;
  p.tx = readEdit(isogonalEdits_[1]);
  p.ty = readEdit(isogonalEdits_[2]);
  p.tz = readEdit(isogonalEdits_[3]);
  p.rx = readEdit(isogonalEdits_[4]);
  p.ry = readEdit(isogonalEdits_[5]);
  p.rz = readEdit(isogonalEdits_[6]);
  // The scale factor is a plain number in the user's notation.
  const std::optional<double> scale = ReadLocaleNumber(isogonalEdits_[0]->text());
  if (!scale) {
    ShowError(LocaleConversionError(isogonalEdits_[0]->text()), kApplicationTitle);
    ShowError(FromUtf8(kParametersReadError), FromUtf8(kInterruptCaption));
    return std::nullopt;
  }
  p.scale = *scale;
  job.isIdentity = IsIdentity(p);

  AffineParameters& a = job.affine;
  std::array<double*, 12> affine = {&a.tx, &a.ty, &a.tz, &a.a, &a.b, &a.c, &a.d, &a.e, &a.f, &a.g, &a.h, &a.i};
  for (std::size_t k = 0; k < affine.size(); ++k) *affine[k] = readEdit(affineEdits_[k]);

  job.altimetry = altimetrySettings_;
  for (Side s : {Side::In, Side::Out}) {
    const SideState& st = side(s);
    JobSide& js = s == Side::In ? job.input : job.output;
    js.system = static_cast<K>(std::max(0, st.c.cbCoordinatesSystems->currentIndex()));
    js.systemLabel = st.selectedSystem.toStdString();
    js.semiMajorAxis = readSystemEdit(st.c.editSemiMajorAxis);
    js.inverseFlattening = readSystemEdit(st.c.editReciprocalFlattening);
    if (!IsValidEllipsoid(js.semiMajorAxis, js.inverseFlattening)) {
      ShowError(FromUtf8(kEllipsoidReadError), FromUtf8(kInterruptCaption));
      return std::nullopt;
    }
    try {
      js.centralMeridian = ParseCentralMeridianEntry(st.c.cbCM->currentText().toStdString());
    } catch (const std::exception& error) {
      ShowError(QString::fromUtf8(error.what()), kApplicationTitle);
      return std::nullopt;
    }
    if (st.c.cbHLong->currentIndex() == 1) js.centralMeridian = -js.centralMeridian;  // "Oeste (W)"
    js.northern = st.c.cbHLat->currentIndex() != 1;                                    // "Sul (S)"
    js.falseEasting = readSystemEdit(st.c.eFalseEast);
    js.falseNorthing = readSystemEdit(st.c.eFalseNorth);
    js.scaleFactor = st.scaleFactor;
    const bool geometric = s == Side::In ? altimetrySettings_.inputGeometric : altimetrySettings_.outputGeometric;
    js.heightKind = geometric ? HeightKind::Geometric : HeightKind::Orthometric;
  }
  return job;
}

void TFormDXFTransform::BBProcessClick() {
  if (!lastOutputPath_.isNull() && lastOutputPath_ == OutputFileName()) {
    const MessageAnswer answer = dialogs_.ShowMessage(
        {kProcessAgainQuestion, kMainCaption, MessageIcon::Question, MessageButtons::YesNo});
    if (answer != MessageAnswer::Yes) return;
  }
  const std::optional<ConversionJob> job = BuildJob();
  if (!job) return;

  RunResult result;
  try {
    result = RunConversion(*job, progress_);
  } catch (const std::exception& error) {
    result.status = RunResult::Status::Failed;
    result.messages = {{MessageBoxKind::ConversionError, error.what()}};
  }
  // Whatever happened, the progress window is gone before any message.
  if (!progress_.isHidden()) progress_.End();

  switch (result.status) {
    case RunResult::Status::Success:
      lastInputPath_ = InputFileName();
      lastOutputPath_ = OutputFileName();
      dialogs_.ShowMessage({FromUtf8(kSuccessMessage), FromUtf8(kSuccessCaption), MessageIcon::None,
                            MessageButtons::Ok});
      break;
    case RunResult::Status::Failed:
    case RunResult::Status::OpenFailed:  // the file named, and why it could not be opened
      ShowRunMessages(result.messages);
      break;
  }
}

}  // namespace transref
