// Paints the program's pictures and writes them as PNGs into src/resources/pictures/.
// Everything is drawn from code (seeded randomness included), so a rerun gives the same files.
//
//   make_pictures [output folder]

#include <QColor>
#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTextStream>
#include <QtMath>

#include <cstdio>

namespace {

QString g_outDir;

// The button pictures use white as their mask colour, so nothing drawn may be pure white.
const QColor kMask(255, 255, 255);

QString fontFamily()
{
    static const QString family = QFontDatabase::families().contains(QStringLiteral("Comic Neue"))
                                      ? QStringLiteral("Comic Neue")
                                      : QStringLiteral("DejaVu Sans");
    return family;
}

QFont boldFont(qreal pixelSize, bool italic = false)
{
    QFont font(fontFamily());
    font.setPixelSize(qRound(pixelSize));
    font.setBold(true);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The largest bold font, not above startPx, whose rendering of text fits maxWidth.
QFont fittedFont(const QString &text, qreal maxWidth, int startPx, bool italic = false)
{
    for (int px = startPx; px > 6; --px) {
        const QFont font = boldFont(px, italic);
        if (QFontMetricsF(font).horizontalAdvance(text) <= maxWidth)
            return font;
    }
    return boldFont(7, italic);
}

void save(const QImage &image, const QString &name)
{
    const QString path = QDir(g_outDir).filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s  %d x %d\n", qPrintable(path), image.width(), image.height());
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

// Antialiasing leaves a pale fringe against the mask; snapping near-white to white keeps the
// transparent edge clean once the mask colour is knocked out.
void snapNearWhite(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (qRed(p) >= 246 && qGreen(p) >= 246 && qBlue(p) >= 246)
                line[x] = kMask.rgb();
        }
    }
}

// Text with a soft grey drop shadow, centred in rect.
void shadowedText(QPainter &p, const QRectF &rect, const QString &text, const QFont &font,
                  const QColor &top, const QColor &bottom)
{
    p.setFont(font);
    p.setPen(QColor(190, 190, 196));
    p.drawText(rect.translated(1.2, 1.2), Qt::AlignCenter, text);

    // A vertical gradient through the glyphs gives the word some depth.
    QLinearGradient g(0, rect.top() + 2, 0, rect.bottom() - 2);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(QBrush(g), 1));
    p.drawText(rect, Qt::AlignCenter, text);
}

// ---------------------------------------------------------------------------------------------
// The window background: a hue wheel with a white heart, laid on with visible brush strokes.

// Where red sits on the wheel, counter-clockwise from the right. Turned so that the top, behind
// the yellow title, is blue and violet.
constexpr qreal kRedAngle = 200;

QColor wheelColour(qreal angleDeg, qreal radiusFraction)
{
    // Hue runs like the conical gradient below: counter-clockwise from kRedAngle.
    qreal hue = std::fmod(angleDeg - kRedAngle, 360.0);
    if (hue < 0)
        hue += 360.0;
    const qreal sat = qBound(0.0, 0.1 + radiusFraction * 1.7, 1.0);
    const qreal val = qBound(0.0, 1.0 - qMax(0.0, radiusFraction - 0.75) * 0.9, 1.0);
    return QColor::fromHsvF(float(hue / 360.0), float(sat), float(val));
}

