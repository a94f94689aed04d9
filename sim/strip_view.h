#pragma once

// A small window that draws the simulated strip as it is now: each LED in its colour at the
// board's brightness, with the board's colour, brightness, delay and length beside it.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace stripmixer {

class BoardModel;

class StripView : public QWidget {
    Q_OBJECT

public:
    // `model` must outlive the view.
    explicit StripView(const BoardModel &model, const QString &subtitle, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where LED `index` is drawn, at the widget's present size.
    QPointF ledCentre(int index) const;
    double ledRadius() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Geometry {
        QRectF strip;
        double cell;
        double left;
        double top;
    };
    Geometry geometry() const;
    int columns() const;
    int rows() const;

    const BoardModel &m_model;
    QString m_subtitle;
};

}  // namespace stripmixer
