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

// What a child window may touch of the main window: the two status panels and the states of
// the menu items above. Child windows never reach the main window's widgets directly.
class MainFrame {
 public:
  virtual ~MainFrame() = default;
  // Panel 1 or 2 of StatusBar1.
  virtual void SetStatusPanel(int panel, const QString& text) = 0;
  virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;
  virtual void SetMenuVisible(MenuItem item, bool visible) = 0;
  virtual void SetMenuChecked(MenuItem item, bool checked) = 0;
  virtual bool MenuVisible(MenuItem item) const = 0;
};

}  // namespace stipplor
