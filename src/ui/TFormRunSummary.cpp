#include "ui/TFormRunSummary.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "conversion/Messages.h"
#include "ui/ScreenPlacement.h"
#include "ui/TFormResultView.h"
#include "ui/UiTexts.h"
#include "ui/UserDialogs.h"

namespace transref {

TFormRunSummary::TFormRunSummary(const RunSummary& summary, FileKind outputKind, CoordinateSystemKind outputSystem,
                                 UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      summary_(summary),
      outputKind_(outputKind),
      outputSystem_(outputSystem),
      dialogs_(dialogs),
      openFolder_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setObjectName(QStringLiteral("TFormRunSummary"));
  setWindowTitle(FromUtf8(kSuccessCaption));
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(FromUtf8(RunSummaryText(summary_)), this);
  text_->setObjectName(QStringLiteral("LabelRunSummary"));
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setAccessibleName(FromUtf8(kSuccessMessage));
  text_->setMinimumWidth(420);
  layout->addWidget(text_);
  auto* buttons = new QHBoxLayout;
  bbOpenFolder_ = new QPushButton(QStringLiteral("Abrir pasta"), this);
  bbOpenFolder_->setObjectName(QStringLiteral("BBOpenFolder"));
  bbOpenFolder_->setAccessibleName(QStringLiteral("Abrir a pasta do arquivo de saída"));
  bbViewResult_ = new QPushButton(QStringLiteral("Ver resultado"), this);
  bbViewResult_->setObjectName(QStringLiteral("BBViewResult"));
  bbViewResult_->setAccessibleName(QStringLiteral("Ver o desenho do resultado"));
  bbOk_ = new QPushButton(QStringLiteral("OK"), this);
  bbOk_->setObjectName(QStringLiteral("BBSummaryOk"));
  bbOk_->setAccessibleName(QStringLiteral("OK"));
  bbOk_->setDefault(true);
  bbOpenFolder_->setAutoDefault(false);
  bbViewResult_->setAutoDefault(false);
  buttons->addWidget(bbOpenFolder_);
  buttons->addWidget(bbViewResult_);
  buttons->addStretch(1);
  buttons->addWidget(bbOk_);
  layout->addLayout(buttons);
  connect(bbOpenFolder_, &QPushButton::clicked, this, &TFormRunSummary::BBOpenFolderClick);
  connect(bbViewResult_, &QPushButton::clicked, this, &TFormRunSummary::BBViewResultClick);
  connect(bbOk_, &QPushButton::clicked, this, &QDialog::accept);
  // The standard output of the batch converter has no file to show.
  const bool named = !summary_.outputPath.empty() && summary_.outputPath != "-";
  bbOpenFolder_->setEnabled(named);
  bbViewResult_->setEnabled(named && ResultReaderFor(outputKind_) != nullptr);
  bbOk_->setFocus();
  KeepInsideScreenWhenShown(this);
}

QString TFormRunSummary::Text() const { return text_->text(); }

void TFormRunSummary::BBOpenFolderClick() {
  const QString folder = QFileInfo(QFile::decodeName(summary_.outputPath.c_str())).absolutePath();
  if (openFolder_ && openFolder_(QUrl::fromLocalFile(folder))) return;
  dialogs_.ShowMessage({QStringLiteral("Não foi possível abrir a pasta \"%1\".").arg(folder), kMainCaption,
                        MessageIcon::Warning, MessageButtons::Ok});
}

void TFormRunSummary::BBViewResultClick() {
  if (view_) {
    view_->raise();
    view_->activateWindow();
    return;
  }
  // The picture outlives this box: it belongs to the window the box was
  // opened over.
  auto* view = new TFormResultView(dialogs_, parentWidget());
  view->setAttribute(Qt::WA_DeleteOnClose);
  if (!view->Open(QFile::decodeName(summary_.outputPath.c_str()), outputKind_, outputSystem_, delimited_)) {
    delete view;
    return;
  }
  // Over a modal box the picture must be modal too, or it could not be used.
  if (isModal()) view->setWindowModality(Qt::ApplicationModal);
  view_ = view;
  view->show();
}

}  // namespace transref
