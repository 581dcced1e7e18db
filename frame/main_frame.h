#pragma once

#include <QString>

namespace stipplor {

// The main window's menu items that the child windows switch as they load, activate and close.
enum class MenuItem {
  mnuSave,
  mnuEncode,
  mnuTileHorizontally,
  mnuTileVertically,
  mnuPicture,
  mnuRuvaDev
};

// The panels of StatusBar1. The first two are the pointer or selection and the image size; the
// others stay empty until their window has something to say.
enum StatusPanel : int {
  kPanelPointer = 1,
  kPanelImage = 2,
  kPanelPage = 3,         // the cells and size of the last run's page
  kPanelPictureZoom = 4,  // the picture window's zoom, while it is not 100 %
  kPanelResultZoom = 5,   // the result view's zoom, while it is not 100 %
  kPanelCount = 5
};

// What a child window may touch of the main window: the status panels and the states of the menu
// items above. Child windows never reach the main window's widgets directly.
class MainFrame {
 public:
  virtual ~MainFrame() = default;
  // One of the StatusPanel panels of StatusBar1.
  virtual void SetStatusPanel(int panel, const QString& text) = 0;
  virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;
  virtual void SetMenuVisible(MenuItem item, bool visible) = 0;
  virtual void SetMenuChecked(MenuItem item, bool checked) = 0;
  virtual bool MenuVisible(MenuItem item) const = 0;
};

}  // namespace stipplor
