#include "ui/TFormPointConversion.h"

#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "conversion/JobDescription.h"
#include "ui/ScreenPlacement.h"
#include "ui/UiTexts.h"

namespace transref {
namespace {

const QString kCaption = QStringLiteral("Converter um ponto…");
constexpr int kWidth = 760;
constexpr int kEditWidth = 220;

QString Escaped(const std::string& text) { return FromUtf8(text).toHtmlEscaped(); }

// The red of a reason: readable on the window's background.
void MakeReasonLabel(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(170, 0, 0));
  label->setPalette(palette);
  label->setWordWrap(true);
}

}  // namespace

TFormPointConversion::TFormPointConversion(JobSource source, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
  BuildLayout();
  UseJob(source_ ? source_() : std::nullopt);
}

TFormPointConversion::TFormPointConversion(const ConversionJob& job, QWidget* parent) : QDialog(parent) {
  BuildLayout();
  UseJob(job);
}

TFormPointConversion::~TFormPointConversion() = default;

void TFormPointConversion::BuildLayout() {
  setObjectName(QStringLiteral("TFormPointConversion"));
  setWindowTitle(kCaption);
  setMinimumWidth(kWidth);
  auto* layout = new QVBoxLayout(this);

  auto* gbChoices = new QGroupBox(QStringLiteral("Escolhas da janela principal"), this);
  gbChoices->setObjectName(QStringLiteral("GBPointChoices"));
  auto* choicesLayout = new QVBoxLayout(gbChoices);
  choices_ = new QLabel(gbChoices);
  choices_->setObjectName(QStringLiteral("LabelPointChoices"));
  choices_->setWordWrap(true);
  choices_->setTextFormat(Qt::RichText);
  choices_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  choices_->setFocusPolicy(Qt::StrongFocus);
  choices_->setAccessibleName(QStringLiteral("Escolhas da janela principal"));
  choicesLayout->addWidget(choices_);
  layout->addWidget(gbChoices);

  gbInput_ = new QGroupBox(this);
  gbInput_->setObjectName(QStringLiteral("GBPointInput"));
  auto* inGrid = new QGridLayout(gbInput_);
  gbOutput_ = new QGroupBox(this);
  gbOutput_->setObjectName(QStringLiteral("GBPointOutput"));
  auto* outGrid = new QGridLayout(gbOutput_);
  for (int k = 0; k < 3; ++k) {
    const QString n = QString::number(k + 1);
    labelsIn_[k] = new QLabel(gbInput_);
    labelsIn_[k]->setObjectName(QStringLiteral("LabelPointC") + n);
    editIn_[k] = new QLineEdit(gbInput_);
    editIn_[k]->setObjectName(QStringLiteral("EditPointC") + n);
    editIn_[k]->setFixedWidth(kEditWidth);
    labelsIn_[k]->setBuddy(editIn_[k]);
    reasons_[k] = new QLabel(gbInput_);
    reasons_[k]->setObjectName(QStringLiteral("LabelPointReason") + n);
    MakeReasonLabel(reasons_[k]);
    inGrid->addWidget(labelsIn_[k], k, 0);
    inGrid->addWidget(editIn_[k], k, 1);
    inGrid->addWidget(reasons_[k], k, 2);
    connect(editIn_[k], &QLineEdit::textChanged, this, &TFormPointConversion::Convert);

    labelsOut_[k] = new QLabel(gbOutput_);
    labelsOut_[k]->setObjectName(QStringLiteral("LabelPointOut") + n);
    editOut_[k] = new QLineEdit(gbOutput_);
    editOut_[k]->setObjectName(QStringLiteral("EditPointOut") + n);
    editOut_[k]->setReadOnly(true);
    editOut_[k]->setFixedWidth(kEditWidth);
    labelsOut_[k]->setBuddy(editOut_[k]);
    outGrid->addWidget(labelsOut_[k], k, 0);
    outGrid->addWidget(editOut_[k], k, 1);
    if (k < 2) {
      editDms_[k] = new QLineEdit(gbOutput_);
      editDms_[k]->setObjectName(QStringLiteral("EditPointOutDms") + n);
      editDms_[k]->setReadOnly(true);
      editDms_[k]->setFixedWidth(kEditWidth);
      outGrid->addWidget(editDms_[k], k, 2);
    }
  }
  inGrid->setColumnStretch(2, 1);
  outGrid->setColumnStretch(3, 1);
  auto* lineLabel = new QLabel(QStringLiteral("Linha da lista:"), gbOutput_);
  editLine_ = new QLineEdit(gbOutput_);
  editLine_->setObjectName(QStringLiteral("EditPointLine"));
  editLine_->setReadOnly(true);
  editLine_->setAccessibleName(QStringLiteral("Linha da lista"));
  QFont fixed = editLine_->font();
  fixed.setFamily(QStringLiteral("monospace"));
  fixed.setStyleHint(QFont::Monospace);
  editLine_->setFont(fixed);
  lineLabel->setBuddy(editLine_);
  outGrid->addWidget(lineLabel, 3, 0);
  outGrid->addWidget(editLine_, 3, 1, 1, 3);
  layout->addWidget(gbInput_);
  layout->addWidget(gbOutput_);

  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("LabelPointProblem"));
  problem_->setAccessibleName(QStringLiteral("Situação da conversão"));
  MakeReasonLabel(problem_);
  layout->addWidget(problem_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  bbCopy_ = new QPushButton(QStringLiteral("Copiar"), this);
  bbCopy_->setObjectName(QStringLiteral("BBPointCopy"));
  bbCopy_->setAccessibleName(QStringLiteral("Copiar a linha do resultado"));
  bbCopy_->setAutoDefault(false);
  bbClose_ = new QPushButton(QStringLiteral("Fechar"), this);
  bbClose_->setObjectName(QStringLiteral("BBPointClose"));
  bbClose_->setAccessibleName(QStringLiteral("Fechar"));
  bbClose_->setAutoDefault(false);
  buttons->addWidget(bbCopy_);
  buttons->addWidget(bbClose_);
  layout->addLayout(buttons);
  connect(bbCopy_, &QPushButton::clicked, this, &TFormPointConversion::BBPointCopyClick);
  connect(bbClose_, &QPushButton::clicked, this, &QDialog::close);

  setTabOrder(choices_, editIn_[0]);
  setTabOrder(editIn_[0], editIn_[1]);
  setTabOrder(editIn_[1], editIn_[2]);
  setTabOrder(editIn_[2], editOut_[0]);
  setTabOrder(editOut_[0], editDms_[0]);
  setTabOrder(editDms_[0], editOut_[1]);
  setTabOrder(editOut_[1], editDms_[1]);
  setTabOrder(editDms_[1], editOut_[2]);
  setTabOrder(editOut_[2], editLine_);
  setTabOrder(editLine_, bbCopy_);
  setTabOrder(bbCopy_, bbClose_);
  KeepInsideScreenWhenShown(this);
}