QImage paintBackground()
{
    const int w = 740, h = 691;
    const QPointF centre(360, 330);
    const qreal reach = 520; // radius at which the colours are fully saturated and darkening
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Ground layer: the wheel itself.
    QConicalGradient wheel(centre, kRedAngle);
    for (int i = 0; i <= 12; ++i)
        wheel.setColorAt(i / 12.0, QColor::fromHsvF(float(std::fmod(i / 12.0, 1.0)), 1.0f, 0.95f));
    p.fillRect(image.rect(), wheel);

    // White heart fading into the colours, and a gentle darkening towards the far corners.
    QRadialGradient heart(centre, reach);
    heart.setColorAt(0.0, QColor(255, 252, 245, 245));
    heart.setColorAt(0.12, QColor(255, 250, 240, 180));
    heart.setColorAt(0.38, QColor(255, 250, 240, 40));
    heart.setColorAt(0.55, QColor(255, 255, 255, 0));
    heart.setColorAt(0.85, QColor(0, 0, 0, 0));
    heart.setColorAt(1.0, QColor(20, 10, 30, 110));
    p.fillRect(image.rect(), heart);

    // Brush strokes: each a bundle of bristles following the wheel round, tinted by where it lies.
    QRandomGenerator rng(20250514);
    auto uniform = [&rng](qreal lo, qreal hi) { return lo + rng.generateDouble() * (hi - lo); };
    for (int s = 0; s < 2600; ++s) {
        const qreal x = uniform(-20, w + 20);
        const qreal y = uniform(-20, h + 20);
        const QPointF d = QPointF(x, y) - centre;
        const qreal r = std::hypot(d.x(), d.y());
        const qreal angle = qRadiansToDegrees(std::atan2(-d.y(), d.x()));
        const qreal frac = r / reach;
        QColor colour = wheelColour(angle + uniform(-9, 9), frac + uniform(-0.06, 0.06));
        colour = colour.lighter(int(uniform(84, 112)));

        // Mostly tangential, with a slight outward swirl.
        const qreal tangent = std::atan2(-d.y(), d.x()) + M_PI / 2 + uniform(-0.25, 0.45);
        const qreal length = uniform(18, 26) + frac * uniform(20, 46);
        const qreal width = uniform(5, 9) + frac * 6;
        const QPointF dir(std::cos(tangent), -std::sin(tangent));
        const QPointF normal(-dir.y(), dir.x());
        const qreal bend = uniform(-0.35, 0.35) * length;

        const int bristles = 5;
        for (int b = 0; b < bristles; ++b) {
            const qreal offset = (b - (bristles - 1) / 2.0) * width / bristles;
            const QPointF start = QPointF(x, y) + normal * offset - dir * (length / 2);
            const QPointF end = start + dir * length * uniform(0.8, 1.0);
            const QPointF control = (start + end) / 2 + normal * bend;
            QPainterPath path(start);
            path.quadTo(control, end);
            QColor c = colour.lighter(int(uniform(90, 108)));
            c.setAlpha(int(uniform(40, 110)));
            p.setPen(QPen(c, width / bristles * 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(path);
        }
    }

    // A last few pale daubs around the heart, where the paint is thickest.
    for (int s = 0; s < 90; ++s) {
        const qreal a = uniform(0, 2 * M_PI);
        const qreal r = uniform(0, 90);
        const QPointF c = centre + QPointF(std::cos(a) * r, std::sin(a) * r);
        QColor colour(255, 250, 238, int(uniform(30, 80)));
        p.setPen(QPen(colour, uniform(4, 9), Qt::SolidLine, Qt::RoundCap));
        const QPointF dir(std::cos(a + M_PI / 2), std::sin(a + M_PI / 2));
        p.drawLine(c - dir * uniform(6, 16), c + dir * uniform(6, 16));
    }
    p.end();

    // Canvas grain.
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.bounded(13)) - 6 + (((x * 7 + y * 3) % 5 == 0) ? -3 : 0);
            const QRgb px = line[x];
            line[x] = qRgb(qBound(0, qRed(px) + n, 255), qBound(0, qGreen(px) + n, 255),
                           qBound(0, qBlue(px) + n, 255));
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// The logo and the icon share one mark: three overlapping lights that mix to white.

void paintMixMark(QPainter &p, const QPointF &centre, qreal radius)
{
    const qreal spread = radius * 0.62;
    const QColor colours[3] = {QColor(255, 40, 40), QColor(40, 255, 70), QColor(50, 90, 255)};
    const qreal angles[3] = {-90, 150, 30};
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const qreal a = qDegreesToRadians(angles[i]);
        const QPointF c = centre + QPointF(std::cos(a), std::sin(a)) * spread;
        QRadialGradient g(c, radius);
        QColor core = colours[i];
        g.setColorAt(0.0, core);
        g.setColorAt(0.86, core);
        QColor edge = core;
        edge.setAlpha(0);
        g.setColorAt(1.0, edge);
        p.setBrush(g);
        p.drawEllipse(c, radius, radius);
    }
    p.restore();
}

// A strip of 5050 LEDs on a dark flexible board; each LED shines in its colour.
void paintLedStrip(QPainter &p, const QRectF &band, int leds, const QList<QColor> &colours)
{
    p.save();
    // The flexible board with its copper edges.
    QLinearGradient boardShade(0, band.top(), 0, band.bottom());
    boardShade.setColorAt(0, QColor(58, 58, 64));
    boardShade.setColorAt(0.5, QColor(30, 30, 34));
    boardShade.setColorAt(1, QColor(18, 18, 20));
    p.setPen(QPen(QColor(150, 110, 60), qMax(0.6, band.height() / 14)));
    p.setBrush(boardShade);
    p.drawRoundedRect(band, band.height() * 0.18, band.height() * 0.18);

    const qreal pitch = band.width() / leds;
    const qreal chip = band.height() * 0.62;
    for (int i = 0; i < leds; ++i) {
        const QPointF c(band.left() + pitch * (i + 0.5), band.center().y());
        // Solder pads between the LEDs.
        if (i > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(170, 130, 70));
            const qreal x = band.left() + pitch * i;
            p.drawRect(QRectF(x - chip * 0.08, band.top() + band.height() * 0.22, chip * 0.16,
                              band.height() * 0.18));
            p.drawRect(QRectF(x - chip * 0.08, band.bottom() - band.height() * 0.40, chip * 0.16,
                              band.height() * 0.18));
        }
        // The LED package.
        const QRectF body(c.x() - chip / 2, c.y() - chip / 2, chip, chip);
        p.setPen(QPen(QColor(120, 120, 126), qMax(0.5, chip / 16)));
        p.setBrush(QColor(226, 224, 216));
        p.drawRoundedRect(body, chip * 0.12, chip * 0.12);
        // Its light: a bright core with a coloured glow spilling onto the board.
        const QColor colour = colours[i % colours.size()];
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        QRadialGradient glow(c, chip * 1.5);
        QColor g0 = colour;
        g0.setAlpha(230);
        QColor g1 = colour;
        g1.setAlpha(90);
        QColor g2 = colour;
        g2.setAlpha(0);
        glow.setColorAt(0, g0);
        glow.setColorAt(0.35, g1);
        glow.setColorAt(1, g2);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, chip * 1.5, chip * 1.5);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QRadialGradient core(c, chip * 0.36);
        core.setColorAt(0, QColor(255, 255, 255, 250));
        core.setColorAt(0.5, mix(colour, QColor(255, 255, 255), 0.55));
        core.setColorAt(1, colour);
        p.setBrush(core);
        p.drawEllipse(c, chip * 0.34, chip * 0.34);
    }
    p.restore();
}

