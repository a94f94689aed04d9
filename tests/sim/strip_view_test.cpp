#include "board_model.h"
#include "strip_view.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace stripmixer {
namespace {

// The colour drawn for LED `index`, read from the body away from its highlight.
QColor drawnLed(const StripView &view, const QImage &image, int index)
{
    const double offset = view.ledRadius() * 0.35;
    const QPointF at = view.ledCentre(index) + QPointF(offset, offset);
    return image.pixelColor(at.toPoint());
}

QImage render(StripView &view)
{
    view.resize(view.sizeHint());
    QImage image(view.size(), QImage::Format_RGB32);
    view.render(&image);
    return image;
}

TEST(StripView, DrawsEachLedInItsColourAtTheBoardsBrightness)
{
    BoardModel board;
    // LED 0 in one colour, LED 5 in another, the rest off; brightness about half.
    board.receive("20/200/21/100/22/40/11/0/20/0/21/0/22/255/11/5/82/128/", 0);
    board.advance(1);
    ASSERT_EQ(board.brightness(), 128);

    StripView view(board, QStringLiteral("Com 7"));
    const QImage image = render(view);

    auto expectNear = [](QColor drawn, int r, int g, int b) {
        EXPECT_NEAR(drawn.red(), r, 2);
        EXPECT_NEAR(drawn.green(), g, 2);
        EXPECT_NEAR(drawn.blue(), b, 2);
    };
    expectNear(drawnLed(view, image, 0), 200 * 128 / 255, 100 * 128 / 255, 40 * 128 / 255);
    expectNear(drawnLed(view, image, 5), 0, 0, 255 * 128 / 255);
    const QColor off = drawnLed(view, image, 10);
    EXPECT_LT(off.red() + off.green() + off.blue(), 3 * 60) << "an LED that is off looks dark";

    board.receive("82/0/", 2);
    board.advance(3);
    const QImage dark = render(view);
    EXPECT_EQ(drawnLed(view, dark, 0), drawnLed(view, dark, 10)) << "brightness 0 shows nothing";
}

TEST(StripView, EveryLedOfALongStripFitsTheWindow)
{
    BoardModel board({.numPixels = 99});
    StripView view(board, QString());
    view.resize(view.sizeHint());
    const QRect inside = view.rect();
    for (int i = 0; i < 99; ++i) {
        const QPointF centre = view.ledCentre(i);
        EXPECT_TRUE(inside.contains(centre.toPoint())) << i;
        if (i > 0) {
            EXPECT_GT(std::hypot(centre.x() - view.ledCentre(i - 1).x(),
                                 centre.y() - view.ledCentre(i - 1).y()),
                      2 * view.ledRadius())
                << "LEDs " << i - 1 << " and " << i << " overlap";
        }
    }
}

}  // namespace
}  // namespace stripmixer
