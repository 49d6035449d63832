// The lessons panel: a strip to the right of the form listing the built-in
// lessons and those opened from files with their progress, the step to do
// now, its hint, and "Done" when a step's check holds; the control the hint
// names is framed on the form. The lessons themselves are the host
// library's: read with its reader, followed by the rig, which says what the
// panel shows.
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <string_view>

#include "host/lessons/lesson_run.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"
#include "panel/window_language.h"

// The built-in lessons are compiled into the panel library, which is
// static: their resources have to be registered by hand.
static void RegisterLessonResources() {
  Q_INIT_RESOURCE(lessons);
}

namespace kvr9 {

namespace {

// As close round a control as the ring can go: the keys are 3 dots from
// the buttons below the knob.
constexpr int kMarkMargin = 2;

void SetText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

QLabel* WrappedLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

// The form's controls a step's control stands for: the knob is pressed on
// the picture and turned with the two buttons under it.
QStringList ControlNames(PanelControl control) {
  QStringList names;
  for (const char* name : ControlWords()[static_cast<std::size_t>(control)].formControls) {
    if (name != nullptr) names << QString::fromLatin1(name);
  }
  return names;
}

// A lesson as the list shows it: a tick when finished, the steps
// done so far while under way.
QString ListText(const Lesson& lesson, std::size_t best) {
  const QString title = QString::fromStdString(lesson.title);
  if (best >= lesson.steps.size()) return QStringLiteral("\u2713 ") + title;
  if (best == 0) return title;
  return QStringLiteral("%1/%2 %3").arg(best).arg(lesson.steps.size()).arg(title);
}

// The rig's lines for the lessons panel, in the window's language: the
// same counts, in the words the translations give them. The host's own
// English lines go to the driver and the agents.
struct LessonLines {
  QString title;
  QString stepLine;
  QString doneLine;
  QString hint;
  QString off;
};

LessonLines InWindowWords(const LessonPanelText& text) {
  const auto word = [](const char* english) {
    return QCoreApplication::translate("Window", english);
  };
  LessonLines lines;
  if (!text.following) {
    lines.title = word(QT_TRANSLATE_NOOP("Window", "Choose a lesson"));
    return lines;
  }
  lines.title = QString::fromStdString(text.title);
  const bool done = !text.control;
  lines.stepLine =
      done
          ? word(QT_TRANSLATE_NOOP("Window", "All %1 steps done")).arg(text.steps)
          : word(QT_TRANSLATE_NOOP("Window", "Step %1 of %2")).arg(text.passed + 1).arg(text.steps);
  if (text.passed > 0) {
    lines.doneLine = done ? word(QT_TRANSLATE_NOOP("Window", "Done: the lesson is finished."))
                          : word(QT_TRANSLATE_NOOP("Window", "Done: step %1 of %2."))
                                .arg(text.passed)
                                .arg(text.steps);
  }
  // The rig's hint line is "Hint: " and the lesson's own words.
  constexpr std::string_view kHint = "Hint: ";
  const std::string_view hint = text.hint;
  if (!hint.empty()) {
    lines.hint = word(QT_TRANSLATE_NOOP("Window", "Hint: %1"))
                     .arg(QString::fromStdString(
                         std::string(hint.starts_with(kHint) ? hint.substr(kHint.size()) : hint)));
  }
  static_assert(std::string_view(kLessonOffWords) ==
                "The instrument is off, so the red LED means nothing now (it is lit before the "
                "first ON).");
  if (text.offWords != nullptr) {
    lines.off = word(QT_TRANSLATE_NOOP("Window",
                                       "The instrument is off, so the red LED means nothing now "
                                       "(it is lit before the first ON)."));
  }
  return lines;
}

}  // namespace

void TForm1::CreateLessonPanel() {
  RegisterLessonResources();
  // Every built-in lesson is read here once; the reader checks each whole.
  // One that does not read is left out of the list, which says why.
  QStringList refused;
  const QStringList names = QDir(QStringLiteral(":/lessons")).entryList(QDir::Files, QDir::Name);

  // Each in the window's language where it has a translation there, kept
  // under the English lesson's name (its progress and its solution's).
  const QString translated = QStringLiteral(":/lessons/%1/").arg(ShownLanguage());
  for (const QString& name : names) {
    QFile file(QFile::exists(translated + name) ? translated + name
                                                : QStringLiteral(":/lessons/") + name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(kLargestLessonBytes)) {
      refused << name;
      continue;
    }
    const QByteArray text = file.readAll();
    LessonReadResult read =
        ParseLesson(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                    name.toStdString(), std::filesystem::path());
    if (!read.ok) {
      refused << QString::fromStdString(read.error);
      continue;
    }
    listedLessons_.push_back({std::move(read.lesson), 0, {}, name});
  }

  LessonPanel = new QFrame(this);
  LessonPanel->setObjectName(QStringLiteral("LessonPanel"));
  LessonPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  LessonPanel->setAccessibleName(QCoreApplication::translate("Window", "Lessons"));
  LessonPanel->hide();

  LessonList = new QListWidget(LessonPanel);
  LessonList->setObjectName(QStringLiteral("LessonList"));
  LessonList->setAccessibleName(QCoreApplication::translate("Window", "Lessons"));
  LessonList->setToolTip(QCoreApplication::translate("Window", "Click a lesson to start it"));
  for (const ListedLesson& listed : listedLessons_) {
    LessonList->addItem(ListText(listed.lesson, 0));
  }
  LessonList->setFixedHeight(150);
  LessonOpen =
      new QPushButton(QCoreApplication::translate("Window", "Open lesson file..."), LessonPanel);
  LessonOpen->setAutoDefault(false);
  LessonOpen->setToolTip(
      QCoreApplication::translate("Window", "Follow a lesson of your own, from a .lesson file"));
  LessonRemove = new QPushButton(QCoreApplication::translate("Window", "Remove"), LessonPanel);
  LessonRemove->setAutoDefault(false);
  LessonRemove->setEnabled(false);
  LessonRemove->setToolTip(
      QCoreApplication::translate("Window", "Take the chosen lesson of your own off the list"));

  LessonTitle = WrappedLabel(LessonPanel);
  QFont bold = LessonTitle->font();
  bold.setBold(true);
  LessonTitle->setFont(bold);
  LessonStepNo = WrappedLabel(LessonPanel);
  LessonWords = WrappedLabel(LessonPanel);
  LessonWords->setObjectName(QStringLiteral("LessonWords"));
  LessonHint = WrappedLabel(LessonPanel);
  LessonHint->setObjectName(QStringLiteral("LessonHint"));
  LessonHint->hide();
  LessonOff = WrappedLabel(LessonPanel);
  LessonOff->setObjectName(QStringLiteral("LessonOff"));
  LessonOff->hide();
  LessonDone = WrappedLabel(LessonPanel);
  LessonDone->setObjectName(QStringLiteral("LessonDone"));
  LessonDone->setFont(bold);
  if (!refused.isEmpty()) {
    LessonDone->setText(QCoreApplication::translate("Window", "Not readable: ") +
                        refused.join(QStringLiteral(", ")));
  }

  LessonHintButton = new QPushButton(QCoreApplication::translate("Window", "Hint"), LessonPanel);
  LessonHintButton->setAutoDefault(false);
  LessonHintButton->setEnabled(false);
  LessonClose = new QPushButton(QCoreApplication::translate("Window", "Close"), LessonPanel);
  LessonClose->setAutoDefault(false);
  LessonClose->setToolTip(QCoreApplication::translate(
      "Window", "Close the lessons; the instrument goes back to how it was before them"));
  LessonCopyWay =
      new QPushButton(QCoreApplication::translate("Window", "Copy solution"), LessonPanel);
  LessonCopyWay->setAutoDefault(false);
  LessonCopyWay->setEnabled(false);
  LessonCopyWay->setToolTip(
      QCoreApplication::translate("Window",
                                  "Copy the way you took through this lesson as a scenario for "
                                  "kvr9-headless: its solution, to hand over with the lesson"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LessonHintButton);
  buttons->addWidget(LessonCopyWay);
  buttons->addStretch(1);
  buttons->addWidget(LessonClose);

  auto* rows = new QVBoxLayout(LessonPanel);
  rows->setContentsMargins(8, 6, 8, 6);
  rows->setSpacing(4);
  rows->addWidget(LessonList);
  auto* fileButtons = new QHBoxLayout;
  fileButtons->addWidget(LessonOpen, 1);
  fileButtons->addWidget(LessonRemove);
  rows->addLayout(fileButtons);
  rows->addWidget(LessonTitle);
  rows->addWidget(LessonStepNo);
  rows->addWidget(LessonWords);
  rows->addWidget(LessonOff);
  rows->addWidget(LessonHint);
  rows->addWidget(LessonDone);
  rows->addStretch(1);
  rows->addLayout(buttons);

  // One ring for each control a step may name at most: the knob and the
  // two buttons that turn it.
  for (int i = 0; i < 3; ++i) {
    auto* mark = new QFrame(this);
    mark->setObjectName(QStringLiteral("LessonMark"));
    mark->setStyleSheet(QStringLiteral("#LessonMark { border: 3px solid #ff8c00; }"));
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->hide();
    LessonMarks << mark;
  }

  connect(LessonList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { StartListedLesson(LessonList->row(item)); });
  // Only a lesson opened from a file leaves the list.
  connect(LessonList, &QListWidget::currentRowChanged, this, [this](int row) {
    LessonRemove->setEnabled(row >= 0 && static_cast<std::size_t>(row) < listedLessons_.size() &&
                             !listedLessons_[static_cast<std::size_t>(row)].file.isEmpty());
  });
  connect(LessonOpen, &QPushButton::clicked, this, &TForm1::ChooseLessonFile);
  connect(LessonRemove, &QPushButton::clicked, this, &TForm1::RemoveListedLesson);
  connect(LessonHintButton, &QPushButton::clicked, this, &TForm1::ShowLessonHint);
  connect(LessonCopyWay, &QPushButton::clicked, this, &TForm1::CopyLessonWay);
  connect(LessonClose, &QPushButton::clicked, this, &TForm1::CloseLessons);
}

// The window grows to the right of the form by the panel's width, and
// down by the flight bar's height; the form and the flight bar keep their
// places. A window that grew past its screen's edge moves back onto it.
void TForm1::FitWindow() {
  const bool bar = FlightBar != nullptr && !FlightBar->isHidden();
  const bool lessons = LessonPanel != nullptr && !LessonPanel->isHidden();
  const int height = kFormHeight + (bar ? kFlightBarHeight : 0);
  if (lessons) LessonPanel->setGeometry(kFormWidth, 0, kLessonPanelWidth, height);
  setFixedSize(kFormWidth + (lessons ? kLessonPanelWidth : 0), height);
  KeepOnScreen();
}

void TForm1::KeepOnScreen() {
  const QScreen* shown = screen();
  if (!isVisible() || shown == nullptr) return;
  const QRect room = shown->availableGeometry();
  // The frame is the window's size plus its decorations, as last placed.
  const QRect frame = frameGeometry();
  const QSize decorations = frame.size() - geometry().size();
  const QSize whole = size() + decorations;
  const int left = std::max(room.left(), std::min(frame.left(), room.right() + 1 - whole.width()));
  const int top = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - whole.height()));
  if (left != frame.left() || top != frame.top()) move(left, top);
}

