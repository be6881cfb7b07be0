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
#include "ui/GridFilePanel.h"
#include "ui/ScreenPlacement.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormPointConversion.h"
#include "ui/TFormProcessBar1.h"
#include "ui/UserDialogs.h"

namespace transref {

namespace {

using K = CoordinateSystemKind;

// Design-time texts of the file-kind lists; Relabel rewrites the first two.
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

// The file dialogs of a kind: titles, filter list and the extension each
// filter gives a saved file.
struct FileDialogTexts {
  QString openTitle, saveTitle, filter;
  QStringList extensions;
};

FileDialogTexts DialogTextsOf(FileKind kind) {
  switch (kind) {
    case FileKind::Dxf:
      return {QStringLiteral("Abrir arquivo em formato DXF"), QStringLiteral("Salvar arquivo em formato DXF"),
              kDxfFilter, {QStringLiteral(".dxf")}};
    case FileKind::Delimited:
      return {QStringLiteral("Abrir arquivo de texto delimitado (planilha)"),
              QStringLiteral("Salvar arquivo de texto delimitado (planilha)"),
              QStringLiteral("Texto delimitado (*.csv)|*.csv|Texto delimitado (*.txt)|*.txt"),
              {QStringLiteral(".csv"), QStringLiteral(".txt")}};
    case FileKind::Kml:
      return {{}, QStringLiteral("Salvar mapa KML"), QStringLiteral("Mapa KML (*.kml)|*.kml"), {QStringLiteral(".kml")}};
    case FileKind::GeoJson:
      return {{}, QStringLiteral("Salvar mapa GeoJSON"), QStringLiteral("Mapa GeoJSON (*.geojson)|*.geojson"),
              {QStringLiteral(".geojson")}};
    case FileKind::Ascii3D:
    case FileKind::Ascii2D: break;
  }
  return {QStringLiteral("Abrir arquivo em formato ASCII"), QStringLiteral("Salvar arquivo em formato ASCII"),
          kAsciiFilter, {QStringLiteral(".dat"), QStringLiteral(".txt")}};
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

QLabel* AddRow(QFormLayout* form, const QString& label, QWidget* field, Side s) {
  auto* text = new QLabel(label, field->parentWidget());
  text->setBuddy(field);
  field->setAccessibleName(label.trimmed().remove(QLatin1Char(':')).trimmed() + QStringLiteral(" (") +
                           SideWord(s) + QLatin1Char(')'));
  form->addRow(text, field);
  return text;
}

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int k = 0; k < combo->count(); ++k) items << combo->itemText(k);
  return items;
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
  // Spreadsheets and maps are offered after the original kinds.
  model_.OfferPointFileKinds(true);
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
  question_.window = this;
  model_.SetDialogue(&question_);
  altimetry_.AttachSettings(&model_.AltimetryForDialog());
  altimetry_.SetCentreWindow(this);
  altimetry_.SetHeightKindHandler([this](Side s, bool geometric) { SetHeightRadio(s, geometric); });
  // The grid picked in an earlier run is shown where no grid ships.
  model_.ChooseGridFile(ToLocalPath(GridFilePanel::RememberedFile()));
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
  bbPoint_ = new QPushButton(QStringLiteral("Converter um ponto…"), this);
  bbPoint_->setObjectName(QStringLiteral("BBPoint"));
  bbPoint_->setAccessibleName(QStringLiteral("Converter um ponto digitado com as escolhas desta janela"));
  bbPoint_->setAutoDefault(false);
  bottom->addWidget(bbPoint_);
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
  for (FileKind kind : model_.KindsOffered(Side::In))
    c.cbFileName->addItem(FromUtf8(FileKindLabel(kind, std::nullopt, false)));
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
  if (s == Side::In) {
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(c.lFileName, 1);
    bbLayout_ = new QPushButton(QStringLiteral("&Leiaute…"), c.gbFile);
    bbLayout_->setObjectName(QStringLiteral("BBLayoutIn"));
    bbLayout_->setAccessibleName(QStringLiteral("Leiaute do arquivo de entrada (separador, colunas)"));
    bbLayout_->setAutoDefault(false);
    bbLayout_->setVisible(false);
    nameRow->addWidget(bbLayout_);
    layout->addLayout(nameRow);
  } else {
    layout->addWidget(c.lFileName);
  }
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
  // What the seven fields apply when the pair goes through SIRGAS 2000 or
  // takes IBGE's parameters, leg by leg.
  lParameterLegs_ = new QLabel(gbIsogonal_);
  lParameterLegs_->setObjectName(QStringLiteral("LParameterLegs"));
  lParameterLegs_->setWordWrap(true);
  lParameterLegs_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lParameterLegs_->hide();
  isogonal->addWidget(lParameterLegs_);
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

