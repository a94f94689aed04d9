#include "form_zoeken.h"

#include "design.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace stripmixer {

namespace {

// A picture box: a sunken frame that shows its picture at the top left and cuts it off at its
// own edge, so narrowing the box uncovers the picture rather than squeezing it.
class PictureBox : public QFrame
{
public:
    PictureBox(const QPixmap &picture, const QColor &background, QWidget *parent)
        : QFrame(parent), m_picture(picture)
    {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        // The box ends a few pixels past the picture when fully open; fill that sliver in the
        // picture's own dark tone instead of the window grey.
        QPalette pal = palette();
        pal.setColor(QPalette::Window, background);
        setPalette(pal);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        const QRect inside = contentsRect();
        if (inside.isEmpty())
            return;
        QPainter painter(this);
        painter.setClipRect(inside);
        painter.drawPixmap(inside.topLeft(), m_picture);
    }

private:
    QPixmap m_picture;
};

QLabel *boxLabel(const QString &name, const QString &text, const QColor &back, const QColor &fore,
                 QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignCenter);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, fore);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
    return label;
}

}  // namespace

FormZoeken::FormZoeken(QWidget *parent)
    // A tool window has no task-bar entry, stays with the main window and can still be
    // activated, which is what restarts the reveal; a splash screen would not take activation.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormZoeken"));
    setFixedSize(twips(4305), twips(2790));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = boxLabel(QStringLiteral("Label1"), QStringLiteral("Searching"), Qt::black,
                      QColor(255, 192, 128), this);
    Label1->setFont(designFont(Face::Comic, 14.25, true, true));
    Label1->setGeometry(twipsRect(120, 120, 4065, 510));

    Label2 = boxLabel(QStringLiteral("Label2"), QString(), QColor(45, 45, 45), Qt::black, this);
    Label2->setGeometry(twipsRect(120, 615, 4065, 2055));

    // Created after Label2, so it lies above the panel.
    Picture_Arduino = new PictureBox(QPixmap(QStringLiteral(":/pictures/arduino_nano.png")),
                                     QColor(45, 45, 45), this);
    Picture_Arduino->setObjectName(QStringLiteral("Picture_Arduino"));
    setPictureWidthTwips(0);

    Timer_Zoeken = new QTimer(this);
    Timer_Zoeken->setObjectName(QStringLiteral("Timer_Zoeken"));
    Timer_Zoeken->setInterval(10);
    connect(Timer_Zoeken, &QTimer::timeout, this, &FormZoeken::Timer_Zoeken_Timer);
}

FormZoeken::~FormZoeken() = default;

void FormZoeken::Form_Activate()
{
    setPictureWidthTwips(0);
    Timer_Zoeken->start();
}

void FormZoeken::Timer_Zoeken_Timer()
{
    if (m_pictureWidthTwips < kRevealLimitTwips) {
        setPictureWidthTwips(m_pictureWidthTwips + kRevealStepTwips);
        Picture_Arduino->update();
    } else {
        Timer_Zoeken->stop();
    }
}

void FormZoeken::setPictureWidthTwips(int twips)
{
    m_pictureWidthTwips = twips;
    Picture_Arduino->setGeometry(twipsRect(360, 840, twips, 1605));
}

bool FormZoeken::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void FormZoeken::showEvent(QShowEvent *event)
{
    centreOnScreen();
    QWidget::showEvent(event);
}

void FormZoeken::centreOnScreen()
{
    QScreen *target = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(target->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace stripmixer