QImage paintLogo()
{
    QImage image(192, 80, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    paintMixMark(p, QPointF(31, 38), 17);

    // Wordmark: "Strip" in warm white, "Mixer" running through the three LED colours.
    const QString strip = QStringLiteral("Strip");
    const QString mixer = QStringLiteral("Mixer");
    const QFont font = fittedFont(strip + mixer, 122, 28);
    const QFontMetricsF fm(font);
    const qreal left = 64;
    const qreal baseline = 35;
    QPainterPath stripPath, mixerPath;
    stripPath.addText(left, baseline, font, strip);
    mixerPath.addText(left + fm.horizontalAdvance(strip), baseline, font, mixer);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 240, 230));
    p.drawPath(stripPath);
    const QRectF mixerBox = mixerPath.boundingRect();
    QLinearGradient rgb(mixerBox.left(), 0, mixerBox.right(), 0);
    rgb.setColorAt(0.0, QColor(255, 70, 70));
    rgb.setColorAt(0.5, QColor(70, 230, 110));
    rgb.setColorAt(1.0, QColor(80, 150, 255));
    p.setBrush(rgb);
    p.drawPath(mixerPath);

    paintLedStrip(p, QRectF(64, 44, 122, 13), 7,
                  {QColor(255, 30, 30), QColor(30, 255, 60), QColor(40, 90, 255)});

    QFont tag = boldFont(8);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    p.setFont(tag);
    p.setPen(QColor(150, 150, 158));
    p.drawText(QRectF(62, 61, 126, 14), Qt::AlignCenter, QStringLiteral("RGB LED CONTROLLER"));
    return image;
}

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient tileShade(0, 8, 0, 248);
    tileShade.setColorAt(0, QColor(46, 46, 54));
    tileShade.setColorAt(1, QColor(8, 8, 12));
    p.setPen(QPen(QColor(90, 90, 100), 4));
    p.setBrush(tileShade);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 46, 46);

    paintMixMark(p, QPointF(128, 104), 60);
    paintLedStrip(p, QRectF(36, 194, 184, 34), 3,
                  {QColor(255, 30, 30), QColor(30, 255, 60), QColor(40, 90, 255)});
    return image;
}

// ---------------------------------------------------------------------------------------------
// Button pictures, on white (the mask colour).

QLinearGradient metal(qreal top, qreal bottom, const QColor &light, const QColor &dark)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(0.45, mix(light, dark, 0.45));
    g.setColorAt(1, dark);
    return g;
}

