#pragma once
// The layout of a delimited point file (a spreadsheet's CSV, an
// instrument's export): its first lines as a table, with the separator, the
// decimal mark, the header row and the role of every column as detected,
// each changeable; the table follows every change. The choice is what the
// run reads the file with.

#include <QDialog>
#include <QString>

#include <vector>

#include "conversion/lists/DelimitedLayout.h"
#include "geodesy/CoordinateSystems.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace transref {

class TFormDelimitedLayout : public QDialog {
  Q_OBJECT

 public:
  // `options` is the choice the dialog starts from (anything left empty is
  // detected); `geometricHeight` names the height column h instead of H.
  TFormDelimitedLayout(const QString& path, CoordinateSystemKind inputSystem, bool geometricHeight,
                       const DelimitedOptions& options, QWidget* parent = nullptr);

  // The layout as shown, every part explicit.
  DelimitedOptions Options() const;

  QComboBox* CBSeparator() const { return cbSeparator_; }
  QComboBox* CBDecimalMark() const { return cbDecimalMark_; }
  QCheckBox* CBHeader() const { return cbHeader_; }
  QTableView* TableLines() const { return table_; }
  // The role list over a column of the table; null past the last column.
  QComboBox* RoleBox(int column) const;
  QLabel* LabelProblem() const { return problem_; }
  QPushButton* BBOk() const { return bbOk_; }

 public slots:
  void CBSeparatorChange();
  void CBDecimalMarkChange();
  void CBHeaderClick();
  void RoleChange();

 private:
  // Reads the file's first lines in the current choice and shows them.
  void Refresh();
  void ShowProblem(const QString& reason);

  QString path_;
  CoordinateSystemKind inputSystem_;
  bool geometricHeight_;
  DelimitedOptions options_;
  bool readable_ = false;  // the lines could be split in the current choice
  QComboBox* cbSeparator_ = nullptr;
  QComboBox* cbDecimalMark_ = nullptr;
  QCheckBox* cbHeader_ = nullptr;
  QTableView* table_ = nullptr;
  QStandardItemModel* lines_ = nullptr;
  std::vector<QComboBox*> roles_;
  QLabel* problem_ = nullptr;
  QPushButton* bbOk_ = nullptr;
};

}  // namespace transref