void TForm1::ShowLessons() {
  if (IsStandMode()) EndStandMode();
  if (LessonPanel == nullptr) CreateLessonPanel();
  LessonPanel->show();
  FitWindow();
  UpdateLessonPanel();
}

// The lesson followed ends; its progress stays in the list, and the rig
// gives the instrument back as the first lesson found it, with its record.
void TForm1::CloseLessons() {
  followedListed_ = -1;
  if (rig().CloseLessons()) {
    openedState_ = openedStateBeforeLessons_;
    openedStateInLesson_ = false;
    StatusBar1->showMessage(QCoreApplication::translate(
        "Window", "The instrument is back as it was before the lessons"));
  }
  if (LessonPanel == nullptr) return;
  LessonPanel->hide();
  MarkControl(std::nullopt);
  FitWindow();
}

void TForm1::StartListedLesson(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= listedLessons_.size()) return;
  FollowLesson(listedLessons_[static_cast<std::size_t>(row)].lesson, row);
}

// Read with the host's reader, snapshot and all, before anything changes.
bool TForm1::OpenLessonFile(const QString& path) {
  const QFileInfo info(path);
  LessonReadResult read =
      ReadLessonFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
  if (!read.ok) {
    ShowLessonRefusal(QString::fromStdString(LessonRefusal(read, info.fileName().toStdString())));
    return false;
  }
  ShowLessons();
  const QString file = info.absoluteFilePath();
  const auto listed = std::find_if(listedLessons_.begin(), listedLessons_.end(),
                                   [&](const ListedLesson& l) { return l.file == file; });
  const auto row = static_cast<int>(listed - listedLessons_.begin());
  if (listed == listedLessons_.end()) {
    listedLessons_.push_back({std::move(read.lesson), 0, file, {}});
    LessonList->addItem(ListText(listedLessons_.back().lesson, 0));
  } else {
    *listed = {std::move(read.lesson), 0, file, {}};
  }
  QListWidgetItem* item = LessonList->item(row);
  item->setText(ListText(listedLessons_[static_cast<std::size_t>(row)].lesson, 0));
  item->setToolTip(file);
  FollowLesson(listedLessons_[static_cast<std::size_t>(row)].lesson, row);
  return true;
}

