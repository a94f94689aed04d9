#include "design_widgets.h"
#include "design.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace stripmixer {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

void setBackColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor backColor(const QWidget *widget)
{
    return widget->palette().color(widget->backgroundRole());
}

QFont designFont(Face face, double points, bool bold, bool italic)
{
    QFont font(face == Face::Comic ? QStringLiteral("Comic Sans MS") : QStringLiteral("MS Sans Serif"));
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(false);
    font.setStyleHint(face == Face::Comic ? QFont::Cursive : QFont::SansSerif);
    return font;
}

DesignFrame::DesignFrame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
    setAutoFillBackground(true);
}

void DesignFrame::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

void DesignFrame::setBorder(bool border)
{
    m_border = border;
    update();
}

void DesignFrame::paintEvent(QPaintEvent *)
{
    if (!m_border)
        return;
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QString caption = title();
    // The line runs through the middle of the caption.
    const int top = caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.adjusted(1, 1, 0, 0));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (caption.isEmpty())
        return;
    const int left = 6;
    const int width = std::min(metrics.horizontalAdvance(caption) + 4, this->width() - left - 2);
    const QRect textRect(left, 0, width, metrics.height());
    painter.fillRect(textRect, palette().color(backgroundRole()));
    painter.setPen(m_captionColor);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent)
{
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    // Taking the press makes the release come here too.
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release on the label, as with a button.
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

}  // namespace stripmixer
