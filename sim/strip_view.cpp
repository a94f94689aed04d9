#include "strip_view.h"

#include "board_model.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace stripmixer {

namespace {

constexpr int kMargin = 18;
constexpr int kPanelWidth = 210;
constexpr int kMaxColumns = 20;
constexpr int kCell = 34;
constexpr int kHeader = 52;
constexpr int kFooter = 30;
constexpr int kNumberWidth = 28;

QString effectName(int code)
{
    switch (code) {
    case 0: return QStringLiteral("Bottom Top Red");
    case 1: return QStringLiteral("Bottom Top Green");
    case 2: return QStringLiteral("Bottom Top Blue");
    case 3: return QStringLiteral("TheaterChase White");
    case 4: return QStringLiteral("TheaterChase Red");
    case 5: return QStringLiteral("TheaterChase Blue");
    case 6: return QStringLiteral("Rainbow");
    case 7: return QStringLiteral("RainbowCycle");
    case 8: return QStringLiteral("TheaterChaseRainbow");
    case 12: return QStringLiteral("Bottom Top RGB");
    case 13: return QStringLiteral("Bottom Top RGB RND");
    default: return QStringLiteral("-");
    }
}

// What the eye sees of an LED: its colour at the strip's brightness.
QColor shown(const Rgb &c, int brightness)
{
    const double scale = std::clamp(brightness, 0, 255) / 255.0;
    return QColor(int(std::lround(c.r * scale)), int(std::lround(c.g * scale)),
                  int(std::lround(c.b * scale)));
}

QString lastText(const BoardModel &model, bool fromHost)
{
    const auto &entries = model.transcript();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->fromHost == fromHost) {
            QString text = QString::fromLatin1(it->text.data(), qsizetype(it->text.size()));
            text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
            text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            return text;
        }
    }
    return QStringLiteral("-");
}

}  // namespace