// As the window's other refusals go without a loop of their own: the
// instrument keeps running behind the box.
void TForm1::ShowLessonRefusal(const QString& sentence) {
  auto* box =
      new QMessageBox(QMessageBox::Warning, QCoreApplication::translate("Window", "Open lesson"),
                      sentence, QMessageBox::Ok, this);
  box->setObjectName(QStringLiteral("LessonRefused"));
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void TForm1::RemoveListedLesson() {
  const int row = LessonList == nullptr ? -1 : LessonList->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= listedLessons_.size() ||
      listedLessons_[static_cast<std::size_t>(row)].file.isEmpty()) {
    return;
  }
  listedLessons_.erase(listedLessons_.begin() + row);
  delete LessonList->takeItem(row);
  if (followedListed_ == row) {
    followedListed_ = -1;
  } else if (followedListed_ > row) {
    --followedListed_;
  }
}

// As flight logs are chosen: a dialog without a loop of its own, whose
// remembered folders go nowhere.
void TForm1::ChooseLessonFile() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  auto* dialog =
      new QFileDialog(this, QCoreApplication::translate("Window", "Open lesson file"), QString(),
                      QCoreApplication::translate("Window", "Lessons (*.lesson);;All files (*)"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::OpenLessonFile);
  dialog->open();
}

