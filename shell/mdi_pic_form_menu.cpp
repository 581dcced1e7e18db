// The menu bar of the main window and the option commands that keep the option state.

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

#include "picture_window/scroll_layout.h"
#include "shell/mdi_pic_form.h"
#include "shell/page_guard.h"

namespace stipplor {

namespace {

// A menu on the menu bar or a submenu of a menu.
template <typename Parent>
QMenu* Menu(Parent* parent, const char* name, const QString& caption) {
  QMenu* menu = parent->addMenu(caption);
  menu->setObjectName(QString::fromLatin1(name));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  return menu;
}

void Separator(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

QActionGroup* Exclusive(QObject* parent) {
  auto* group = new QActionGroup(parent);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  return group;
}

// The platform's keys for a standard command, or `fallback` where it has none: a bare X server
// has no Save As or Quit keys.
QList<QKeySequence> Keys(QKeySequence::StandardKey key, const QKeySequence& fallback) {
  const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  return keys.isEmpty() ? QList<QKeySequence>{fallback} : keys;
}

}  // namespace

void MDIPicForm::BuildMenuBar() {
  QMenu* mnuFile = Menu(menuBar(), "mnuFile", "&File");
  Command(mnuFile, "mnuFileOpen", "&Open...", &MDIPicForm::mnuFileOpen_Click)
      ->setShortcuts(Keys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
  mnuSave = Command(mnuFile, "mnuSave", "&Save As ...", &MDIPicForm::mnuSave_Click);
  // Saving is always a "Save As": both the Save and the Save As keys reach it.
  mnuSave->setShortcuts(Keys(QKeySequence::Save, Qt::CTRL | Qt::Key_S) +
                        Keys(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  mnuOpenInBrowser =
      Command(mnuFile, "mnuOpenInBrowser", "Open in &Browser", &MDIPicForm::mnuOpenInBrowser_Click);
  Separator(mnuFile, "mnuSep0");
  for (std::size_t i = 0; i < mnuRecent.size(); ++i) {  // "&1 <picture>" ... "&8 <picture>"
    mnuRecent[i] = mnuFile->addAction(QString());
    mnuRecent[i]->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
    connect(mnuRecent[i], &QAction::triggered, this, [this, i] { mnuRecent_Click(int(i)); });
  }
  mnuSepRecent = mnuFile->addSeparator();
  mnuSepRecent->setObjectName(QStringLiteral("mnuSepRecent"));
  Command(mnuFile, "mnuFileExit", "&Exit", &MDIPicForm::mnuFileExit_Click)
      ->setShortcuts(Keys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

  // The view keeps Ctrl+C for a selection of its text.
  QMenu* mnuEdit = Menu(menuBar(), "mnuEdit", "&Edit");
  mnuCopyPage = Command(mnuEdit, "mnuCopyPage", "&Copy Page", &MDIPicForm::mnuCopyPage_Click);
  mnuCopyPage->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
  mnuPastePicture =
      Command(mnuEdit, "mnuPastePicture", "&Paste Picture", &MDIPicForm::mnuPastePicture_Click);
  mnuPastePicture->setShortcuts(Keys(QKeySequence::Paste, Qt::CTRL | Qt::Key_V));

  BuildViewMenu();

  QMenu* mnuOptions = Menu(menuBar(), "mnuOptions", "&Options");
  QActionGroup* sizes = Exclusive(this);
  mnuSize[0] =
      Choice(mnuOptions, sizes, "mnuSize1", "1:2 ( &Large )", [this] { options_.Ratio = 1; });
  mnuSize[1] =
      Choice(mnuOptions, sizes, "mnuSize2", "1:1 ( &Normal )", [this] { options_.Ratio = 2; });
  mnuSize[2] =
      Choice(mnuOptions, sizes, "mnuSize3", "3:2 ( &Small )", [this] { options_.Ratio = 3; });
  mnuSize[3] =
      Choice(mnuOptions, sizes, "mnuSize4", "2:1 ( &Tiny )", [this] { options_.Ratio = 4; });
  Separator(mnuOptions, "mnuSep1");
  QActionGroup* family = Exclusive(this);
  mnuBW = Choice(mnuOptions, family, "mnuBW", "&B&&W", [this] { options_.BW = true; });
  mnuColored =
      Choice(mnuOptions, family, "mnuColored", "&Colored", [this] { options_.BW = false; });
  Separator(mnuOptions, "mnuSep2");

  QMenu* mnuBWOptions = Menu(mnuOptions, "mnuBWOptions", "&B&&W Options");
  QActionGroup* styles = Exclusive(this);
  mnuBWStyle[0] =
      Choice(mnuBWOptions, styles, "mnuBWPlain", "&Plain", [this] { options_.BWEncoding = 0; });
  mnuBWStyle[1] =
      Choice(mnuBWOptions, styles, "mnuBWPattern", "&Pattern", [this] { options_.BWEncoding = 1; });
  mnuBWStyle[2] =
      Choice(mnuBWOptions, styles, "mnuBWDotted", "&Dotted", [this] { options_.BWEncoding = 2; });
  mnuBWStyle[3] =
      Choice(mnuBWOptions, styles, "mnuBWFractal", "&Fractal", [this] { options_.BWEncoding = 3; });
  Separator(mnuBWOptions, "mnuSep3");
  QActionGroup* ink = Exclusive(this);
  mnuBWGrey =
      Choice(mnuBWOptions, ink, "mnuBWGrey", "&Grey", [this] { options_.Colorized = false; });
  mnuBWColorized = Choice(mnuBWOptions, ink, "mnuBWColorized", "&Colorized",
                          [this] { options_.Colorized = true; });
  Separator(mnuBWOptions, "mnuSep4");
  mnuBWSmoothTransition = Toggle(mnuBWOptions, "mnuBWSmoothTransition", "Smooth Transition",
                                 &OptionState::BWSmoothTransition);

  QMenu* mnuColoredOptions = Menu(mnuOptions, "mnuColoredOptions", "&Colored Options");
  QActionGroup* quality = Exclusive(this);
  mnuColoredLoQu = Choice(mnuColoredOptions, quality, "mnuColoredLoQu", "&Lower Quality",
                          [this] { options_.HighQuality = false; });
  mnuColoredHiQu = Choice(mnuColoredOptions, quality, "mnuColoredHiQu", "&Higher Quality",
                          [this] { options_.HighQuality = true; });
  Separator(mnuOptions, "mnuSep5");
  mnuMinimizeSize =
      Toggle(mnuOptions, "mnuMinimizeSize", "&Minimize Size", &OptionState::MinimizeSize);
  mnuPixelFont = Toggle(mnuOptions, "mnuPixelFont", "Pixel Font", &OptionState::PixelFont);
  BuildPageWidthMenu(mnuOptions);
  Separator(mnuOptions, "mnuSep8");
  mnuEncodeOnChange = mnuOptions->addAction(QStringLiteral("Encode on Change"));
  mnuEncodeOnChange->setObjectName(QStringLiteral("mnuEncodeOnChange"));
  mnuEncodeOnChange->setCheckable(true);

  // "Encode!" is a command on the menu bar itself.
  mnuEncode = menuBar()->addAction(QStringLiteral("Encode!"));
  mnuEncode->setObjectName(QStringLiteral("mnuEncode"));
  mnuEncode->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::Key_F5)});
  connect(mnuEncode, &QAction::triggered, this, &MDIPicForm::mnuEncode_Click);

  QMenu* mnuWindow = Menu(menuBar(), "mnuWindow", "&Window");
  mnuTileHorizontally = Command(mnuWindow, "mnuTileHorizontally", "Tile &Horizontally",
                                &MDIPicForm::mnuTileHorizontally_Click);
  mnuTileVertically = Command(mnuWindow, "mnuTileVertically", "Tile &Vertically",
                              &MDIPicForm::mnuTileVertically_Click);
  Separator(mnuWindow, "mnuSep6");
  mnuPicture = Command(mnuWindow, "mnuPicture", "&Picture", &MDIPicForm::mnuPicture_Click);
  mnuRuvaDev = Command(mnuWindow, "mnuRuvaDev", "&RuvaDev", &MDIPicForm::mnuRuvaDev_Click);

  // States at start; the option marks follow from the option state.
  mnuSave->setEnabled(false);
  mnuEncode->setEnabled(false);
  mnuTileHorizontally->setEnabled(false);
  mnuTileVertically->setEnabled(false);
  for (QAction* entry : {mnuPicture, mnuRuvaDev}) {
    entry->setCheckable(true);
    entry->setVisible(false);
  }
  // The shown page goes out by Save As, Copy Page and Open in Browser alike.
  for (QAction* item : {mnuCopyPage, mnuOpenInBrowser}) {
    item->setEnabled(false);
    connect(mnuSave, &QAction::enabledChanged, item, &QAction::setEnabled);
  }
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &MDIPicForm::ReflectClipboard);
  ReflectClipboard();
  ReflectRecent();
  ReflectOptions();
}

QAction* MDIPicForm::Command(QMenu* menu, const char* name, const QString& caption,
                             void (MDIPicForm::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, handler);
  return action;
}

QAction* MDIPicForm::Choice(QMenu* menu, QActionGroup* group, const char* name,
                            const QString& caption, std::function<void()> store) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(true);
  group->addAction(action);
  connect(action, &QAction::triggered, this, [this, store = std::move(store)] {
    store();
    ReflectOptions();
    EncodeOnChange();
  });
  return action;
}

QAction* MDIPicForm::Toggle(QMenu* menu, const char* name, const QString& caption,
                            bool OptionState::*flag) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(true);
  // Triggering inverts the mark; the new mark is the flag.
  connect(action, &QAction::triggered, this, [this, flag](bool checked) {
    options_.*flag = checked;
    ReflectOptions();
    EncodeOnChange();
  });
  return action;
}

