// The keyboard and the mouse wheel: the instrument's keys and knob on keys
// that no control of the form uses, so the focused control keeps its own
// (arrows and Page Up/Down move a slider, Space clicks a button or ticks a
// box); Ctrl+C copies the LCD picture; tooltips name the keys.
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

void TForm1::CreateShortcuts() {
  const struct {
    QKeySequence keys;
    void (TForm1::*handler)();
  } shortcuts[] = {
      {QKeySequence(Qt::Key_F1), &TForm1::Image3Click},
      {QKeySequence(Qt::Key_F2), &TForm1::Image6Click},
      {QKeySequence(Qt::Key_F3), &TForm1::Image5Click},
      {QKeySequence(Qt::Key_Plus), &TForm1::Button3Click},
      {QKeySequence(Qt::Key_Minus), &TForm1::Button4Click},
      {QKeySequence::Copy, &TForm1::CopyLcdPicture},
  };
  for (const auto& s : shortcuts) {
    auto* shortcut = new QShortcut(s.keys, this);
    connect(shortcut, &QShortcut::activated, this, s.handler);
  }
  // Away from you turns the knob clockwise.
  connect(Image5, &ClickArea::wheelTurned, this,
          [this](bool away) { away ? Button3Click() : Button4Click(); });
}

void TForm1::AddToolTips() {
  Image3->setToolTip(QStringLiteral("F1 key (up arrow) - keyboard: F1"));
  Image6->setToolTip(QStringLiteral("F2 key (down arrow) - keyboard: F2"));
  Image5->setToolTip(QStringLiteral("Knob: click to press, wheel to turn - keyboard: F3"));
  Button3->setToolTip(QStringLiteral("Turn the knob clockwise - keyboard: +"));
  Button4->setToolTip(QStringLiteral("Turn the knob anticlockwise - keyboard: -"));
  Image1->setToolTip(QStringLiteral("The LCD - Ctrl+C copies its picture"));
}

void TForm1::CopyLcdPicture() {
  QApplication::clipboard()->setImage(LcdPicture());
}

}  // namespace kvr9
