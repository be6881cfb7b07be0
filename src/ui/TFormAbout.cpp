#include "ui/TFormAbout.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "geodesy/ParameterSets.h"
#include "ui/ScreenPlacement.h"
#include "ui/TFormSetupChoicePages.h"
#include "ui/TFormSetupPage.h"

#ifndef TRANSREF_USER_GUIDE_FILE
#define TRANSREF_USER_GUIDE_FILE "/usr/share/doc/transref/guia-do-usuario.html"
#endif

namespace transref {

namespace {

constexpr const char* kGuideName = "guia-do-usuario.html";
// The guide's place relative to the program's bin/ folder once installed.
constexpr const char* kGuideFromBin = "../share/doc/transref";

}  // namespace

QString UserGuidePath() {
  const QString besideProgram =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("%1/%2").arg(kGuideFromBin, kGuideName));
  if (QFileInfo::exists(besideProgram)) return QFileInfo(besideProgram).canonicalFilePath();
  const QString installed = QString::fromUtf8(TRANSREF_USER_GUIDE_FILE);
#ifdef TRANSREF_SOURCE_GUIDE_FILE
  // A program started from its build tree (not installed yet) shows the
  // guide of the source tree it was built from.
  const QString inSources = QString::fromUtf8(TRANSREF_SOURCE_GUIDE_FILE);
  if (!QFileInfo::exists(installed) && QFileInfo::exists(inSources)) return inSources;
#endif
  return installed;
}

QString UserGuideUrl() { return QUrl::fromLocalFile(UserGuidePath()).toString(); }

QString IntroductionText(const QString& guideUrl) {
  const QString link = guideUrl.toHtmlEscaped();
  return QStringLiteral(
             "<p><br/>Prezado Usuário.<br/></p>"
             "<p>Este programa destina-se exclusivamente à transformação entre os sistemas de coordenadas "
             "adotados pela Organização Brasileira de Referenciais Unificados (OBRU), sistemas estes que "
             "envolvem projeções cartográficas, coordenadas geográficas, coordenadas cartesianas e elipsóides "
             "de referência. A sua utilização pressupõe o conhecimento do assunto; os usuários que não o "
             "possuírem devem buscar a orientação de um especialista, como um engenheiro cartógrafo, um "
             "engenheiro agrimensor ou um geógrafo. Mais informações podem ser encontradas na página "
             "<a href=\"%1\">%1</a>.</p>"
             "<p>As grades NTv2 do IBGE que acompanham o programa (SAD 69, SAD 69/96, Córrego Alegre 1961 e "
             "Córrego Alegre 1970+1972 para SIRGAS 2000) estão sob a licença %2: \"%3\".</p>")
      .arg(link, QString::fromUtf8(kShippedGridLicense.data(), static_cast<int>(kShippedGridLicense.size())),
           QString::fromUtf8(kShippedGridAttribution.data(), static_cast<int>(kShippedGridAttribution.size())));
}

TFormAbout::TFormAbout(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(kMainCaption);
  setFixedSize(kWizardPageWidth, kWizardPageHeight);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::Base, Qt::white);
  setPalette(white);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(32, 24, 32, 12);
  LabelTitle = new QLabel(QStringLiteral("Programa para a Transformação de Coordenadas entre Referenciais Geodésicos"), this);
  LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
  LabelTitle->setAlignment(Qt::AlignCenter);
  LabelTitle->setWordWrap(true);
  QFont title = LabelTitle->font();
  title.setPointSize(title.pointSize() + 6);
  title.setBold(true);
  LabelTitle->setFont(title);
  LabelSubTitle = new QLabel(QStringLiteral("Explicação Sobre o Uso do Programa:"), this);
  LabelSubTitle->setObjectName(QStringLiteral("LabelSubTitle"));
  QFont subTitle = LabelSubTitle->font();
  subTitle.setPointSize(subTitle.pointSize() + 2);
  subTitle.setBold(true);
  LabelSubTitle->setFont(subTitle);

  REExplanation = new QTextBrowser(this);
  REExplanation->setObjectName(QStringLiteral("REExplanation"));
  REExplanation->setFrameShape(QFrame::NoFrame);
  REExplanation->setOpenExternalLinks(true);
  REExplanation->setTabChangesFocus(true);
  REExplanation->setAccessibleName(QStringLiteral("Explicação Sobre o Uso do Programa"));
  QPalette teal = REExplanation->palette();
  teal.setColor(QPalette::Text, QColor(0, 128, 128));
  teal.setColor(QPalette::Base, Qt::white);
  REExplanation->setPalette(teal);
  QFont body = REExplanation->font();
  body.setPointSize(body.pointSize() + 2);
  REExplanation->setFont(body);
  REExplanation->document()->setDefaultStyleSheet(QStringLiteral("p { color: #008080; } a { color: #006060; }"));
  REExplanation->setHtml(IntroductionText(UserGuideUrl()));
  LabelSubTitle->setBuddy(REExplanation);

  root->addWidget(LabelTitle);
  root->addSpacing(16);
  root->addWidget(LabelSubTitle);
  root->addWidget(REExplanation, 1);

  auto* bar = new QHBoxLayout;
  bar->addStretch(1);
  BBClose = new QPushButton(QStringLiteral("&Fechar"), this);
  BBClose->setObjectName(QStringLiteral("BBClose"));
  BBClose->setAccessibleName(QStringLiteral("Fechar"));
  BBForward = new QPushButton(QStringLiteral("Avançar >>"), this);
  BBForward->setObjectName(QStringLiteral("BBForward"));
  BBForward->setToolTip(QStringLiteral("Iniciar o assistente (Enter)"));
  for (QPushButton* button : {BBClose, BBForward}) {
    button->setAutoDefault(false);
    button->setMinimumWidth(120);
    bar->addWidget(button);
    button->installEventFilter(this);
  }
  root->addLayout(bar);
  setTabOrder(REExplanation, BBClose);
  setTabOrder(BBClose, BBForward);

  connect(BBClose, &QPushButton::clicked, this, &TFormAbout::BBCloseClick);
  connect(BBForward, &QPushButton::clicked, this, &TFormAbout::BBForwardClick);
  CentreOnScreen(this);
  KeepInsideScreenWhenShown(this);
}

// The first page is opened with the drawing answer already given and moves
// on at once: the first question the user sees is the input system.
void TFormAbout::BBForwardClick() {
  if (!firstPage_) return;
  firstPage_->SetBackLink(this, nullptr);
  firstPage_->show();
  hide();
  firstPage_->SelectOption(0);
  firstPage_->BBForwardClick();
}

void TFormAbout::BBCloseClick() {
  if (mainForm_) mainForm_->close();
}

void TFormAbout::closeEvent(QCloseEvent* event) {
  event->ignore();
  BBCloseClick();
}

// Enter presses the focused button; anywhere else it starts the wizard.
void TFormAbout::keyPressEvent(QKeyEvent* event) {
  if (IsPlainEnter(event)) {
    BBForward->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsPlainEnter(static_cast<QKeyEvent*>(event))) {
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
      button->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace transref