// The rig starts it where it begins. The record starts over at a
// snapshot it sets (its own, or the defaults switched off when the first
// step is "ON"), and the scenario copied says so.
void TForm1::FollowLesson(const Lesson& lesson, int row) {
  if (!rig().InLessons()) openedStateBeforeLessons_ = openedState_;
  rig().FollowLesson(lesson);
  openedStateInLesson_ = false;
  if (lesson.start == LessonStart::Snapshot && lesson.snapshotInline) {
    openedState_ = row >= 0 ? listedLessons_[static_cast<std::size_t>(row)].file : QString();
    openedStateInLesson_ = !openedState_.isEmpty();
  } else if (lesson.start == LessonStart::Snapshot) {
    openedState_ = QFile::decodeName(lesson.snapshotFile.string().c_str());
  } else if (StartsSwitchedOff(lesson)) {
    openedState_.clear();
  }
  followedListed_ = row;
  shownPassed_ = 0;
  LessonDone->clear();
  UpdateLessonPanel();
}

void TForm1::ShowLessonHint() {
  rig().AskForHint();
}

// The lesson is named as a solution beside it names it: a built-in one by
// its file name, one opened from a file by its path.
void TForm1::CopyLessonWay() {
  const LessonRun* run = rig().FollowedLesson();
  if (run == nullptr || followedListed_ < 0) return;
  const auto row = static_cast<std::size_t>(followedListed_);
  const QString file =
      listedLessons_[row].file.isEmpty() ? listedLessons_[row].name : listedLessons_[row].file;
  QApplication::clipboard()->setText(
      QString::fromStdString(run->WayAsScenario(QFile::encodeName(file).toStdString())));
}

// After each pass, and on the window's timer while the instrument is off
// (there are no passes then to look at it), in the rig's words.
void TForm1::UpdateLessonPanel() {
  if (LessonPanel == nullptr || LessonPanel->isHidden()) return;
  const LessonPanelText text = rig().LessonPanel();
  const LessonLines lines = InWindowWords(text);
  SetText(LessonTitle, lines.title);
  SetText(LessonStepNo, lines.stepLine);
  SetText(LessonWords, QString::fromStdString(text.words));
  if (text.offWords != nullptr) SetText(LessonOff, lines.off);
  LessonOff->setVisible(text.offWords != nullptr);
  if (text.following && text.passed != shownPassed_) {
    shownPassed_ = text.passed;
    SetText(LessonDone, lines.doneLine);
    if (followedListed_ >= 0) {
      ListedLesson& listed = listedLessons_[static_cast<std::size_t>(followedListed_)];
      if (text.passed > listed.best) {
        listed.best = text.passed;
        LessonList->item(followedListed_)->setText(ListText(listed.lesson, text.passed));
      }
    }
  }
  // Without a step to do there is no hint.
  if (text.hint.empty()) {
    LessonHint->hide();
    LessonHintButton->setEnabled(false);
  } else {
    SetText(LessonHint, lines.hint);
    LessonHint->setVisible(text.hintShown);
    LessonHintButton->setEnabled(!text.hintShown);
  }
  LessonCopyWay->setEnabled(text.following && followedListed_ >= 0);
  MarkControl(text.control);
}

// A ring goes round each control the step names, on top of the form, and
// lets clicks through to them; it stays clear of the keys beside the knob.
void TForm1::MarkControl(std::optional<PanelControl> control) {
  const QStringList names = control ? ControlNames(*control) : QStringList();
  for (qsizetype i = 0; i < LessonMarks.size(); ++i) {
    QFrame* mark = LessonMarks[i];
    const auto* widget = i < names.size() ? findChild<QWidget*>(names[i]) : nullptr;
    if (widget == nullptr) {
      mark->hide();
      continue;
    }
    QRect around(widget->mapTo(this, QPoint(0, 0)), widget->size());
    around.adjust(-kMarkMargin, -kMarkMargin, kMarkMargin, kMarkMargin);
    if (mark->geometry() != around) mark->setGeometry(around);
    if (mark->isHidden()) {
      mark->show();
      mark->raise();
    }
  }
}

}  // namespace kvr9
