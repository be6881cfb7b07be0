#pragma once
// Test stand-in for UserDialogs: records every message box and file dialog
// and answers from queues filled by the test. A box nobody scripted an answer
// for is answered "No" (Yes/No) or "Ok" and counted as unscripted, so a test
// can tell an unexpected question from an expected one.

#include <QList>
#include <QQueue>

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

  // Queues the answer "the user picked `path` with filter `filter`".
  void PickFile(const QString& path, int filter = 0) { files.enqueue({true, path, filter}); }
  void CancelFile() { files.enqueue({}); }

  void Clear() {
    messages.clear();
    fileRequests.clear();
    answers.clear();
    files.clear();
    unscriptedQuestions = 0;
  }

  QList<MessageBoxRequest> messages;
  QList<FileDialogRequest> fileRequests;
  QQueue<MessageAnswer> answers;
  QQueue<FileDialogResult> files;
  int unscriptedQuestions = 0;
};

}  // namespace transref
