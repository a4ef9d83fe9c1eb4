#include "DesignerIcons.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <map>
#include <string>

namespace quarn::designer {
namespace {

using Action = DesignerIcons::Action;

// The most saturated colour of the picture's visible pixels: 0 for a grey picture.
double MostSaturated(const QImage& picture) {
    double most = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel.alpha() > 128) {
                most = std::max(most, static_cast<double>(pixel.hsvSaturationF()));
            }
        }
    }
    return most;
}

// Each action has an icon of its own, drawn in colour: a grey one would look disabled beside
// Qt's own disabled look.
TEST(DesignerIcons, EachActionHasAnIconOfItsOwnThatLooksEnabled) {
    std::map<Action, QImage> pictures;
    for (int each = 0; each <= static_cast<int>(Action::About); ++each) {  // About comes last
        const auto action = static_cast<Action>(each);
        const QIcon icon = DesignerIcons::For(action);
        const QImage picture = icon.pixmap(QSize(16, 16), 1.0).toImage();
        SCOPED_TRACE(each);
        EXPECT_GT(MostSaturated(picture), 0.3);
        for (const auto& [other, seen] : pictures) {
            EXPECT_NE(picture, seen) << "the same as " << static_cast<int>(other);
        }
        pictures.emplace(action, picture);
    }
}

}  // namespace
}  // namespace quarn::designer
