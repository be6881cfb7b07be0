#include "ui/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "support/ErrorLayer.h"
#include "ui/TFormDelimitedLayout.h"
#include "ui/TFormResultView.h"
#include "ui/TFormRunSummary.h"

namespace transref {

QList<FilterEntry> SplitFilterList(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QList<FilterEntry> entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries.append({parts[i], parts[i + 1]});
  return entries;
}

MessageAnswer QtUserDialogs::ShowMessage(const MessageBoxRequest& request) {
  QMessageBox box(parent_);
  box.setWindowTitle(request.caption);
  box.setText(request.text);
  switch (request.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation:
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
  }
  if (request.buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

FileDialogResult QtUserDialogs::ShowFileDialog(const FileDialogRequest& request) {
  const QList<FilterEntry> entries = SplitFilterList(request.filter);
  QStringList nameFilters;
  for (const FilterEntry& entry : entries) {
    // The description already names the pattern, e.g. "Arquivo DXF (*.dxf)".
    nameFilters.append(entry.description.contains(entry.pattern)
                           ? entry.description
                           : entry.description + QStringLiteral(" (") + entry.pattern + QLatin1Char(')'));
  }
  QFileDialog dialog(parent_, request.title);
  // Qt's own dialog, which speaks the program's language (Portuguese) on
  // every desktop, whatever the session's language.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setNameFilters(nameFilters);
  if (request.selectedFilter >= 0 && request.selectedFilter < nameFilters.size())
    dialog.selectNameFilter(nameFilters[request.selectedFilter]);
  dialog.setSizeGripEnabled(true);
  if (request.kind == FileDialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  }
  FileDialogResult result;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
  result.accepted = true;
  result.path = dialog.selectedFiles().constFirst();
  result.selectedFilter = std::max<qsizetype>(0, nameFilters.indexOf(dialog.selectedNameFilter()));
  return result;
}

void QtUserDialogs::ShowRunSummary(const RunSummaryRequest& request) {
  TFormRunSummary box(request.summary, request.outputKind, request.outputSystem, *this, parent_);
  box.SetDelimitedOptions(request.delimited);
  box.exec();
}

std::optional<DelimitedOptions> QtUserDialogs::ChooseDelimitedLayout(const DelimitedLayoutRequest& request) {
  TFormDelimitedLayout dialog(request.path, request.inputSystem, request.geometricHeight, request.options, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Options();
}

AcknowledgeBoxHook::AcknowledgeBoxHook(UserDialogs& dialogs)
    : previous_(ZRTPrimitiveSys::SetAcknowledgeHook([&dialogs](const std::string& report) {
        dialogs.ShowMessage({QString::fromUtf8(report.c_str()), kErrorReportCaption,
                             MessageIcon::Stop, MessageButtons::Ok});
      })) {}

AcknowledgeBoxHook::~AcknowledgeBoxHook() { ZRTPrimitiveSys::SetAcknowledgeHook(std::move(previous_)); }

}  // namespace transref
