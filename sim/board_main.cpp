// stripmixer-board: the StripMixer_Effects_01 board, simulated on a pseudo-terminal.

#include "board_server.h"
#include "strip_view.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace stripmixer;

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
    (void)ignored;
}

const char *kDescription = R"(Plays the StripMixer_Effects_01 board on a pseudo-terminal, so StripMixer can be tried
without hardware. The terminal is named as Com N by the link DIR/comN; start StripMixer with
STRIPMIXER_COM_DIR=DIR and it lists "Com N".

What the board answers (every answer ends with CR LF):
  90/             its signature: AC (or what --signature says; nothing with --silent)
  91/  92/n/      NP and the strip length (92 sets 1 ... 99 from the integer part of n)
  10/  11/p/      show the colour on the whole strip / on LED p, then OK
  20/r/ 21/g/ 22/b/   set the colour's red, green, blue (0 ... 255), then OK
  80/d/           effect delay (0 ... 9999), then OK
  82/b/           brightness (0 ... 255), no answer (OK with --answer-brightness)
  50/             all LEDs off, then RE
  0/ ... 8/ 12/ 13/   play an effect, then RE when it has ended (seconds, following the delay
                  and the strip length; --time-scale shortens it)
  anything else   ER (an unknown code, a value out of range, a pixel past the strip)
Frames sent during an effect wait until it has ended, as on the real board; like its 64-byte
receive buffer, the board loses what comes beyond 64 bytes meanwhile.

Example:
  stripmixer-board --view --com-dir /tmp/coms --com 7 &
  STRIPMIXER_COM_DIR=/tmp/coms build/src/app/stripmixer

It ends on Ctrl+C or SIGTERM (or when its window is closed) and removes its link.)";

bool wantsView(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--view")
            return true;
    return false;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "stripmixer-board: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Shows this help."));
    const QCommandLineOption comDirOption(
        QStringLiteral("com-dir"),
        QStringLiteral("The folder for the link comN (created if missing). Default: $STRIPMIXER_COM_DIR."),
        QStringLiteral("DIR"));
    const QCommandLineOption comOption(QStringLiteral("com"),
                                       QStringLiteral("The Com number, 1 ... 255. Default: 7."),
                                       QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption signatureOption(
        QStringLiteral("signature"),
        QStringLiteral("The answer to 90/: AC (default), or ET, TM1638, AT, AL for another sketch."),
        QStringLiteral("XX"), QStringLiteral("AC"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Give no answer to 90/ (no sketch loaded)."));
    const QCommandLineOption pixelsOption(QStringLiteral("num-pixels"),
                                          QStringLiteral("The strip length at start, 1 ... 99. Default: 16."),
                                          QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption scaleOption(
        QStringLiteral("time-scale"),
        QStringLiteral("Multiplies the length of every effect (0.1: ten times faster). Default: 1."),
        QStringLiteral("F"), QStringLiteral("1"));
    const QCommandLineOption brightnessOption(QStringLiteral("answer-brightness"),
                                              QStringLiteral("Answer 82/ with OK, which the real board does not."));
    const QCommandLineOption transcriptOption(
        QStringLiteral("transcript"),
        QStringLiteral("Write every frame and answer to FILE as they happen, one line each: seconds since "
                       "the start, -> (from the program) or <- (from the board), the text."),
        QStringLiteral("FILE"));
    const QCommandLineOption viewOption(QStringLiteral("view"),
                                        QStringLiteral("Show a window that draws the strip."));
    parser.addOptions({helpOption, comDirOption, comOption, signatureOption, silentOption,
                       pixelsOption, scaleOption, brightnessOption, transcriptOption, viewOption});

    if (!parser.parse(arguments))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(helpOption)) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("stripmixer-board"));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1' (see --help)").arg(parser.positionalArguments().first()));

    BoardOptions options;
    bool ok = false;
    const int com = parser.value(comOption).toInt(&ok);
    if (!ok || com < 1 || com > 255)
        return fail(QStringLiteral("--com takes a number from 1 to 255"));
    options.numPixels = parser.value(pixelsOption).toInt(&ok);
    if (!ok || options.numPixels < 1 || options.numPixels > BoardModel::kMaxPixels)
        return fail(QStringLiteral("--num-pixels takes a number from 1 to 99"));
    options.timeScale = parser.value(scaleOption).toDouble(&ok);
    if (!ok || !(options.timeScale >= 0) || options.timeScale > 1000)
        return fail(QStringLiteral("--time-scale takes a number from 0 to 1000"));
    const QString signature = parser.value(signatureOption);
    if (signature.isEmpty() || signature.size() > 16)
        return fail(QStringLiteral("--signature takes 1 to 16 characters"));
    for (QChar c : signature)
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return fail(QStringLiteral("--signature takes printable ASCII characters only"));
    options.signature = signature.toStdString();
    options.silent = parser.isSet(silentOption);
    options.answerBrightness = parser.isSet(brightnessOption);
    QString comDir = parser.value(comDirOption);
    if (comDir.isEmpty())
        comDir = qEnvironmentVariable("STRIPMIXER_COM_DIR");
    if (comDir.isEmpty())
        return fail(QStringLiteral("say where to put the link: --com-dir DIR (see --help)"));

    bool view = wantsView(argc, argv);
    if (view && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // Serving the board matters more than drawing it.
        std::fprintf(stderr, "stripmixer-board: no display, so no strip window\n");
        view = false;
    }
    std::unique_ptr<QCoreApplication> app;
    if (view)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("stripmixer-board"));

    // Signals end the event loop through a pipe, so the link is removed on the way out.
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail(QStringLiteral("cannot create a pipe"));
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, app.get(), [] {
        char byte;
        while (::read(g_signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });

    BoardServer server(options);
    std::string error;
    if (!server.start(comDir.toStdString(), com, error))
        return fail(QString::fromStdString(error));
    if (parser.isSet(transcriptOption)
        && !server.openTranscript(parser.value(transcriptOption).toStdString(), error))
        return fail(QString::fromStdString(error));
    std::printf("stripmixer-board: Com %d is %s (%s)\n", com, server.devicePath().c_str(),
                server.linkPath().c_str());
    std::fflush(stdout);

    std::unique_ptr<StripView> window;
    if (view) {
        window = std::make_unique<StripView>(
            server.model(), QStringLiteral("Com %1  ·  %2  ·  %3")
                                .arg(com)
                                .arg(QString::fromStdString(server.devicePath()),
                                     QString::fromStdString(server.linkPath())));
        QObject::connect(&server, &BoardServer::changed, window.get(), qOverload<>(&QWidget::update));
        server.setAnimated(true);
        window->show();
    }

    const int result = app->exec();
    window.reset();
    server.stop();
    return result;
}
