#include "ui/TFormDelimitedLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "conversion/lists/DelimitedList.h"
#include "ui/ScreenPlacement.h"
#include "ui/UiTexts.h"

namespace transref {
namespace {

struct Choice {
  char value;
  const char* label;
};
constexpr std::array kSeparators = {Choice{';', "Ponto e vírgula ( ; )"}, Choice{',', "Vírgula ( , )"},
                                    Choice{'\t', "Tabulação"}, Choice{kBlankSeparator, "Espaços"}};
constexpr std::array kDecimalMarks = {Choice{',', "Vírgula ( , )"}, Choice{'.', "Ponto ( . )"}};
constexpr std::array kRoles = {ColumnRole::Id, ColumnRole::C1, ColumnRole::C2, ColumnRole::C3, ColumnRole::Carried};

template <std::size_t N>
void Fill(QComboBox* combo, const std::array<Choice, N>& choices) {
  for (const Choice& choice : choices) combo->addItem(FromUtf8(choice.label), QChar::fromLatin1(choice.value));
}

void Select(QComboBox* combo, char value) { combo->setCurrentIndex(combo->findData(QChar::fromLatin1(value))); }

char Selected(const QComboBox* combo) { return combo->currentData().toChar().toLatin1(); }

// A line without a header naming its coordinates: ID and the coordinates in
// order, the rest carried.
std::vector<ColumnRole> RolesInOrder(std::size_t count) {
  std::vector<ColumnRole> roles;
  for (std::size_t k = 0; k < count; ++k) roles.push_back(k < 4 ? kRoles[k] : ColumnRole::Carried);
  return roles;
}

}  // namespace

TFormDelimitedLayout::TFormDelimitedLayout(const QString& path, CoordinateSystemKind inputSystem,
                                           bool geometricHeight, const DelimitedOptions& options, QWidget* parent)
    : QDialog(parent), path_(path), inputSystem_(inputSystem), geometricHeight_(geometricHeight), options_(options) {
  setObjectName(QStringLiteral("TFormDelimitedLayout"));
  setWindowTitle(QStringLiteral("Leiaute do arquivo — ") + QFileInfo(path).fileName());
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(QStringLiteral("Confira como as primeiras linhas do arquivo são lidas e, se preciso, "
                                          "mude o separador, a marca decimal, o cabeçalho ou o papel de cada coluna."),
                           this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  auto* choices = new QHBoxLayout;
  auto addChoice = [&](const QString& label, QWidget* field) {
    auto* text = new QLabel(label, this);
    text->setBuddy(field);
    field->setAccessibleName(QString(label).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    choices->addWidget(text);
    choices->addWidget(field);
    choices->addSpacing(12);
  };
  cbSeparator_ = new QComboBox(this);
  cbSeparator_->setObjectName(QStringLiteral("CBSeparator"));
  Fill(cbSeparator_, kSeparators);
  addChoice(QStringLiteral("&Separador:"), cbSeparator_);
  cbDecimalMark_ = new QComboBox(this);
  cbDecimalMark_->setObjectName(QStringLiteral("CBDecimalMark"));
  Fill(cbDecimalMark_, kDecimalMarks);
  addChoice(QStringLiteral("&Marca decimal:"), cbDecimalMark_);
  cbHeader_ = new QCheckBox(QStringLiteral("A primeira linha é um &cabeçalho"), this);
  cbHeader_->setObjectName(QStringLiteral("CBHeader"));
  cbHeader_->setAccessibleName(QStringLiteral("A primeira linha é um cabeçalho"));
  choices->addWidget(cbHeader_);
  choices->addStretch(1);
  layout->addLayout(choices);

  lines_ = new QStandardItemModel(this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("TableLines"));
  table_->setAccessibleName(QStringLiteral("Primeiras linhas do arquivo e o papel de cada coluna"));
  table_->setModel(lines_);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  // Tab goes through the role lists, not from cell to cell.
  table_->setTabKeyNavigation(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setMinimumSectionSize(110);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setMinimumSize(720, 380);
  layout->addWidget(table_, 1);

  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("LabelLayoutProblem"));
  problem_->setWordWrap(true);
  QPalette red = problem_->palette();
  red.setColor(QPalette::WindowText, QColor(170, 0, 0));
  problem_->setPalette(red);
  layout->addWidget(problem_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  bbOk_ = new QPushButton(QStringLiteral("OK"), this);
  bbOk_->setObjectName(QStringLiteral("BBLayoutOk"));
  bbOk_->setAccessibleName(QStringLiteral("Usar este leiaute"));
  bbOk_->setDefault(true);
  auto* bbCancel = new QPushButton(QStringLiteral("Cancelar"), this);
  bbCancel->setObjectName(QStringLiteral("BBLayoutCancel"));
  bbCancel->setAccessibleName(QStringLiteral("Cancelar: ler o arquivo no leiaute detectado"));
  bbCancel->setAutoDefault(false);
  buttons->addWidget(bbOk_);
  buttons->addWidget(bbCancel);
  layout->addLayout(buttons);

  connect(cbSeparator_, &QComboBox::activated, this, &TFormDelimitedLayout::CBSeparatorChange);
  connect(cbDecimalMark_, &QComboBox::activated, this, &TFormDelimitedLayout::CBDecimalMarkChange);
  connect(cbHeader_, &QCheckBox::clicked, this, &TFormDelimitedLayout::CBHeaderClick);
  connect(bbOk_, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
  KeepInsideScreenWhenShown(this);
}

QComboBox* TFormDelimitedLayout::RoleBox(int column) const {
  return column >= 0 && column < static_cast<int>(roles_.size()) ? roles_[static_cast<std::size_t>(column)] : nullptr;
}

DelimitedOptions TFormDelimitedLayout::Options() const {
  DelimitedOptions options = options_;
  options.separator = Selected(cbSeparator_);
  if (cbDecimalMark_->isEnabled()) options.decimalMark = Selected(cbDecimalMark_);
  options.header = cbHeader_->isChecked();
  options.columns.clear();
  for (const QComboBox* role : roles_) options.columns.push_back(static_cast<ColumnRole>(role->currentData().toInt()));
  return options;
}

void TFormDelimitedLayout::CBSeparatorChange() {
  // Other fields: their header and roles are detected anew.
  options_.separator = Selected(cbSeparator_);
  options_.header.reset();
  options_.columns.clear();
  Refresh();
}

void TFormDelimitedLayout::CBDecimalMarkChange() { options_.decimalMark = Selected(cbDecimalMark_); }

void TFormDelimitedLayout::CBHeaderClick() {
  options_.header = cbHeader_->isChecked();
  options_.columns.clear();  // a header may name the columns
  Refresh();
}

void TFormDelimitedLayout::RoleChange() {
  options_.columns = Options().columns;
  ShowProblem(FromUtf8(ColumnRolesProblem(options_.columns, inputSystem_)));
}

void TFormDelimitedLayout::ShowProblem(const QString& reason) {
  problem_->setText(reason.isEmpty() ? QString() : QStringLiteral("Assim o arquivo não pode ser lido: ") + reason + '.');
  bbOk_->setEnabled(readable_ && reason.isEmpty());
}

void TFormDelimitedLayout::Refresh() {
  const std::string path = QFile::encodeName(path_).toStdString();
  DelimitedPreview preview = PreviewDelimitedFile(path, inputSystem_, options_);
  std::size_t width = 0;
  for (const std::vector<std::string>& values : preview.values) width = std::max(width, values.size());
  if (!preview.layout && !preview.lines.empty() && options_.columns.empty() && width > 0) {
    // A header that names no coordinate: the columns in order to start from.
    options_.columns = RolesInOrder(width);
    preview = PreviewDelimitedFile(path, inputSystem_, options_);
  }
  readable_ = preview.layout.has_value();

  DelimitedLayout shown;
  if (preview.layout) {
    shown = *preview.layout;
  } else {
    shown.separator = options_.separator.value_or(';');
    shown.decimalMark = options_.decimalMark.value_or(',');
    shown.header = options_.header.value_or(false);
    shown.columns = options_.columns.empty() ? RolesInOrder(width) : options_.columns;
  }
  Select(cbSeparator_, shown.separator);
  Select(cbDecimalMark_, shown.decimalMark);
  cbDecimalMark_->setEnabled(shown.separator != ',');  // a comma separating fields is no decimal mark
  cbHeader_->setChecked(shown.header);

  roles_.clear();
  table_->clearSpans();
  lines_->clear();
  lines_->setColumnCount(static_cast<int>(std::max<std::size_t>(width, 1)));
  lines_->setRowCount(static_cast<int>(preview.lines.size()) + 1);
  QStringList rowNames{QStringLiteral("Papel")};
  for (std::size_t k = 0; k < preview.lines.size(); ++k) rowNames << QString::number(k + 1);
  lines_->setVerticalHeaderLabels(rowNames);
  QStringList columnNames;
  for (std::size_t k = 0; k < width; ++k) columnNames << QStringLiteral("Coluna %1").arg(k + 1);
  lines_->setHorizontalHeaderLabels(columnNames);

  bool headerPending = shown.header;
  for (std::size_t row = 0; row < preview.lines.size(); ++row) {
    const int at = static_cast<int>(row) + 1;
    const std::vector<std::string>& values = preview.values[row];
    if (values.empty()) {
      // A comment or blank line: shown whole, carried as it is.
      auto* item = new QStandardItem(FromUtf8(preview.lines[row]));
      item->setForeground(Qt::gray);
      lines_->setItem(at, 0, item);
      if (width > 1) table_->setSpan(at, 0, 1, static_cast<int>(width));
      continue;
    }
    for (std::size_t column = 0; column < values.size(); ++column) {
      auto* item = new QStandardItem(FromUtf8(values[column]));
      if (headerPending) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      lines_->setItem(at, static_cast<int>(column), item);
    }
    headerPending = false;
  }

  for (std::size_t column = 0; column < width; ++column) {
    auto* role = new QComboBox(table_);
    role->setObjectName(QStringLiteral("CBColumnRole%1").arg(column + 1));
    role->setAccessibleName(QStringLiteral("Papel da coluna %1").arg(column + 1));
    for (const ColumnRole r : kRoles) {
      const QString name = r == ColumnRole::Id        ? QStringLiteral("ID")
                           : r == ColumnRole::Carried ? QStringLiteral("Copiar como está")
                                                      : FromUtf8(CoordinateHeaderName(r, inputSystem_, geometricHeight_));
      role->addItem(name, static_cast<int>(r));
    }
    const ColumnRole current = column < shown.columns.size() ? shown.columns[column] : ColumnRole::Carried;
    role->setCurrentIndex(role->findData(static_cast<int>(current)));
    connect(role, &QComboBox::activated, this, &TFormDelimitedLayout::RoleChange);
    table_->setIndexWidget(lines_->index(0, static_cast<int>(column)), role);
    roles_.push_back(role);
  }
  ShowProblem(readable_ ? FromUtf8(ColumnRolesProblem(Options().columns, inputSystem_)) : FromUtf8(preview.error));
}

}  // namespace transref