// The check marks always show the option state.
void MDIPicForm::ReflectOptions() {
  mnuSize.at(static_cast<std::size_t>(options_.Ratio - 1))->setChecked(true);
  (options_.BW ? mnuBW : mnuColored)->setChecked(true);
  mnuBWStyle.at(static_cast<std::size_t>(options_.BWEncoding))->setChecked(true);
  (options_.Colorized ? mnuBWColorized : mnuBWGrey)->setChecked(true);
  mnuBWSmoothTransition->setChecked(options_.BWSmoothTransition);
  (options_.HighQuality ? mnuColoredHiQu : mnuColoredLoQu)->setChecked(true);
  mnuMinimizeSize->setChecked(options_.MinimizeSize);
  mnuPixelFont->setChecked(options_.PixelFont);
  if (options_.MaxBytes != 0) {
    mnuPageWidthFit->setChecked(true);
  } else {
    for (QAction* item : mnuPageWidth) {
      item->setChecked(item->data().toInt() == options_.PageWidth);
    }
  }
}

// Options beyond the seven: "Page Width", radio-style like the sizes.
void MDIPicForm::BuildPageWidthMenu(QMenu* mnuOptions) {
  Separator(mnuOptions, "mnuSep7");
  QMenu* menu = Menu(mnuOptions, "mnuPageWidth", "Page &Width");
  QActionGroup* widths = Exclusive(this);
  const auto width = [this](int pageWidth) {
    return [this, pageWidth] {
      options_.PageWidth = pageWidth;
      options_.MaxBytes = 0;
    };
  };
  mnuPageWidth[0] = Choice(menu, widths, "mnuPageWidthPicture", "&As Picture", width(0));
  mnuPageWidth[0]->setData(0);
  for (std::size_t i = 0; i < kMenuPageWidths.size(); ++i) {
    const int pageWidth = kMenuPageWidths[i];
    const QByteArray name = "mnuPageWidth" + QByteArray::number(pageWidth);
    mnuPageWidth[i + 1] =
        Choice(menu, widths, name.constData(), QString::number(pageWidth), width(pageWidth));
    mnuPageWidth[i + 1]->setData(pageWidth);
  }
  // The widest page a mail takes whole.
  mnuPageWidthFit = Choice(menu, widths, "mnuPageWidthFit", "Fit 100 KB (mail)", [this] {
    options_.PageWidth = 0;
    options_.MaxBytes = kMailPageBytes;
  });
}

