#pragma once

#include <QtGlobal>

/// Dialog designs are given in twips (1/1440 inch): 15 twips a pixel at 96 dpi, scaled with the
/// screen's logical dpi.
namespace quarn::subsysmgr {

inline constexpr double kTwipsPerPixelAt96Dpi = 15.0;

inline int TwipsToPixels(int twips, double logicalDpi) {
    return qRound(twips / kTwipsPerPixelAt96Dpi * logicalDpi / 96.0);
}

}  // namespace quarn::subsysmgr
