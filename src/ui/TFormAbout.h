#pragma once
// The introduction window: what the program is for and who should use it,
// with a link to the user guide. "Avançar >>" starts the wizard; "&Fechar"
// and the frame end the program.

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace transref {

class TFormSetup01;

// Location of the user guide: beside the installed program
// (<prefix>/share/doc/transref/guia-do-usuario.html), else where the build
// was configured to install it.
QString UserGuidePath();
QString UserGuideUrl();
// The introduction text (HTML) for a given guide address.
QString IntroductionText(const QString& guideUrl);

class TFormAbout final : public QWidget {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  void SetMainForm(QWidget* mainForm) { mainForm_ = mainForm; }
  void SetFirstPage(TFormSetup01* page) { firstPage_ = page; }

  QTextBrowser* Explanation() const { return REExplanation; }
  QPushButton* ForwardButton() const { return BBForward; }
  QPushButton* CloseButton() const { return BBClose; }

  static bool FormCanResize() { return false; }

 public slots:
  void BBForwardClick();
  void BBCloseClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* LabelTitle;
  QLabel* LabelSubTitle;
  QTextBrowser* REExplanation;
  QPushButton* BBClose;
  QPushButton* BBForward;
  QPointer<QWidget> mainForm_;
  TFormSetup01* firstPage_ = nullptr;
};

}  // namespace transref