// Beyond the menus above: the picture window's zoom. The items act on the picture window shown,
// and their marks follow its zoom, which Ctrl+wheel changes too.
void MDIPicForm::BuildViewMenu() {
  QMenu* mnuView = Menu(menuBar(), "mnuView", "&View");
  QActionGroup* zooms = Exclusive(this);
  const std::pair<const char*, double> items[] = {
      {"&Fit to Window", kFitToWindow}, {"&25%", 0.25}, {"&50%", 0.5}, {"&100%", 1}, {"200%", 2}};
  for (const auto& choice : items) {
    const double zoom = choice.second;
    QAction* item = mnuView->addAction(QString::fromLatin1(choice.first));
    item->setObjectName(zoom == kFitToWindow ? QStringLiteral("mnuZoomFit")
                                             : QStringLiteral("mnuZoom%1").arg(zoom * 100));
    item->setCheckable(true);
    item->setData(zoom);
    zooms->addAction(item);
    connect(item, &QAction::triggered, this, [this, zoom] {
      if (picForm_ != nullptr) picForm_->SetZoom(zoom);
    });
  }
  connect(mnuView, &QMenu::aboutToShow, this, [this, zooms] {
    // A new picture window opens at 100 %.
    const double zoom = picForm_ != nullptr ? picForm_->ZoomChoice() : 1;
    for (QAction* item : zooms->actions()) {
      item->setEnabled(picForm_ != nullptr);
      item->setChecked(item->data().toDouble() == zoom);
    }
  });
}

}  // namespace stipplor
