#pragma once
// Test stand-in for UserDialogs: records every message box and file dialog
// and answers from queues filled by the test. A box nobody scripted an answer
// for is answered "No" (Yes/No) or "Ok" and counted as unscripted, so a test
// can tell an unexpected question from an expected one.

#include <QList>
#include <QQueue>

#include "conversion/Messages.h"
#include "ui/UiTexts.h"
#include "ui/UserDialogs.h"

namespace transref {

class ScriptedUserDialogs final : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    messages.append(request);
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.isEmpty()) {
      ++unscriptedQuestions;
      return MessageAnswer::No;
    }
    return answers.dequeue();
  }

  FileDialogResult ShowFileDialog(const FileDialogRequest& request) override {
    fileRequests.append(request);
    if (files.isEmpty()) return {};
    return files.dequeue();
  }

  // The summary box is recorded twice: as the message its first line is
  // (the success text and caption a plain box would show) and whole.
  void ShowRunSummary(const RunSummaryRequest& request) override {
    messages.append({FromUtf8(kSuccessMessage), FromUtf8(kSuccessCaption), MessageIcon::None, MessageButtons::Ok});
    summaries.append(request);
  }

  // Answers from `layouts`; a dialog nobody scripted is cancelled.
  std::optional<DelimitedOptions> ChooseDelimitedLayout(const DelimitedLayoutRequest& request) override {
    layoutRequests.append(request);
    if (layouts.isEmpty()) return std::nullopt;
    return layouts.dequeue();
  }

  // Queues the answer "the user picked `path` with filter `filter`".
  void PickFile(const QString& path, int filter = 0) { files.enqueue({true, path, filter}); }
  void CancelFile() { files.enqueue({}); }

  void Clear() {
    messages.clear();
    fileRequests.clear();
    answers.clear();
    files.clear();
    summaries.clear();
    layoutRequests.clear();
    layouts.clear();
    unscriptedQuestions = 0;
  }

  QList<MessageBoxRequest> messages;
  QList<FileDialogRequest> fileRequests;
  QQueue<MessageAnswer> answers;
  QQueue<FileDialogResult> files;
  QList<RunSummaryRequest> summaries;
  QList<DelimitedLayoutRequest> layoutRequests;
  QQueue<std::optional<DelimitedOptions>> layouts;
  int unscriptedQuestions = 0;
};

}  // namespace transref
