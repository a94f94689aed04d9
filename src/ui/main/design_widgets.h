#pragma once

// Small widgets that give the window its designed look and events.

#include <QColor>
#include <QGroupBox>
#include <QLabel>

namespace stripmixer {

// A frame as designed: an etched border with its caption on the top line, drawn in its own
// caption colour so the children keep their own text colours. Borderless frames are plain
// coloured panels.
class DesignFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit DesignFrame(const QString &caption, QWidget *parent = nullptr);

    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);
    bool hasBorder() const { return m_border; }
    void setBorder(bool border);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_captionColor = Qt::black;
    bool m_border = true;
};

// A label or picture that reports clicks, like the title and the status bar's address.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

}  // namespace stripmixer
