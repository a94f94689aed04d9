#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace stripmixer {

// The small "Searching" window shown while a connection is being made: it slowly uncovers a
// picture of the board from the left. It has no buttons and no say in the connection.
class FormZoeken : public QWidget
{
    Q_OBJECT

public:
    explicit FormZoeken(QWidget *parent = nullptr);
    ~FormZoeken() override;

    // Restarts the reveal. Runs on every activation; the main window also calls it when it shows
    // the form, because some platforms never activate a window.
    void Form_Activate();

    // One step of the reveal (Timer_Zoeken's handler).
    void Timer_Zoeken_Timer();

    // Width of Picture_Arduino in twips; the control shows it at the nearest pixel.
    int pictureWidthTwips() const { return m_pictureWidthTwips; }

    static constexpr int kRevealLimitTwips = 3510;
    static constexpr int kRevealStepTwips = 50;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setPictureWidthTwips(int twips);
    void centreOnScreen();

    QLabel *Label1;
    QLabel *Label2;
    QFrame *Picture_Arduino;
    QTimer *Timer_Zoeken;
    int m_pictureWidthTwips = 0;
};

}  // namespace stripmixer
