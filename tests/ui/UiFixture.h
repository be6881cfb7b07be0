#pragma once
// The desktop windows wired as the program wires them, with scripted dialogs,
// and helpers that act on the controls the way a user does.

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <memory>

#include "ui/ScriptedUserDialogs.h"
#include "ui/TFormDXFAltimetry.h"
#include "ui/TFormDXFTransform.h"
#include "ui/TFormProcessBar1.h"

namespace transref::testing {

struct Ui {
  ScriptedUserDialogs dialogs;
  TFormDXFAltimetry altimetry{dialogs};
  TFormProcessBar1 progress;
  TFormDXFTransform window{dialogs, altimetry, progress};
  int closeRequests = 0;

  Ui() { window.SetCloseApplicationHandler([this] { ++closeRequests; }); }
  const TFormDXFTransform::SideControls& In() const { return window.Controls(Side::In); }
  const TFormDXFTransform::SideControls& Out() const { return window.Controls(Side::Out); }
};

inline std::unique_ptr<Ui> MakeUi() { return std::make_unique<Ui>(); }

inline QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int k = 0; k < combo->count(); ++k) items.append(combo->itemText(k));
  return items;
}

// Picks an entry of a drop-down list as the user does (the list reports the
// choice even when the entry was already selected).
inline bool Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  if (index < 0) return false;
  combo->setCurrentIndex(index);
  emit combo->activated(index);
  return true;
}

inline bool ChooseIndex(QComboBox* combo, int index) {
  if (index < 0 || index >= combo->count()) return false;
  combo->setCurrentIndex(index);
  emit combo->activated(index);
  return true;
}

// Replaces the text of an edit by typing.
inline void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  edit->clear();
  QTest::keyClicks(edit, text);
}

inline QColor TextColour(const QWidget* widget) { return widget->palette().color(QPalette::Text); }

// The grey of a value the system locks (false origins of the fixed systems).
inline QColor Grey(const QWidget* widget) { return LockedTextColour(widget->window()); }

// A number text with the point, as the user's regional settings write it:
// the transformation parameters and the altimetry fields use them.
inline QString UserNotation(QString pointText) {
  return pointText.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

}  // namespace transref::testing