void paintCable(QPainter &p, const QPointF &from, const QPointF &to, qreal sag)
{
    QPainterPath path(from);
    const QPointF mid = (from + to) / 2;
    path.cubicTo(QPointF(mid.x(), from.y() + sag), QPointF(mid.x(), to.y() - sag), to);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(28, 28, 34), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(QColor(96, 96, 110), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path.translated(0, -1.4));
}

// The plug: cable entering on the left, prongs pointing right, prong tips at tipX.
void paintPlug(QPainter &p, qreal tipX, qreal cy)
{
    const QRectF body(tipX - 36, cy - 10, 22, 20);
    // Strain relief.
    QPainterPath relief;
    relief.moveTo(body.left() + 1, cy - 7);
    relief.lineTo(body.left() - 6, cy - 3.5);
    relief.lineTo(body.left() - 6, cy + 3.5);
    relief.lineTo(body.left() + 1, cy + 7);
    relief.closeSubpath();
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(metal(cy - 7, cy + 7, QColor(80, 80, 92), QColor(24, 24, 28)));
    p.drawPath(relief);

    // Prongs.
    p.setPen(QPen(QColor(120, 88, 20), 0.8));
    p.setBrush(metal(0, 0, QColor(240, 205, 110), QColor(170, 125, 30)));
    for (qreal y : {cy - 6.5, cy + 3.0}) {
        QLinearGradient gold(0, y, 0, y + 3.5);
        gold.setColorAt(0, QColor(244, 214, 120));
        gold.setColorAt(1, QColor(160, 115, 25));
        p.setBrush(gold);
        p.drawRoundedRect(QRectF(body.right() - 1, y, tipX - body.right() + 1, 3.5), 1, 1);
    }

    // Body with grip ridges.
    p.setPen(QPen(QColor(16, 16, 20), 1));
    p.setBrush(metal(body.top(), body.bottom(), QColor(104, 106, 122), QColor(28, 28, 34)));
    p.drawRoundedRect(body, 4, 4);
    p.setPen(QPen(QColor(20, 20, 24, 160), 1));
    for (int i = 0; i < 3; ++i) {
        const qreal x = body.left() + 5 + i * 3.5;
        p.drawLine(QPointF(x, body.top() + 4), QPointF(x, body.bottom() - 4));
    }
    p.setPen(QPen(QColor(200, 202, 214, 150), 1));
    p.drawLine(QPointF(body.left() + 4, body.top() + 1.6), QPointF(body.right() - 4, body.top() + 1.6));
}

// The socket: its face at faceX, cable leaving on the right.
void paintSocket(QPainter &p, qreal faceX, qreal cy, bool showSlots)
{
    const QRectF body(faceX, cy - 11, 24, 22);
    QPainterPath relief;
    relief.moveTo(body.right() - 1, cy - 7);
    relief.lineTo(body.right() + 6, cy - 3.5);
    relief.lineTo(body.right() + 6, cy + 3.5);
    relief.lineTo(body.right() - 1, cy + 7);
    relief.closeSubpath();
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(metal(cy - 7, cy + 7, QColor(80, 80, 92), QColor(24, 24, 28)));
    p.drawPath(relief);

    p.setPen(QPen(QColor(16, 16, 20), 1));
    p.setBrush(metal(body.top(), body.bottom(), QColor(104, 106, 122), QColor(28, 28, 34)));
    p.drawRoundedRect(body, 4, 4);
    // The face, a little lighter, where the prongs go in.
    p.setBrush(metal(body.top(), body.bottom(), QColor(130, 132, 148), QColor(50, 50, 60)));
    p.drawRoundedRect(QRectF(body.left(), body.top() + 2, 5, body.height() - 4), 2, 2);
    if (showSlots) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 8, 10));
        p.drawRect(QRectF(body.left() + 1, cy - 6.5, 3, 3.5));
        p.drawRect(QRectF(body.left() + 1, cy + 3.0, 3, 3.5));
    }
    p.setPen(QPen(QColor(200, 202, 214, 150), 1));
    p.drawLine(QPointF(body.left() + 7, body.top() + 1.6), QPointF(body.right() - 4, body.top() + 1.6));
}

