#pragma once

#include <QRect>
#include <QtGlobal>

/// Dialog layouts are given in twips (1/1440 inch): 15 twips a pixel at 96 dpi, scaled with the
/// screen's logical dpi.
namespace quarn::subsysmgr {

inline constexpr double kTwipsPerPixelAt96Dpi = 15.0;

inline int TwipsToPixels(int twips, double logicalDpi) {
    return qRound(twips / kTwipsPerPixelAt96Dpi * logicalDpi / 96.0);
}

inline double PixelsToTwips(int pixels, double logicalDpi) {
    return pixels * kTwipsPerPixelAt96Dpi * 96.0 / logicalDpi;
}

/// Left, top, width and height in twips as a rectangle in pixels.
inline QRect TwipsRect(int left, int top, int width, int height, double logicalDpi) {
    return {TwipsToPixels(left, logicalDpi), TwipsToPixels(top, logicalDpi),
            TwipsToPixels(width, logicalDpi), TwipsToPixels(height, logicalDpi)};
}

}  // namespace quarn::subsysmgr
