#include "ui/GridFilePanel.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "ui/UserDialogs.h"

namespace transref {
namespace {

// Where the last picked grid is kept: the program's settings file
// (~/.config/transref/transref.conf on Linux).
const QString kRememberedGridKey = QStringLiteral("grade/arquivo");
QSettings Settings() { return QSettings(QStringLiteral("transref"), QStringLiteral("transref")); }

}  // namespace

GridFilePanel::GridFilePanel(UserDialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral(" Grade NTv2: "), parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("GBGrid"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Arquivo da grade:"), this);
  auto* row = new QHBoxLayout;
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("EditGridFile"));
  edit_->setAccessibleName(QStringLiteral("Arquivo da grade NTv2"));
  label->setBuddy(edit_);
  browse_ = new QPushButton(QStringLiteral("Procurar…"), this);
  browse_->setObjectName(QStringLiteral("BBGridFile"));
  browse_->setAccessibleName(QStringLiteral("Procurar a grade NTv2"));
  row->addWidget(edit_, 1);
  row->addWidget(browse_);
  description_ = new QLabel(this);
  description_->setObjectName(QStringLiteral("LGridDescription"));
  description_->setWordWrap(true);
  description_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(label);
  layout->addLayout(row);
  layout->addWidget(description_);
  connect(browse_, &QPushButton::clicked, this, &GridFilePanel::BBGridFileClick);
  connect(edit_, &QLineEdit::editingFinished, this, &GridFilePanel::EditGridFileDone);
}

void GridFilePanel::Show(const QString& path, const QString& description) {
  const QString shown = QDir::toNativeSeparators(path);
  if (edit_->text() != shown) edit_->setText(shown);
  edit_->setToolTip(shown);
  description_->setText(description);
}

QString GridFilePanel::RememberedFile() {
  const QString path = Settings().value(kRememberedGridKey).toString();
  return !path.isEmpty() && QFileInfo::exists(path) ? path : QString();
}

void GridFilePanel::BBGridFileClick() {
  FileDialogRequest request;
  request.kind = FileDialogKind::Open;
  request.title = QStringLiteral("Escolha a grade NTv2");
  request.filter = QStringLiteral("Grades NTv2 (*.gsb)|*.gsb|Todos os arquivos (*)|*");
  request.mustExist = true;
  const FileDialogResult result = dialogs_.ShowFileDialog(request);
  if (result.accepted) Choose(result.path);
}

void GridFilePanel::EditGridFileDone() {
  const QString typed = QDir::fromNativeSeparators(edit_->text().trimmed());
  Choose(typed);
}

void GridFilePanel::Choose(const QString& path) {
  if (!path.isEmpty()) Settings().setValue(kRememberedGridKey, QFileInfo(path).absoluteFilePath());
  emit fileChosen(path);
}

}  // namespace transref
