#pragma once

#include <QPalette>

namespace quarn::designer {

/// A dark desktop's colours as it sets them: the backgrounds of windows, views and buttons dark,
/// the texts on them (and on tooltips) light; Qt derives or keeps the rest (shades, alternate
/// rows, selection, placeholder, the tooltips' background). For pictures and the contrast test:
/// the designer itself always takes the desktop's palette.
QPalette DarkDesktopPalette();

}  // namespace quarn::designer
