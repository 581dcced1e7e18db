#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "frame/main_frame.h"
#include "picture_window/pic_form.h"
#include "result_window/text_form.h"
#include "shell/option_state.h"
#include "shell/recent_pictures.h"
#include "shell/tiling.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace stipplor {

class Dialogs;

// The application's frame: menus, the option state, the status bar StatusBar1 and the MDI area
// holding the picture window and the result window, one of each at most.
class MDIPicForm : public QMainWindow, public MainFrame {
 public:
  explicit MDIPicForm(Dialogs& dialogs, QWidget* parent = nullptr);
  ~MDIPicForm() override;

  // Loads a picture file into the picture window, creating the window when none exists.
  // Reports a file it cannot read itself.
  void LoadPicFile(const QString& FileName);

  const OptionState& Options() const { return options_; }
  PicForm* PictureWindow() const { return picForm_; }
  TextForm* ResultWindow() const { return textForm_; }
  QMdiArea* ClientArea() const { return mdiArea_; }
  QString StatusPanel(int panel) const;

  // MainFrame: what the child windows touch.
  void SetStatusPanel(int panel, const QString& text) override;
  void SetMenuEnabled(MenuItem item, bool enabled) override;
  void SetMenuVisible(MenuItem item, bool visible) override;
  void SetMenuChecked(MenuItem item, bool checked) override;
  bool MenuVisible(MenuItem item) const override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenuBar();
  QAction* Command(QMenu* menu, const char* name, const QString& caption,
                   void (MDIPicForm::*handler)());
  QAction* Choice(QMenu* menu, QActionGroup* group, const char* name, const QString& caption,
                  std::function<void()> store);
  QAction* Toggle(QMenu* menu, const char* name, const QString& caption, bool OptionState::*flag);
  void ReflectOptions();
  // With "Encode on Change" on and a page shown, runs "Encode!" for the changed options or
  // selection.
  void EncodeOnChange();
  void BuildPageWidthMenu(QMenu* mnuOptions);
  void BuildViewMenu();
  void ShowLoadProgress();
  // The page width of this run, after asking about a page too large for browsers; nothing when
  // the user cancels.
  std::optional<int> RunPageWidth();
  QAction* Action(MenuItem item) const;

  void mnuFileOpen_Click();
  void mnuSave_Click();
  void mnuFileExit_Click();
  void mnuEncode_Click();
  void mnuTileHorizontally_Click() { Tile(TileCommand::Horizontally); }
  void mnuTileVertically_Click() { Tile(TileCommand::Vertically); }
  void Tile(TileCommand command);
  void mnuPicture_Click();
  void mnuRuvaDev_Click();
  void SubWindowActivated(QMdiSubWindow* window);
  void ShowResultWindow();
  PicForm& ReachPicForm();
  bool ShowPicture(const std::function<Picture(QByteArray& file)>& read, const QString& caption);
  QString ProposedPage() const;

  void mnuCopyPage_Click();
  void mnuPastePicture_Click();
  void mnuOpenInBrowser_Click();
  void mnuRecent_Click(int index);
  void ReflectClipboard();
  void ReflectRecent();

  Dialogs& dialogs_;
  OptionState options_;
  QMdiArea* mdiArea_;
  std::array<QLabel*, kPanelCount> panels_{};
  QPointer<PicForm> picForm_;
  QPointer<TextForm> textForm_;
  QString pictureFile_;    // the picture file the picture window shows
  QString resultPicture_;  // the picture file of the shown result
  QString saveFolder_;     // where the last save went
  RecentPictures recent_ = LoadRecentPictures();
  // Copies of pages opened in the browser before they were saved; they go with the program.
  std::unique_ptr<QTemporaryDir> browserCopies_;
  int browserCopyCount_ = 0;
  // The result window was shown once, and placed then.
  bool resultPlaced_ = false;
  Region runRegion_;  // the region of the shown result

  QAction* mnuSave = nullptr;
  QAction* mnuOpenInBrowser = nullptr;
  std::array<QAction*, RecentPictures::kCount> mnuRecent{};
  QAction* mnuSepRecent = nullptr;
  QAction* mnuCopyPage = nullptr;
  QAction* mnuPastePicture = nullptr;
  QAction* mnuEncode = nullptr;
  QAction* mnuTileHorizontally = nullptr;
  QAction* mnuTileVertically = nullptr;
  QAction* mnuPicture = nullptr;
  QAction* mnuRuvaDev = nullptr;
  std::array<QAction*, 4> mnuSize{};
  QAction* mnuBW = nullptr;
  QAction* mnuColored = nullptr;
  std::array<QAction*, 4> mnuBWStyle{};  // Plain, Pattern, Dotted, Fractal
  QAction* mnuBWGrey = nullptr;
  QAction* mnuBWColorized = nullptr;
  QAction* mnuBWSmoothTransition = nullptr;
  QAction* mnuColoredLoQu = nullptr;
  QAction* mnuColoredHiQu = nullptr;
  QAction* mnuMinimizeSize = nullptr;
  QAction* mnuPixelFont = nullptr;
  std::array<QAction*, 5> mnuPageWidth{};  // As Picture, then the menu's widths
  QAction* mnuPageWidthFit = nullptr;      // "Fit 100 KB (mail)"
  QAction* mnuEncodeOnChange = nullptr;
};

}  // namespace stipplor