  // The grid model's file.
  gridPanel_ = new GridFilePanel(dialogs_, group);
  gridPanel_->hide();
  groupLayout->addWidget(gridPanel_);
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
    const auto followRunnable = [this] {
      if (!showing_) IsRunnable();
    };
    connect(c.cbCM, &QComboBox::currentTextChanged, this, followRunnable);
    connect(c.cbHLong, &QComboBox::currentIndexChanged, this, followRunnable);
    connect(c.cbHLat, &QComboBox::currentIndexChanged, this, followRunnable);
    connect(c.eFalseEast, &QLineEdit::textChanged, this, followRunnable);
    connect(c.eFalseNorth, &QLineEdit::textChanged, this, followRunnable);
  }
  connect(cbTransformation_, &QComboBox::activated, this, &TFormDXFTransform::CBTransformationChange);
  connect(gridPanel_, &GridFilePanel::fileChosen, this, &TFormDXFTransform::GridFileChosen);
  connect(bbProcess_, &QPushButton::clicked, this, &TFormDXFTransform::BBProcessClick);
  connect(bbClose_, &QPushButton::clicked, this, &TFormDXFTransform::BBCloseClick);
  connect(bbPoint_, &QPushButton::clicked, this, &TFormDXFTransform::BBPointClick);
  connect(bbLayout_, &QPushButton::clicked, this, &TFormDXFTransform::BBLayoutInClick);
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
  // The model starts as the window starts (both kinds DXF, the starting
  // systems, the lookup); the controls show it.
  ShowModel();
  for (Side s : {Side::In, Side::Out}) {
    if (side(s).lastFileKind == KindPosition(s)) continue;
    ResetFileChoice(s);
    side(s).lastFileKind = KindPosition(s);
  }
  IsRunnable();
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
  const int position = st.c.cbFileName->currentIndex();
  if (position < 0 || position == st.lastFileKind) return;
  ResetFileChoice(s);
  st.lastFileKind = position;
  const std::vector<FileKind> kinds = model_.KindsOffered(s);
  PullFields();
  model_.ChooseFileKind(s, kinds[static_cast<std::size_t>(position)]);
  ShowModel();
  // The output kind follows the input kind; a new position is a new choice.
  if (s == Side::In && KindPosition(Side::Out) != side(Side::Out).lastFileKind) {
    ResetFileChoice(Side::Out);
    side(Side::Out).lastFileKind = KindPosition(Side::Out);
  }
  IsRunnable();
}

int TFormDXFTransform::KindPosition(Side s) const {
  const std::vector<FileKind> kinds = model_.KindsOffered(s);
  const auto at = std::find(kinds.begin(), kinds.end(), model_.Fields(s).fileKind);
  return at == kinds.end() ? -1 : static_cast<int>(at - kinds.begin());
}

void TFormDXFTransform::EditFileNameInClick() {
  const std::optional<QString> path = AskFileName(Side::In);
  if (!path) return;
  ShowChosenFile(Side::In, *path);
  if (model_.Fields(Side::In).fileKind != FileKind::Delimited) return;
  // A new file is read as detected until its layout is chosen.
  model_.ChooseDelimitedLayout({});
  BBLayoutInClick();
}