QImage paintConnect()
{
    QImage image(115, 64, QImage::Format_RGB32);
    image.fill(kMask);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const qreal cy = 19;
    // A green halo where the two halves meet says the line is live.
    QRadialGradient halo(QPointF(58, cy), 22);
    halo.setColorAt(0, QColor(60, 210, 90, 170));
    halo.setColorAt(0.6, QColor(60, 210, 90, 60));
    halo.setColorAt(1, QColor(60, 210, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(58, cy), 22, 16);

    paintCable(p, QPointF(4, cy + 5), QPointF(22, cy), 1.5);
    paintCable(p, QPointF(91, cy), QPointF(111, cy + 5), -1.5);
    paintPlug(p, 60, cy);
    paintSocket(p, 58, cy, false);

    shadowedText(p, QRectF(0, 36, 115, 26), QStringLiteral("Connect"), fittedFont("Connect", 108, 20),
                 QColor(40, 160, 70), QColor(10, 95, 40));
    p.end();
    snapNearWhite(image);
    return image;
}

QImage paintDisconnect()
{
    QImage image(115, 64, QImage::Format_RGB32);
    image.fill(kMask);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const qreal cy = 19;
    paintCable(p, QPointF(3, cy + 5), QPointF(12, cy), 1);
    paintCable(p, QPointF(99, cy), QPointF(112, cy + 5), -1);
    paintPlug(p, 50, cy);
    paintSocket(p, 68, cy, true);

    // A red break in the gap.
    QPainterPath zig;
    zig.moveTo(61, cy - 12);
    zig.lineTo(56.5, cy - 2);
    zig.lineTo(61.5, cy + 0.5);
    zig.lineTo(57, cy + 12);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 170, 150), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(zig);
    p.setPen(QPen(QColor(210, 30, 30), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(zig);

    shadowedText(p, QRectF(0, 36, 115, 26), QStringLiteral("Disconnect"),
                 fittedFont("Disconnect", 110, 20), QColor(225, 60, 50), QColor(140, 15, 15));
    p.end();
    snapNearWhite(image);
    return image;
}

// A nine-pin serial connector face, centred at c.
void paintSerialPort(QPainter &p, const QPointF &c)
{
    // Shell flange with its two screw posts.
    const QRectF flange(c.x() - 30, c.y() - 13, 60, 26);
    p.setPen(QPen(QColor(60, 66, 80), 1));
    p.setBrush(metal(flange.top(), flange.bottom(), QColor(200, 206, 220), QColor(110, 118, 136)));
    p.drawRoundedRect(flange, 3, 3);
    for (qreal dx : {-24.5, 24.5}) {
        QRadialGradient screw(c + QPointF(dx - 1, -1), 4);
        screw.setColorAt(0, QColor(230, 232, 238));
        screw.setColorAt(1, QColor(90, 96, 110));
        p.setBrush(screw);
        p.drawEllipse(c + QPointF(dx, 0), 3.2, 3.2);
        p.setPen(QPen(QColor(60, 66, 80), 1));
        p.drawLine(c + QPointF(dx - 2, 0), c + QPointF(dx + 2, 0));
    }

    // The D-shaped shell and its dark insert.
    auto dShape = [&c](qreal topHalf, qreal bottomHalf, qreal halfHeight) {
        QPainterPath d;
        d.moveTo(c.x() - topHalf, c.y() - halfHeight);
        d.lineTo(c.x() + topHalf, c.y() - halfHeight);
        d.lineTo(c.x() + bottomHalf, c.y() + halfHeight);
        d.lineTo(c.x() - bottomHalf, c.y() + halfHeight);
        d.closeSubpath();
        return d;
    };
    p.setPen(QPen(QColor(50, 56, 70), 1));
    p.setBrush(metal(c.y() - 9, c.y() + 9, QColor(170, 176, 192), QColor(90, 96, 112)));
    p.drawPath(dShape(18, 14, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 32, 44));
    p.drawPath(dShape(15.5, 11.8, 6.8));

    // Pins: five above, four below.
    p.setBrush(QColor(236, 196, 90));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(c.x() - 10 + i * 5, c.y() - 2.6), 1.5, 1.5);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(c.x() - 7.5 + i * 5, c.y() + 2.8), 1.5, 1.5);
}

