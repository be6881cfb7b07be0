#pragma once
// Common frame of the set-up wizard's pages: a fixed 900 x 600 window with the
// program's caption, a question column on the left, the "Resumo:" column on
// the right and a bottom bar with "<< Retornar", "Avançar >>" and "&Fechar".
//
// The summary grows from page to page: the forward step hands the current
// page's lines to the next page, which keeps them as its starting lines and
// rebuilds its own additions below them whenever its answer changes or it is
// shown, so going back and forth never repeats a line.

#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include "ui/UiTexts.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QHBoxLayout;

namespace transref {

class MainWindowLink;
class TFormSetup01;
class TFormSetup02;
class TFormSetup03B;
class TFormSetup04;
class TFormSetup05;
class TFormSetup06;
class TFormSetup07;

// Every page of the wizard, known to each page once all exist (the pages are
// created at different moments of start-up).
struct WizardPages {
  TFormSetup01* page01 = nullptr;
  TFormSetup02* page02 = nullptr;
  TFormSetup03B* page03B = nullptr;
  TFormSetup04* page04 = nullptr;
  TFormSetup05* page05 = nullptr;
  TFormSetup06* page06 = nullptr;
  TFormSetup07* page07 = nullptr;

  // The answers so far, as they bear on later pages. Page 2's answer counts
  // only for a text input and page 5's only for a text output, so a stale
  // answer from an earlier walk never constrains a drawing.
  bool InputIsText() const;
  bool InputIsTwoDimensional() const;
  bool OutputIsText() const;
  bool OutputIsTwoDimensional() const;
};

// The summary's typeface: "Courier New" 10, falling back to any installed
// fixed-pitch face so the columns of the summary stay aligned.
QFont SummaryFont();

// Fixed size of every wizard page and of the introduction window.
inline constexpr int kWizardPageWidth = 900;
inline constexpr int kWizardPageHeight = 600;

// Enter or Return without modifiers.
bool IsPlainEnter(const QKeyEvent* key);

class TFormSetupPage : public QWidget {
  Q_OBJECT

 public:
  TFormSetupPage(const QString& name, MainWindowLink& mainWindow, QWidget* parent = nullptr);

  void SetPages(const WizardPages* pages) { pages_ = pages; }

  // The start window: closing it ends the program.
  void SetMainForm(QWidget* mainForm) { mainForm_ = mainForm; }
  QWidget* MainForm() const { return mainForm_; }

  // The page "<< Retornar" goes back to, and that page's summary control.
  void SetBackLink(QWidget* page, QTextEdit* summary);
  QWidget* BackPage() const { return backPage_; }
  QTextEdit* BackSummary() const { return backSummary_; }

  QTextEdit* Summary() const { return RESummary; }
  QPushButton* ForwardButton() const { return BBForward; }
  QPushButton* BackwardButton() const { return BBBackward; }
  QPushButton* CloseButton() const { return BBClose; }

  // Lines the previous page handed over (the start of this page's summary).
  const QStringList& HandedOverLines() const { return handedOver_; }

  // The window refuses every resize request.
  static bool FormCanResize() { return false; }

 public slots:
  virtual void BBForwardClick() {}
  void BBBackwardClick();
  void BBCloseClick();

 protected:
  // Runs every time the page is shown.
  virtual void FormShow() {}
  // Closing through the frame: one page back (pages 2 to 7); page 1 ends the
  // program instead.
  virtual void FormClose();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Clears the next page's summary, gives it this summary's font and lines,
  // records this page as its back-link, shows it and hides this page.
  void HandOverTo(TFormSetupPage* next);
  // Summary := handed-over lines followed by `additions`.
  void WriteSummary(const QStringList& additions);
  // Page 1 starts a new summary: no handed-over lines, the summary typeface.
  void StartSummary();

  QVBoxLayout* QuestionArea() const { return questionArea_; }
  QHBoxLayout* ButtonBar() const { return buttonBar_; }
  QLabel* AddQuestion(const QString& name, const QString& text);
  void CloseMainForm();
  bool HandleNavigationKey(QObject* target, const QKeyEvent* key);
  // Tab order: the question's controls, the bottom bar, then the summary;
  // the focus starts on the chosen option (or the first control).
  void ArrangeKeyboardOrder();

  MainWindowLink& mainWindow_;
  const WizardPages* pages_ = nullptr;

  QLabel* LabelSummary;
  QTextEdit* RESummary;
  QPushButton* BBBackward;
  QPushButton* BBForward;
  QPushButton* BBClose;

 private:
  QWidget* questionFrame_;
  QVBoxLayout* questionArea_;
  QHBoxLayout* buttonBar_;
  QPointer<QWidget> mainForm_;
  QPointer<QWidget> backPage_;
  QPointer<QTextEdit> backSummary_;
  QStringList handedOver_;
};

}  // namespace transref
