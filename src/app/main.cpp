// StripMixer: the real serial port, the real clock and the main window.

#include "qt_clock.h"
#include "strip_mixer.h"

#ifdef _WIN32
#include "serial_port_win32.h"
#else
#include "serial_port_posix.h"
#endif

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("StripMixer"));
    // The design's colours (black text on button face, coloured buttons) need a style that
    // paints palettes as given, and a light palette whatever the desktop's theme.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
        QApplication::setPalette(fusion->standardPalette());
    }
    stripmixer::StripMixer::installFonts();

#ifdef _WIN32
    stripmixer::Win32SerialPort port;
#else
    stripmixer::PosixSerialPort port;
#endif
    stripmixer::QtClock clock;
    stripmixer::StripMixer window(port, clock);
    window.show();
    return app.exec();
}
