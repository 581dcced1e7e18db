#pragma once

#include <QString>

#include "engine/options.h"

namespace stipplor {

// The status bar texts of the picture window.

// Panel 1 while the pointer moves with no button and no selection is shown: "(x, y)".
QString PointerText(int x, int y);

// Panel 1 after a selection change: "Selection: (l, t) -> (r, b) = (w x h)" for a shown
// selection, "Selection: all" when there is none.
QString SelectionText(bool shown, const Region& rect);

// Panel 2: "Image: " width " x " height.
QString ImageText(int width, int height);

// The picture window's zoom panel: "Picture 50%", empty at 100 %.
QString ZoomText(double zoom);

}  // namespace stipplor