QImage paintFindComPorts()
{
    QImage image(115, 60, QImage::Format_RGB32);
    image.fill(kMask);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QPointF port(44, 18);
    paintSerialPort(p, port);

    // The magnifier over the right end of the port, showing it enlarged.
    const QPointF lens(74, 16);
    const qreal r = 12.5;
    p.save();
    QPainterPath glass;
    glass.addEllipse(lens, r, r);
    p.setClipPath(glass);
    p.fillRect(QRectF(lens.x() - r, lens.y() - r, 2 * r, 2 * r), QColor(226, 236, 246));
    p.translate(lens);
    p.scale(1.6, 1.6);
    p.translate(-lens);
    paintSerialPort(p, port);
    p.restore();

    QRadialGradient tint(lens + QPointF(-4, -5), r * 1.4);
    tint.setColorAt(0, QColor(200, 225, 255, 40));
    tint.setColorAt(1, QColor(80, 140, 220, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(tint);
    p.drawEllipse(lens, r, r);
    // Handle, then the rim on top of it.
    const QPointF dir(std::cos(qDegreesToRadians(40.0)), std::sin(qDegreesToRadians(40.0)));
    p.setPen(QPen(QColor(40, 30, 24), 6.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + dir * (r + 2), lens + dir * (r + 15));
    p.setPen(QPen(QColor(150, 98, 60), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + dir * (r + 4), lens + dir * (r + 14));
    p.setBrush(Qt::NoBrush);
    QLinearGradient rim(lens.x(), lens.y() - r, lens.x(), lens.y() + r);
    rim.setColorAt(0, QColor(120, 126, 140));
    rim.setColorAt(1, QColor(30, 32, 40));
    p.setPen(QPen(QBrush(rim), 3.2));
    p.drawEllipse(lens, r, r);
    // A glint on the glass.
    p.setPen(QPen(QColor(236, 242, 250, 220), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(lens.x() - r + 3.5, lens.y() - r + 3.5, 2 * r - 7, 2 * r - 7), 100 * 16, 55 * 16);

    shadowedText(p, QRectF(0, 35, 115, 24), QStringLiteral("Find Com Ports"),
                 fittedFont("Find Com Ports", 111, 17), QColor(30, 120, 210), QColor(10, 60, 140));
    p.end();
    snapNearWhite(image);
    return image;
}

// ---------------------------------------------------------------------------------------------
// The board shown in the search window: a small blue controller board seen from above.

void paintPinHole(QPainter &p, const QPointF &c, qreal r)
{
    QRadialGradient gold(c + QPointF(-r * 0.3, -r * 0.3), r * 1.2);
    gold.setColorAt(0, QColor(255, 230, 150));
    gold.setColorAt(0.6, QColor(214, 166, 60));
    gold.setColorAt(1, QColor(140, 100, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(22, 18, 14));
    p.drawEllipse(c, r * 0.45, r * 0.45);
}

void paintSmd(QPainter &p, const QRectF &r, const QColor &body)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 196));
    p.drawRect(r);
    const bool wide = r.width() >= r.height();
    const QRectF mid = wide ? r.adjusted(r.width() * 0.25, 0, -r.width() * 0.25, 0)
                            : r.adjusted(0, r.height() * 0.25, 0, -r.height() * 0.25);
    p.setBrush(body);
    p.drawRect(mid);
}

void paintLed(QPainter &p, const QPointF &c, const QColor &colour, bool lit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 210, 204));
    p.drawRect(QRectF(c.x() - 2.5, c.y() - 1.6, 5, 3.2));
    if (lit) {
        QRadialGradient glow(c, 6);
        QColor a = colour, b = colour;
        a.setAlpha(200);
        b.setAlpha(0);
        glow.setColorAt(0, a);
        glow.setColorAt(1, b);
        p.setBrush(glow);
        p.drawEllipse(c, 6, 6);
        p.setBrush(mix(colour, QColor(255, 255, 255), 0.55));
    } else {
        p.setBrush(mix(colour, QColor(230, 230, 220), 0.5));
    }
    p.drawRect(QRectF(c.x() - 1.3, c.y() - 1.6, 2.6, 3.2));
}

QImage paintArduinoNano()
{
    const int w = 230, h = 103;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Dark bench it lies on, close to the panel behind the picture.
    QLinearGradient bench(0, 0, 0, h);
    bench.setColorAt(0, QColor(56, 56, 60));
    bench.setColorAt(1, QColor(38, 38, 42));
    p.fillRect(image.rect(), bench);

    const QRectF board(10, 9, 216, 86);
    // Soft shadow.
    for (int i = 6; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 16));
        p.drawRoundedRect(board.translated(2, 3).adjusted(-i, -i, i, i), 6 + i, 6 + i);
    }

    // The board.
    QLinearGradient pcb(0, board.top(), 0, board.bottom());
    pcb.setColorAt(0, QColor(28, 112, 196));
    pcb.setColorAt(1, QColor(12, 76, 150));
    p.setPen(QPen(QColor(8, 52, 110), 1.2));
    p.setBrush(pcb);
    p.drawRoundedRect(board, 6, 6);
    // Copper traces under the solder mask show as faint lighter lines.
    p.setPen(QPen(QColor(70, 150, 225, 110), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const qreal top = 32 + (i + 4) * 12.2;
        QPainterPath t;
        t.moveTo(top, 25);
        t.lineTo(top, 30);
        t.lineTo(118 + i * 3, 37);
        p.drawPath(t);
    }
    for (int i = 0; i < 4; ++i) {
        const qreal bottom = 32 + (i + 8) * 12.2;
        QPainterPath u;
        u.moveTo(bottom, 79);
        u.lineTo(bottom, 74);
        u.lineTo(142 + i * 3, 67);
        p.drawPath(u);
    }
    // Silkscreen outline along the pin rows.
    p.setPen(QPen(QColor(235, 240, 245, 200), 0.8));
    p.drawRoundedRect(QRectF(25, 12, 185, 13), 2, 2);
    p.drawRoundedRect(QRectF(25, 79, 185, 13), 2, 2);

    // Two rows of fifteen pin holes at the 0.1" pitch.
    const qreal pitch = 12.2;
    for (int i = 0; i < 15; ++i) {
        const qreal x = 32 + i * pitch;
        paintPinHole(p, QPointF(x, 18.5), 3.9);
        paintPinHole(p, QPointF(x, 85.5), 3.9);
    }
    // The first pin of each row has a square pad.
    p.setPen(QPen(QColor(214, 166, 60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(32 - 4, 14.5, 8, 8));
    p.drawRect(QRectF(32 - 4, 81.5, 8, 8));

    // The mini-USB socket, overhanging the board end.
    const QRectF usb(2, 36, 30, 32);
    p.setPen(QPen(QColor(70, 74, 82), 1));
    QLinearGradient steel(0, usb.top(), 0, usb.bottom());
    steel.setColorAt(0, QColor(236, 238, 242));
    steel.setColorAt(0.3, QColor(188, 192, 200));
    steel.setColorAt(0.7, QColor(150, 154, 164));
    steel.setColorAt(1, QColor(206, 208, 214));
    p.setBrush(steel);
    p.drawRoundedRect(usb, 2.5, 2.5);
    p.setPen(QPen(QColor(110, 114, 124), 0.8));
    p.drawLine(QPointF(usb.left() + 8, usb.top() + 3), QPointF(usb.left() + 8, usb.bottom() - 3));
    p.drawLine(QPointF(usb.left() + 22, usb.top() + 3), QPointF(usb.left() + 22, usb.bottom() - 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 48));
    p.drawRoundedRect(QRectF(usb.left() + 1, usb.top() + 9, 3.5, 14), 1, 1);

    // Status LEDs next to the socket: TX, RX, power (lit) and L (lit).
    paintLed(p, QPointF(41, 32), QColor(255, 170, 40), false);
    paintLed(p, QPointF(41, 40), QColor(255, 170, 40), false);
    paintLed(p, QPointF(41, 64), QColor(80, 240, 90), true);
    paintLed(p, QPointF(41, 72), QColor(255, 150, 40), true);

    // The serial bridge chip near the socket.
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    p.setBrush(QColor(24, 24, 26));
    p.drawRect(QRectF(60, 64, 15, 10));
    for (int i = 0; i < 5; ++i) {
        p.drawLine(QPointF(61.5 + i * 3, 62), QPointF(61.5 + i * 3, 64));
        p.drawLine(QPointF(61.5 + i * 3, 74), QPointF(61.5 + i * 3, 76));
    }

    // Reset button: a small square switch with a round cap.
    const QRectF sw(82, 38, 20, 20);
    p.setPen(QPen(QColor(90, 94, 100), 0.8));
    p.setBrush(metal(sw.top(), sw.bottom(), QColor(226, 228, 232), QColor(150, 154, 160)));
    p.drawRect(sw);
    for (qreal cx : {sw.left() + 3, sw.right() - 3})
        for (qreal cy : {sw.top() + 3, sw.bottom() - 3}) {
            p.setBrush(QColor(120, 124, 130));
            p.drawEllipse(QPointF(cx, cy), 1.1, 1.1);
        }
    QRadialGradient cap(sw.center() + QPointF(-2, -2), 8);
    cap.setColorAt(0, QColor(250, 250, 250));
    cap.setColorAt(1, QColor(196, 196, 200));
    p.setBrush(cap);
    p.setPen(QPen(QColor(120, 124, 130), 0.8));
    p.drawEllipse(sw.center(), 6, 6);

    // The microcontroller: a square chip turned by 45 degrees, legs on all four sides.
    p.save();
    p.translate(132, 52);
    p.rotate(45);
    const qreal half = 12;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 196));
    for (int side = 0; side < 4; ++side) {
        for (int i = 0; i < 8; ++i) {
            const qreal t = -half + 2.2 + i * (2 * half - 4.4) / 7;
            p.drawRect(QRectF(t - 0.55, -half - 3, 1.1, 3.2));
        }
        p.rotate(90);
    }
    QLinearGradient chip(-half, -half, half, half);
    chip.setColorAt(0, QColor(48, 48, 52));
    chip.setColorAt(1, QColor(16, 16, 18));
    p.setBrush(chip);
    p.setPen(QPen(QColor(8, 8, 10), 0.8));
    p.drawRect(QRectF(-half, -half, 2 * half, 2 * half));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 74));
    p.drawEllipse(QPointF(-half + 3.5, -half + 3.5), 1.4, 1.4);
    p.restore();

    // The crystal: a metal can with rounded ends.
    const QRectF can(160, 40, 11, 24);
    p.setPen(QPen(QColor(90, 94, 102), 0.8));
    QLinearGradient canShade(can.left(), 0, can.right(), 0);
    canShade.setColorAt(0, QColor(170, 174, 182));
    canShade.setColorAt(0.4, QColor(240, 242, 246));
    canShade.setColorAt(1, QColor(140, 144, 152));
    p.setBrush(canShade);
    p.drawRoundedRect(can, 5, 5);

    // Small passives scattered as on a real board.
    paintSmd(p, QRectF(104, 44, 3, 6), QColor(60, 50, 40));
    paintSmd(p, QRectF(150, 70, 6, 3), QColor(170, 140, 100));
    paintSmd(p, QRectF(176, 44, 3, 6), QColor(170, 140, 100));
    paintSmd(p, QRectF(176, 54, 3, 6), QColor(170, 140, 100));
    paintSmd(p, QRectF(64, 42, 6, 3), QColor(60, 50, 40));
    paintSmd(p, QRectF(104, 68, 6, 3), QColor(60, 50, 40));
    // Voltage regulator on the far end.
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    p.setBrush(QColor(26, 26, 28));
    p.drawRect(QRectF(186, 36, 10, 12));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(184, 38.5 + i * 3.5), QPointF(186, 38.5 + i * 3.5));
    p.drawRect(QRectF(196, 39, 3, 6));

    // The programming header: two by three holes at the far end.
    for (int col = 0; col < 2; ++col)
        for (int row = 0; row < 3; ++row)
            paintPinHole(p, QPointF(206 + col * 10, 32 + row * 10), 3.2);

    // Silkscreen lettering.
    QFont label = boldFont(7);
    p.setFont(label);
    p.setPen(QColor(235, 240, 245));
    p.drawText(QRectF(180, 62, 40, 10), Qt::AlignCenter, QStringLiteral("NANO"));
    QFont small = boldFont(5);
    p.setFont(small);
    p.drawText(QRectF(46, 29, 12, 6), Qt::AlignCenter, QStringLiteral("TX"));
    p.drawText(QRectF(46, 37, 12, 6), Qt::AlignCenter, QStringLiteral("RX"));
    p.drawText(QRectF(46, 61, 12, 6), Qt::AlignCenter, QStringLiteral("ON"));
    p.drawText(QRectF(44, 69, 12, 6), Qt::AlignCenter, QStringLiteral("L"));
    p.drawText(QRectF(82, 59, 20, 6), Qt::AlignCenter, QStringLiteral("RESET"));

    // Mounting holes in the four corners.
    for (const QPointF &c : {QPointF(17, 16), QPointF(17, 88), QPointF(219, 16), QPointF(219, 88)}) {
        p.setPen(QPen(QColor(200, 200, 196), 1.2));
        p.setBrush(QColor(36, 36, 40));
        p.drawEllipse(c, 2.6, 2.6);
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    // Painting needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    g_outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(STRIPMIXER_PICTURES_DIR);
    if (!QDir().mkpath(g_outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(g_outDir));
        return 1;
    }
    std::printf("font: %s\n", qPrintable(fontFamily()));

    save(paintBackground(), QStringLiteral("background.png"));
    save(paintLogo(), QStringLiteral("logo.png"));
    save(paintConnect(), QStringLiteral("connect.png"));
    save(paintDisconnect(), QStringLiteral("disconnect.png"));
    save(paintFindComPorts(), QStringLiteral("find_com_ports.png"));
    save(paintIcon(64), QStringLiteral("icon.png"));
    save(paintIcon(256), QStringLiteral("icon_256.png"));
    save(paintArduinoNano(), QStringLiteral("arduino_nano.png"));
    return 0;
}
