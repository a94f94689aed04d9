#pragma once

// A small window that draws the simulated strip as it is now: each LED in its colour at the
// board's brightness, with the board's colour, brightness, delay and length beside it.

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int columns() const;
    int rows() const;

    const BoardModel &m_model;
    QString m_subtitle;
};

}  // namespace stripmixer