void TFormPointConversion::UseJob(const std::optional<ConversionJob>& job) {
  if (!job) {
    converter_.reset();
    choices_->setText(QStringLiteral("As escolhas da janela principal ainda não formam uma conversão."));
    Convert();
    return;
  }
  converter_ = std::make_unique<SinglePointConverter>(*job);
  QString rows;
  for (const JobDescriptionRow& row : DescribeJob(*job)) {
    rows += QStringLiteral("<tr><td><b>%1:</b></td><td>%2</td></tr>").arg(Escaped(row.subject), Escaped(row.text));
  }
  choices_->setText(QStringLiteral("<table cellspacing=\"2\">") + rows + QStringLiteral("</table>"));

  const auto inNames = CoordinateNames(job->input.system, job->input.heightKind);
  const auto outNames = CoordinateNames(job->output.system, job->output.heightKind);
  const QString inSystem = FromUtf8(SystemInfo(job->input.system).label);
  const QString outSystem = FromUtf8(SystemInfo(job->output.system).label);
  gbInput_->setTitle(QStringLiteral("Ponto de entrada (%1)").arg(inSystem));
  gbOutput_->setTitle(QStringLiteral("Resultado (%1)").arg(outSystem));
  const int inCount = InputFieldCount(*job);
  const int outCount = ResultValueCount(*job);
  const bool geographicIn = job->input.system == CoordinateSystemKind::Geographic;
  const bool geographicOut = job->output.system == CoordinateSystemKind::Geographic;
  for (int k = 0; k < 3; ++k) {
    const QString inName = FromUtf8(inNames[k]);
    labelsIn_[k]->setText(QStringLiteral("&") + inName + QLatin1Char(':'));
    editIn_[k]->setAccessibleName(inName + QStringLiteral(" de entrada"));
    editIn_[k]->setEnabled(k < inCount);
    editIn_[k]->setPlaceholderText(geographicIn && k < 2 ? QStringLiteral("graus decimais, ex. -51,2084722")
                                                         : QString());
    reasons_[k]->setAccessibleName(QStringLiteral("Problema em ") + inName);
    const QString outName = FromUtf8(outNames[k]);
    labelsOut_[k]->setText(outName + QLatin1Char(':'));
    editOut_[k]->setAccessibleName(outName + QStringLiteral(" de saída"));
    editOut_[k]->setVisible(k < outCount);
    labelsOut_[k]->setVisible(k < outCount);
    if (k < 2) {
      editDms_[k]->setVisible(geographicOut);
      editDms_[k]->setAccessibleName(outName + QStringLiteral(" de saída em graus, minutos e segundos"));
    }
  }
  Convert();
}

void TFormPointConversion::Refresh() { UseJob(source_ ? source_() : std::nullopt); }

void TFormPointConversion::Convert() {
  result_ = {};
  if (converter_) {
    std::array<std::string, 3> fields;
    for (int k = 0; k < 3; ++k) fields[k] = editIn_[k]->text().toStdString();
    result_ = converter_->Convert(fields);
  }
  for (int k = 0; k < 3; ++k) {
    // An empty field is no mistake yet: it is waiting to be typed.
    const bool empty = editIn_[k]->text().trimmed().isEmpty();
    reasons_[k]->setText(empty ? QString() : FromUtf8(result_.reasons[k]));
    editOut_[k]->setText(result_.Converted() ? FromUtf8(result_.texts[k]) : QString());
    if (k < 2) editDms_[k]->setText(result_.Converted() ? FromUtf8(result_.sexagesimal[k]) : QString());
  }
  editLine_->setText(result_.Converted() ? FromUtf8(result_.line) : QString());
  QString problem;
  if (!converter_) {
    problem = QStringLiteral("Escolha os sistemas na janela principal.");
  } else {
    problem = FromUtf8(result_.reason);  // the job's, or a point outside the transformation's domain
  }
  problem_->setText(problem);
  bbCopy_->setEnabled(result_.Converted());
}

void TFormPointConversion::BBPointCopyClick() {
  if (!result_.Converted()) return;
  QGuiApplication::clipboard()->setText(FromUtf8(result_.line));
}

void TFormPointConversion::showEvent(QShowEvent* event) {
  if (source_) Refresh();
  QDialog::showEvent(event);
}

bool TFormPointConversion::event(QEvent* event) {
  // Back from the main window: its choices may have changed.
  if (event->type() == QEvent::WindowActivate && source_) Refresh();
  return QDialog::event(event);
}

}  // namespace transref
