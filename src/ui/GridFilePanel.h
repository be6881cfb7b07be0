#pragma once
// The "Grade NTv2" model's panel: the grid file the run applies (the one
// that ships for the pair of frames, or one the user picks), a browse
// button, and a line that says what the grid joins or why it cannot be used.
// The last file the user picked is remembered between runs of the program.

#include <QGroupBox>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace transref {

class UserDialogs;

class GridFilePanel : public QGroupBox {
  Q_OBJECT

 public:
  GridFilePanel(UserDialogs& dialogs, QWidget* parent = nullptr);

  // `path`: the grid the run applies (empty: none); `description`: what it
  // joins ("SAD69_003.gsb (SAD69 → SIRGAS00)") or why it cannot be used.
  void Show(const QString& path, const QString& description);

  QLineEdit* EditGridFile() const { return edit_; }
  QPushButton* BBGridFile() const { return browse_; }
  QLabel* LGridDescription() const { return description_; }

  // The file picked in an earlier run, if it still exists.
  static QString RememberedFile();

 signals:
  // The user picked or typed a grid file (empty: back to the shipped one).
  void fileChosen(const QString& path);

 private slots:
  void BBGridFileClick();
  void EditGridFileDone();

 private:
  void Choose(const QString& path);

  UserDialogs& dialogs_;
  QLineEdit* edit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLabel* description_ = nullptr;
};

}  // namespace transref