void TFormDXFTransform::BBLayoutInClick() {
  if (model_.Fields(Side::In).fileKind != FileKind::Delimited) return;
  // Without a file the button picks one first (which opens the dialog).
  if (!InputFileChosen()) {
    EditFileNameInClick();
    return;
  }
  const SideFields& in = model_.Fields(Side::In);
  const std::optional<DelimitedOptions> chosen = dialogs_.ChooseDelimitedLayout(
      {InputFileName(), in.system.value_or(StartingSystem(Side::In)), in.geometric, model_.DelimitedLayoutChoice()});
  if (chosen) model_.ChooseDelimitedLayout(*chosen);
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
  const FileDialogTexts texts = DialogTextsOf(model_.Fields(s).fileKind);
  const int filters = static_cast<int>(texts.extensions.size());
  FileDialogRequest request;
  request.filter = texts.filter;
  if (s == Side::In) {
    request.kind = FileDialogKind::Open;
    request.title = texts.openTitle;
    request.mustExist = true;
  } else {
    request.kind = FileDialogKind::Save;
    request.title = texts.saveTitle;
    request.selectedFilter = std::min(saveFilterIndex_, filters - 1);
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
      if (filters > 1) saveFilterIndex_ = result.selectedFilter;
      const QString extension = texts.extensions.value(result.selectedFilter, texts.extensions.constFirst());
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
  // The engine's rule, on the fields as they stand: a change of zone,
  // hemisphere or false origin is a conversion too.
  if (showing_) return bbProcess_->isEnabled();
  PullFields();
  const bool runnable = model_.IsRunnable(InputFileChosen(), OutputFileChosen());
  bbProcess_->setEnabled(runnable);
  return runnable;
}

// ---------------------------------------------------------------- binding to the model

void TFormDXFTransform::PullFields() {
  if (showing_) return;
  for (Side s : {Side::In, Side::Out}) {
    const SideControls& c = side(s).c;
    std::vector<std::string> entries;
    for (int k = 0; k < c.cbCM->count(); ++k) entries.push_back(c.cbCM->itemText(k).toStdString());
    model_.SetFieldTexts(s, c.cbHLong->currentIndex() == 1, c.cbHLat->currentIndex() == 0, c.cbCM->currentIndex(),
                         std::move(entries), c.eFalseEast->text().toStdString(), c.eFalseNorth->text().toStdString(),
                         c.editSemiMajorAxis->text().toStdString(),
                         c.editReciprocalFlattening->text().toStdString());
  }
}

void TFormDXFTransform::ShowModel() {
  showing_ = true;
  ShowFileKinds();
  ShowSide(Side::In);
  ShowSide(Side::Out);
  ShowParameters();
  showing_ = false;
  // The altimetry dialog follows both systems (it may ask the radio buttons
  // to follow it, which reads the model again).
  for (Side s : {Side::In, Side::Out}) {
    if (model_.Fields(s).system) ApplyHeightControls(s, !model_.Locks(s).heightsEnabled);
  }
}

void TFormDXFTransform::ShowFileKinds() {
  for (Side s : {Side::In, Side::Out}) {
    QComboBox* kinds = side(s).c.cbFileName;
    QStringList labels;
    for (const std::string& label : model_.FileKindLabels(s)) labels << FromUtf8(label);
    if (kinds->count() != labels.size()) {
      SetItems(kinds, labels);
    } else {
      // Only the texts change; the selected entry stays selected.
      for (int k = 0; k < labels.size(); ++k) kinds->setItemText(k, labels[k]);
    }
    kinds->setCurrentIndex(KindPosition(s));
  }
  bbLayout_->setVisible(model_.Fields(Side::In).fileKind == FileKind::Delimited);
}

void TFormDXFTransform::ShowSide(Side s) {
  const SideFields& f = model_.Fields(s);
  const SideLocks locks = model_.Locks(s);
  const SideControls& c = side(s).c;

  QStringList systems;
  for (K kind : SystemsOffered(f.fileKind)) systems << FromUtf8(SystemInfo(kind).label);
  if (Items(c.cbCoordinatesSystems) != systems) SetItems(c.cbCoordinatesSystems, systems);
  c.cbCoordinatesSystems->setCurrentIndex(f.system ? systems.indexOf(FromUtf8(SystemInfo(*f.system).label)) : -1);

  // The projection details hold their values also while hidden.
  c.cbHLong->setCurrentIndex(f.west ? 1 : 0);
  c.cbHLat->setCurrentIndex(f.northern ? 0 : 1);
  c.cbAmplitudeZone->setCurrentIndex(c.cbAmplitudeZone->findText(FromUtf8(f.zoneWidth)));
  QStringList entries;
  for (const std::string& entry : f.meridianEntries) entries << FromUtf8(entry);
  if (Items(c.cbCM) != entries) SetItems(c.cbCM, entries);
  c.cbCM->setCurrentIndex(f.meridianIndex);
  c.pSelectedCM->setText(FromUtf8(f.meridianPanelText));
  if (c.eFalseEast->text() != FromUtf8(f.falseEastingText)) c.eFalseEast->setText(FromUtf8(f.falseEastingText));
  if (c.eFalseNorth->text() != FromUtf8(f.falseNorthingText)) c.eFalseNorth->setText(FromUtf8(f.falseNorthingText));
  if (f.system && locks.detailsShown) {
    c.gbAditionalInfo->setVisible(true);
    c.cbHLong->setEnabled(locks.hemispheresEnabled);
    c.cbHLat->setEnabled(locks.hemispheresEnabled);
    c.cbAmplitudeZone->setEnabled(false);
    c.labelSelectedCM->hide();
    if (!locks.usesCustomPanel) {
      c.eSelectedCM->hide();
      c.bbSelectedCMOk->hide();
    }
    c.pSelectedCM->setVisible(locks.usesCustomPanel && c.eSelectedCM->isHidden());
    c.cbCM->setEnabled(locks.meridianListEnabled);
    c.cbCM->setVisible(!locks.usesCustomPanel);
    if (locks.usesCustomPanel) {
      c.pSelectedCM->setEnabled(true);
      SetFontColour(c.pSelectedCM, NormalTextColour(this));
    }
    for (QLineEdit* edit : {c.eFalseEast, c.eFalseNorth}) {
      edit->setEnabled(locks.falseOriginEditable);
      SetFontColour(edit, locks.falseOriginGrey ? LockedTextColour(this) : NormalTextColour(this));
    }
  } else if (f.system) {
    c.gbAditionalInfo->setVisible(false);
  }

  c.cbGeodeticReference->setCurrentIndex(static_cast<int>(f.frame));
  c.cbGeodeticReference->setEnabled(!locks.ellipsoidLocked);
  c.editSemiMajorAxis->setText(FromUtf8(f.semiMajorAxisText));
  c.editReciprocalFlattening->setText(FromUtf8(f.inverseFlatteningText));
  c.editSemiMajorAxis->setEnabled(locks.ellipsoidEditsEnabled);
  c.editReciprocalFlattening->setEnabled(locks.ellipsoidEditsEnabled);
  (f.geometric ? c.rbGometric : c.rbOrthometric)->setChecked(true);
}

void TFormDXFTransform::ShowParameters() {
  const ParameterFields& p = model_.Parameters();
  const char separator = UserDecimalSeparator();
  auto write = [separator](QLineEdit* edit, double value, bool enabled) {
    edit->setText(FromUtf8(FormatParameterValue(value, separator)));
    edit->setEnabled(enabled);
  };
  cbTransformation_->setCurrentIndex(static_cast<int>(model_.Model()));
  gbIsogonal_->setVisible(p.panel == ParameterPanel::Isogonal);
  gbAfim_->setVisible(p.panel == ParameterPanel::Affine);
  gridPanel_->setVisible(p.panel == ParameterPanel::Grid);
  if (p.panel == ParameterPanel::Grid) {
    gridPanel_->Show(QString::fromStdString(model_.GridPath()), FromUtf8(model_.GridText()));
  }
  const bool legsShown = !p.legs.empty() && NamesItsLegs(model_.Fields(Side::In).frame, model_.Fields(Side::Out).frame);
  lParameterLegs_->setVisible(legsShown);
  if (legsShown) {
    lParameterLegs_->setText(QStringLiteral("Aplicado: ") + FromUtf8(LegsText(p.legs, model_.Model(), separator)));
  }
  if (p.isogonalWrites != shownIsogonal_) {
    const IsogonalParameters& v = p.isogonal;
    const std::array<double, 7> values = {v.scale, v.tx, v.ty, v.tz, v.rx, v.ry, v.rz};
    for (std::size_t k = 0; k < values.size(); ++k) write(isogonalEdits_[k], values[k], p.isogonalEnabled);
    shownIsogonal_ = p.isogonalWrites;
  }
  if (p.affineWrites != shownAffine_) {
    const AffineParameters& a = p.affine;
    const std::array<double, 12> values = {a.tx, a.ty, a.tz, a.a, a.b, a.c, a.d, a.e, a.f, a.g, a.h, a.i};
    for (std::size_t k = 0; k < values.size(); ++k) write(affineEdits_[k], values[k], p.affineEnabled);
    shownAffine_ = p.affineWrites;
  }
}

bool TFormDXFTransform::ParameterQuestion::AskCustomParameters() {
  window->dialogs_.ShowMessage({FromUtf8(kNoParametersMessage), FromUtf8(kParametersCaption), MessageIcon::Warning,
                                MessageButtons::Ok});
  return window->dialogs_.ShowMessage({FromUtf8(kAskCustomParametersQuestion), FromUtf8(kParametersCaption),
                                       MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

// ---------------------------------------------------------------- coordinate systems

void TFormDXFTransform::CBCoordinatesSystemsInChange() { SystemChange(Side::In); }
void TFormDXFTransform::CBCoordinatesSystemsOutChange() { SystemChange(Side::Out); }

void TFormDXFTransform::SystemChange(Side s) {
  const std::optional<K> kind = SystemKindFromLabel(side(s).c.cbCoordinatesSystems->currentText().toStdString());
  if (!kind) return;  // no entry chosen
  PullFields();
  model_.ChooseSystem(s, *kind);
  ShowModel();
  IsRunnable();
}

void TFormDXFTransform::ApplyHeightControls(Side s, bool cartesian) {
  const SideControls& c = side(s).c;
  for (QWidget* w : {static_cast<QWidget*>(c.gbAltimetry), static_cast<QWidget*>(c.rbGometric),
                     static_cast<QWidget*>(c.rbOrthometric), static_cast<QWidget*>(c.bbSetupAltimetria)})
    w->setEnabled(!cartesian);
  const bool inputCartesian = !model_.Locks(Side::In).heightsEnabled;
  const bool outputCartesian = !model_.Locks(Side::Out).heightsEnabled;
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

// ---------------------------------------------------------------- ellipsoids

void TFormDXFTransform::CBGeodeticReferenceInChange() { GeodeticReferenceChange(Side::In); }
void TFormDXFTransform::CBGeodeticReferenceOutChange() { GeodeticReferenceChange(Side::Out); }

void TFormDXFTransform::GeodeticReferenceChange(Side s) {
  const int frame = side(s).c.cbGeodeticReference->currentIndex();
  if (frame < 0) return;
  PullFields();
  model_.ChooseEllipsoid(s, static_cast<ReferenceFrame>(frame));
  ShowModel();
  IsRunnable();
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
  if (edit->text() == FromUtf8(JobModel::Placeholder(s))) edit->clear();
}

void TFormDXFTransform::EllipsoidEditExit(Side s, QLineEdit* edit) {
  const SideControls& c = side(s).c;
  if (c.cbGeodeticReference->currentIndex() != static_cast<int>(ReferenceFrame::Custom)) return;
  const std::string text = edit->text().toStdString();
  if (edit == c.editSemiMajorAxis)
    model_.TypeSemiMajorAxis(s, text);
  else
    model_.TypeInverseFlattening(s, text);
  // The typed text decides whether a run would change anything.
  IsRunnable();
}

// ---------------------------------------------------------------- hemispheres, heights

void TFormDXFTransform::CBHLatInChange() {
  PullFields();
  model_.ChooseLatitudeHemisphere(Side::In, side(Side::In).c.cbHLat->currentIndex() == 0);
  ShowModel();
  IsRunnable();
}

void TFormDXFTransform::CBHLatOutChange() {
  PullFields();
  model_.ChooseLatitudeHemisphere(Side::Out, side(Side::Out).c.cbHLat->currentIndex() == 0);
  ShowModel();
  IsRunnable();
}

void TFormDXFTransform::CBHLongInChange() {
  PullFields();
  model_.ChooseLongitudeHemisphere(Side::In, side(Side::In).c.cbHLong->currentIndex() == 1);
  ShowModel();
  IsRunnable();
}

void TFormDXFTransform::RBGometricInClick() { HeightRadioClick(Side::In); }
void TFormDXFTransform::RBGometricOutClick() { HeightRadioClick(Side::Out); }

void TFormDXFTransform::HeightRadioClick(Side s) {
  const bool geometric = side(s).c.rbGometric->isChecked();
  model_.ChooseHeightKind(s, geometric);
  const bool wasShowing = showing_;
  showing_ = true;
  ShowFileKinds();
  showing_ = wasShowing;
  altimetry_.SetHeightIndex(s, geometric ? 0 : 1);
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
  PullFields();
  const Outcome outcome =
      model_.TypeCentralMeridian(s, c.eSelectedCM->text().toUtf8().toStdString(), UserDecimalSeparator());
  if (outcome.Refused()) {
    ShowError(FromUtf8(outcome.refusal), kApplicationTitle);
    return;
  }
  ShowModel();
  IsRunnable();
}

// ---------------------------------------------------------------- transformation parameters

void TFormDXFTransform::GridFileChosen(const QString& path) {
  model_.ChooseGridFile(ToLocalPath(path));
  ShowModel();
  IsRunnable();
}

void TFormDXFTransform::CBTransformationChange() {
  PullFields();
  model_.ChooseModel(static_cast<TransformationModel>(cbTransformation_->currentIndex()));
  ShowModel();
  IsRunnable();
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
  if (!PushParameters([&](QLineEdit* edit) { return readEditIn(edit, separator); })) {
    ShowError(LocaleConversionError(isogonalEdits_[0]->text()), kApplicationTitle);
    ShowError(FromUtf8(kParametersReadError), FromUtf8(kInterruptCaption));
    return std::nullopt;
  }

  for (Side s : {Side::In, Side::Out}) {
    const SideControls& c = side(s).c;
    for (QLineEdit* edit : {c.editSemiMajorAxis, c.editReciprocalFlattening, c.eFalseEast, c.eFalseNorth})
      readEditIn(edit, '.');
  }
  PullFields();
  model_.ChooseFiles(ToLocalPath(InputFileName()), ToLocalPath(OutputFileName()));
  JobModel::Built built = model_.BuildJob();
  if (!built.job) {
    ShowError(FromUtf8(built.message), built.readerError ? kApplicationTitle : FromUtf8(kInterruptCaption));
    return std::nullopt;
  }
  return built.job;
}

bool TFormDXFTransform::PushParameters(const std::function<double(QLineEdit*)>& read) {
  IsogonalParameters p;
  p.tx = read(isogonalEdits_[1]);
  p.ty = read(isogonalEdits_[2]);
  p.tz = read(isogonalEdits_[3]);
  p.rx = read(isogonalEdits_[4]);
  p.ry = read(isogonalEdits_[5]);
  p.rz = read(isogonalEdits_[6]);
  // The scale factor is a plain number in the user's notation.
  const std::optional<double> scale = ReadLocaleNumber(isogonalEdits_[0]->text());
  if (!scale) return false;
  p.scale = *scale;
  AffineParameters a;
  std::array<double*, 12> affine = {&a.tx, &a.ty, &a.tz, &a.a, &a.b, &a.c, &a.d, &a.e, &a.f, &a.g, &a.h, &a.i};
  for (std::size_t k = 0; k < affine.size(); ++k) *affine[k] = read(affineEdits_[k]);
  model_.SetParameterValues(p, a);
  return true;
}

std::optional<ConversionJob> TFormDXFTransform::CurrentJob() {
  const char separator = UserDecimalSeparator();
  if (!PushParameters([separator](QLineEdit* edit) {
        return ReadEditNumber(edit->text().toStdString(), separator).value;
      })) {
    return std::nullopt;
  }
  PullFields();
  // One point has no files: the job names none, so no file check applies.
  model_.ChooseFiles(std::string(), std::string());
  JobModel::Built built = model_.BuildJob();
  model_.ChooseFiles(ToLocalPath(InputFileName()), ToLocalPath(OutputFileName()));
  return built.job;
}

void TFormDXFTransform::BBPointClick() {
  if (pointWindow_ == nullptr) pointWindow_ = new TFormPointConversion([this] { return CurrentJob(); }, this);
  pointWindow_->setWindowFlag(Qt::Window, true);
  pointWindow_->show();
  pointWindow_->raise();
  pointWindow_->activateWindow();
}

void TFormDXFTransform::ShowRunSummary(const ConversionJob& job, const RunResult& result) {
  RunSummary summary{result.convertedCount, IsDrawing(job.inputKind), job.outputPath, result.warnings};
  dialogs_.ShowRunSummary({std::move(summary), job.outputKind, job.output.system, job.delimited});
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
      ShowRunSummary(*job, result);
      break;
    case RunResult::Status::Failed:
    case RunResult::Status::OpenFailed:  // the file named, and why it could not be opened
      ShowRunMessages(result.messages);
      break;
  }
}

}  // namespace transref