StripView::StripView(const BoardModel &model, const QString &subtitle, QWidget *parent)
    : QWidget(parent), m_model(model), m_subtitle(subtitle)
{
    setWindowTitle(QStringLiteral("Simulated LED strip"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int StripView::columns() const
{
    return std::clamp(m_model.numPixels(), 1, kMaxColumns);
}

int StripView::rows() const
{
    return (m_model.numPixels() + columns() - 1) / columns();
}

QSize StripView::sizeHint() const
{
    const int stripHeight = std::max(rows() * kCell + 24, 130);
    return {kMargin * 3 + std::max(16, columns()) * kCell + 2 * kNumberWidth + kPanelWidth,
            kHeader + stripHeight + kFooter + kMargin};
}

QSize StripView::minimumSizeHint() const
{
    return {kMargin * 3 + 8 * 18 + kPanelWidth, kHeader + 130 + kFooter + kMargin};
}

StripView::Geometry StripView::geometry() const
{
    Geometry g;
    g.strip = QRectF(kMargin, kHeader, width() - 3 * kMargin - kPanelWidth,
                     height() - kHeader - kFooter - kMargin);
    const int cols = columns();
    const int rowCount = rows();
    // Room either side for the LED numbers.
    g.cell = std::max(4.0, std::min({(g.strip.width() - 2 * kNumberWidth) / cols,
                                     (g.strip.height() - 16) / rowCount, double(kCell) * 1.5}));
    g.left = g.strip.center().x() - g.cell * cols / 2.0;
    g.top = g.strip.center().y() - g.cell * rowCount / 2.0;
    return g;
}

QPointF StripView::ledCentre(int index) const
{
    const Geometry g = geometry();
    const int cols = columns();
    return {g.left + (index % cols + 0.5) * g.cell, g.top + (index / cols + 0.5) * g.cell};
}

double StripView::ledRadius() const
{
    return geometry().cell * 0.32;
}

void StripView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x23, 0x26, 0x2d));
    background.setColorAt(1, QColor(0x13, 0x15, 0x19));
    p.fillRect(rect(), background);

    // Header.
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor(0xe8, 0xea, 0xee));
    p.drawText(QRect(kMargin, 10, width() - 2 * kMargin, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("StripMixer_Effects_01"));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    p.setFont(small);
    p.setPen(QColor(0x8a, 0x90, 0x9c));
    p.drawText(QRect(kMargin, 32, width() - 2 * kMargin, 16), Qt::AlignLeft | Qt::AlignVCenter,
               m_subtitle);

    // The strip: a dark board with the LEDs in rows.
    const Geometry g = geometry();
    const QRectF &strip = g.strip;
    QPainterPath board;
    board.addRoundedRect(strip, 10, 10);
    p.fillPath(board, QColor(0x0b, 0x0c, 0x0f));
    p.setPen(QPen(QColor(0x3a, 0x3e, 0x46), 1));
    p.drawPath(board);

    const int n = m_model.numPixels();
    const int cols = columns();
    const int rowCount = rows();
    const double cell = g.cell;
    const double radius = ledRadius();
    const double left = g.left;
    const double top = g.top;
    const std::vector<Rgb> &leds = m_model.leds();
    for (int i = 0; i < n; ++i) {
        const QPointF centre = ledCentre(i);
        const QColor c = shown(leds[std::size_t(i)], m_model.brightness());
        const bool lit = c.red() + c.green() + c.blue() > 0;
        if (lit) {
            QRadialGradient glow(centre, radius * 2.1);
            QColor inner = c;
            inner.setAlpha(150);
            QColor outer = c;
            outer.setAlpha(0);
            glow.setColorAt(0, inner);
            glow.setColorAt(1, outer);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(centre, radius * 2.1, radius * 2.1);
        }
        // The body in exactly the colour shown, with a small highlight at its upper left.
        p.setBrush(lit ? c : QColor(0x24, 0x26, 0x2c));
        p.setPen(QPen(QColor(0x50, 0x55, 0x5e), 1));
        p.drawEllipse(centre, radius, radius);
        const QPointF spot = centre - QPointF(radius * 0.35, radius * 0.35);
        QRadialGradient highlight(spot, radius * 0.5);
        highlight.setColorAt(0, QColor(255, 255, 255, lit ? 140 : 40));
        highlight.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(highlight);
        p.drawEllipse(spot, radius * 0.5, radius * 0.5);
    }
    // Number the first LED of each row, so the direction of the strip is clear.
    p.setPen(QColor(0x6c, 0x72, 0x7d));
    p.setFont(small);
    for (int r = 0; r < rowCount; ++r) {
        const double y = top + (r + 0.5) * cell;
        p.drawText(QRectF(left - kNumberWidth, y - 8, kNumberWidth - 2, 16),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(r * cols + 1));
    }
    const QPointF last = ledCentre(n - 1);
    p.drawText(QRectF(last.x() + cell / 2 + 2, last.y() - 8, kNumberWidth, 16),
               Qt::AlignLeft | Qt::AlignVCenter, QString::number(n));

    // Beside it, the settings.
    const QRectF panel(width() - kMargin - kPanelWidth, kHeader, kPanelWidth, strip.height());
    QPainterPath panelPath;
    panelPath.addRoundedRect(panel, 10, 10);
    p.fillPath(panelPath, QColor(0x1a, 0x1d, 0x22));
    p.setPen(QPen(QColor(0x3a, 0x3e, 0x46), 1));
    p.drawPath(panelPath);

    const Rgb colour = m_model.color();
    const int brightness = m_model.brightness();
    const struct {
        QString label;
        QString value;
    } lines[] = {
        {QStringLiteral("Colour"), QStringLiteral("%1, %2, %3").arg(colour.r).arg(colour.g).arg(colour.b)},
        {QStringLiteral("Brightness"), QString::number(brightness)},
        {QStringLiteral("Delay"), QStringLiteral("%1 ms").arg(m_model.delay())},
        {QStringLiteral("Length"), QStringLiteral("%1 LEDs").arg(n)},
        {QStringLiteral("Effect"), effectName(m_model.effectCode())},
    };
    const double lineHeight = std::min(24.0, (panel.height() - 16) / 5);
    QFont valueFont = font();
    valueFont.setBold(true);
    for (int i = 0; i < 5; ++i) {
        const QRectF row(panel.left() + 12, panel.top() + 8 + i * lineHeight, panel.width() - 24,
                         lineHeight);
        p.setFont(font());
        p.setPen(QColor(0x8a, 0x90, 0x9c));
        p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, lines[i].label);
        p.setFont(valueFont);
        p.setPen(QColor(0xe8, 0xea, 0xee));
        QRectF valueRow = row;
        if (i == 0) {
            // A swatch of the colour the sketch holds, at full strength.
            const QRectF swatch(row.right() - 14, row.center().y() - 7, 14, 14);
            p.setBrush(QColor(colour.r, colour.g, colour.b));
            p.setPen(QPen(QColor(0x6c, 0x72, 0x7d), 1));
            p.drawRoundedRect(swatch, 3, 3);
            p.setPen(QColor(0xe8, 0xea, 0xee));
            valueRow.setRight(swatch.left() - 6);
        }
        if (i == 1) {
            const QRectF bar(row.left() + 78, row.center().y() - 2, 60, 4);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x30, 0x34, 0x3b));
            p.drawRoundedRect(bar, 2, 2);
            p.setBrush(QColor(0xf2, 0xc1, 0x4e));
            p.drawRoundedRect(QRectF(bar.left(), bar.top(), bar.width() * std::clamp(brightness, 0, 255) / 255.0,
                                     bar.height()), 2, 2);
            p.setPen(QColor(0xe8, 0xea, 0xee));
        }
        p.drawText(valueRow, Qt::AlignRight | Qt::AlignVCenter, lines[i].value);
    }

    // The last exchange, for a quick look at what the program is doing.
    p.setFont(small);
    p.setPen(QColor(0x8a, 0x90, 0x9c));
    p.drawText(QRect(kMargin, height() - kFooter - 4, width() - 2 * kMargin, kFooter),
               Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("last frame  %1      last answer  %2")
                   .arg(lastText(m_model, true), lastText(m_model, false)));
}

}  // namespace stripmixer
