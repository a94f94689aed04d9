#include "form_zoeken.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using stripmixer::FormZoeken;

namespace {

class FormZoekenTest : public ::testing::Test
{
protected:
    QWidget *picture() const { return form.findChild<QWidget *>(QStringLiteral("Picture_Arduino")); }
    QTimer *timer() const { return form.findChild<QTimer *>(QStringLiteral("Timer_Zoeken")); }
    QLabel *label(const char *name) const { return form.findChild<QLabel *>(QString::fromLatin1(name)); }

    // Ticks until the timer stops itself; returns how many of them grew the picture.
    int tickUntilStopped()
    {
        int growing = 0;
        for (int guard = 0; guard < 1000 && timer()->isActive(); ++guard) {
            const int before = form.pictureWidthTwips();
            form.Timer_Zoeken_Timer();
            if (form.pictureWidthTwips() != before) {
                EXPECT_EQ(form.pictureWidthTwips(), before + 50);
                ++growing;
            }
        }
        return growing;
    }

    FormZoeken form;
};

TEST_F(FormZoekenTest, RevealGrowsSeventyOneStepsThenStopsAt3550)
{
    ASSERT_NE(picture(), nullptr);
    ASSERT_NE(timer(), nullptr);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), 10);

    form.Form_Activate();
    EXPECT_EQ(form.pictureWidthTwips(), 0);
    EXPECT_EQ(picture()->width(), 0);
    EXPECT_TRUE(timer()->isActive());

    EXPECT_EQ(tickUntilStopped(), 71);
    EXPECT_EQ(form.pictureWidthTwips(), 3550);
    EXPECT_FALSE(timer()->isActive());

    // A stray tick after the stop changes nothing and does not restart anything.
    form.Timer_Zoeken_Timer();
    EXPECT_EQ(form.pictureWidthTwips(), 3550);
    EXPECT_EQ(picture()->width(), 237);
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(FormZoekenTest, PictureWidthIsTheNearestPixelOfTheTwips)
{
    struct Case { int ticks; int twips; int pixels; };
    const Case cases[] = {
        {1, 50, 3},       // 3.33
        {2, 100, 7},      // 6.67
        {3, 150, 10},
        {13, 650, 43},    // 43.33
        {70, 3500, 233},  // 233.33
        {71, 3550, 237},  // 236.67, past the picture's 234
    };
    for (const Case &c : cases) {
        form.Form_Activate();
        for (int i = 0; i < c.ticks; ++i)
            form.Timer_Zoeken_Timer();
        EXPECT_EQ(form.pictureWidthTwips(), c.twips) << c.ticks << " ticks";
        EXPECT_EQ(picture()->width(), c.pixels) << c.twips << " twips";
        EXPECT_EQ(picture()->height(), 107);
        EXPECT_EQ(picture()->pos(), QPoint(24, 56));
    }
}

TEST_F(FormZoekenTest, ActivatingAgainRestartsTheReveal)
{
    form.Form_Activate();
    for (int i = 0; i < 20; ++i)
        form.Timer_Zoeken_Timer();
    ASSERT_EQ(form.pictureWidthTwips(), 1000);

    // Mid-reveal, through the window's own activation.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
    EXPECT_EQ(form.pictureWidthTwips(), 0);
    EXPECT_TRUE(timer()->isActive());

    // After a finished reveal, through the public call the main window uses.
    tickUntilStopped();
    ASSERT_FALSE(timer()->isActive());
    form.Form_Activate();
    EXPECT_EQ(form.pictureWidthTwips(), 0);
    EXPECT_EQ(picture()->width(), 0);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(tickUntilStopped(), 71);
}

// The box uncovers the picture from the left: what shows inside the border is the picture's
// left part pixel for pixel, never a squeezed copy.
TEST_F(FormZoekenTest, RevealClipsThePictureInsteadOfScalingIt)
{
    const QImage source(QStringLiteral(":/pictures/arduino_nano.png"));
    ASSERT_FALSE(source.isNull());
    const int border = 2;

    for (int ticks : {20, 71}) {
        form.Form_Activate();
        for (int i = 0; i < ticks; ++i)
            form.Timer_Zoeken_Timer();
        const QImage shown = picture()->grab().toImage();
        const int visible = qMin(picture()->width() - 2 * border, source.width());
        ASSERT_GT(visible, 0);
        int mismatches = 0;
        for (int y = 0; y < source.height(); y += 3)
            for (int x = 0; x < visible; ++x)
                if (shown.pixel(x + border, y + border) != (source.pixel(x, y) | 0xff000000u))
                    ++mismatches;
        EXPECT_EQ(mismatches, 0) << "after " << ticks << " ticks";
    }
}

TEST_F(FormZoekenTest, TimerDrivesTheRevealToItsEnd)
{
    form.show();
    form.Form_Activate();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !timer()->isActive(); }, 10000));
    EXPECT_EQ(form.pictureWidthTwips(), 3550);
}

TEST_F(FormZoekenTest, WindowAndControls)
{
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.size(), QSize(287, 186));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowType() == Qt::Tool || form.windowType() == Qt::SplashScreen);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(224, 224, 224));
    EXPECT_EQ(form.objectName(), QStringLiteral("FormZoeken"));

    QLabel *label1 = label("Label1");
    QLabel *label2 = label("Label2");
    ASSERT_NE(label1, nullptr);
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label1->text(), QStringLiteral("Searching"));
    EXPECT_EQ(label1->geometry(), QRect(8, 8, 271, 34));
    EXPECT_EQ(label1->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(255, 192, 128));
    EXPECT_TRUE(label1->alignment() & Qt::AlignHCenter);
    EXPECT_NE(label1->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(label1->font().bold());
    EXPECT_TRUE(label1->font().italic());
    EXPECT_EQ(label1->font().pixelSize(), 19);

    EXPECT_TRUE(label2->text().isEmpty());
    EXPECT_EQ(label2->geometry(), QRect(8, 41, 271, 137));
    EXPECT_EQ(label2->palette().color(QPalette::Window), QColor(45, 45, 45));
    EXPECT_NE(label2->frameShape(), QFrame::NoFrame);

    // The picture lies over the panel, not under it.
    form.Form_Activate();
    for (int i = 0; i < 71; ++i)
        form.Timer_Zoeken_Timer();
    EXPECT_EQ(form.childAt(QPoint(120, 100)), picture());
}

TEST_F(FormZoekenTest, OpensCentredOnTheScreen)
{
    form.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(Pictures, EveryPictureLoadsAtItsSize)
{
    struct Picture { const char *path; int width; int height; };
    const Picture pictures[] = {
        {":/pictures/background.png", 740, 691},
        {":/pictures/logo.png", 192, 80},
        {":/pictures/connect.png", 115, 64},
        {":/pictures/disconnect.png", 115, 64},
        {":/pictures/find_com_ports.png", 115, 60},
        {":/pictures/icon.png", 64, 64},
        {":/pictures/icon_256.png", 256, 256},
        {":/pictures/arduino_nano.png", 230, 103},
    };
    for (const Picture &p : pictures) {
        const QImage image(QString::fromLatin1(p.path));
        ASSERT_FALSE(image.isNull()) << p.path;
        EXPECT_EQ(image.size(), QSize(p.width, p.height)) << p.path;
    }
}

// The button pictures rely on white as their mask, the logo sits on black, and the board picture
// must cover its box completely.
TEST(Pictures, BackgroundsSuitWhereThePicturesAreShown)
{
    const QRgb white = qRgb(255, 255, 255);
    for (const char *path : {":/pictures/connect.png", ":/pictures/disconnect.png",
                             ":/pictures/find_com_ports.png"}) {
        const QImage image(QString::fromLatin1(path));
        ASSERT_FALSE(image.isNull()) << path;
        const int right = image.width() - 1, bottom = image.height() - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
            EXPECT_EQ(image.pixel(corner) | 0xff000000u, white) << path;
        // Most of the picture is mask, but a good part is drawing.
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += (image.pixel(x, y) | 0xff000000u) != white;
        EXPECT_GT(opaque, image.width() * image.height() / 6) << path;
    }

    const QImage logo(QStringLiteral(":/pictures/logo.png"));
    EXPECT_EQ(logo.pixel(0, 0) | 0xff000000u, qRgb(0, 0, 0));
    EXPECT_EQ(logo.pixel(logo.width() - 1, logo.height() - 1) | 0xff000000u, qRgb(0, 0, 0));

    const QImage board(QStringLiteral(":/pictures/arduino_nano.png"));
    EXPECT_FALSE(board.hasAlphaChannel());
}

} // namespace
