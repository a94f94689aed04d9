#include "strip_mixer.h"

#include "communication_log.h"
#include "design.h"
#include "design_widgets.h"
#include "form_zoeken.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace stripmixer {

namespace {

StripMixer::MessageBoxHook &messageBoxHook()
{
    static StripMixer::MessageBoxHook hook;
    return hook;
}

// Frames and answers carry one byte per character: Latin-1 here, the ANSI code page on Windows.
QString fromWire(const std::string &bytes)
{
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
#else
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
#endif
}

std::string toWire(const QString &text)
{
#ifdef Q_OS_WIN
    const QByteArray bytes = text.toLocal8Bit();
#else
    const QByteArray bytes = text.toLatin1();
#endif
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace

StripMixer::StripMixer(SerialPort &port, Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_link(port, clock, *this)
    , m_endAction([] {
        std::fflush(nullptr);
        std::_Exit(0);
    })
{
    installFonts();
    buildWindow();
    connectSignals();
    Form_Load();
}

StripMixer::~StripMixer()
{
    // Nothing is left holding the port when the window goes another way than ending.
    if (m_link.isConnected())
        m_link.CloseConnection();
}

void StripMixer::installFonts()
{
    static const bool installed = [] {
        QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
        return true;
    }();
    (void)installed;
}

void StripMixer::connectSignals()
{
    connect(CMD_ZoekPoorten, &QPushButton::clicked, this, &StripMixer::CMD_ZoekPoorten_Click);
    connect(CMD_Verbind, &QPushButton::clicked, this, &StripMixer::CMD_Verbind_Click);
    connect(ComboBaudRate, &QComboBox::activated, this, &StripMixer::ComboBaudRate_Click);
    connect(Timer_CheckInterface, &QTimer::timeout, this, &StripMixer::Timer_CheckInterface_Timer);
    connect(CMD_Close, &QPushButton::clicked, this, &StripMixer::CMD_Close_Click);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &StripMixer::endProgram);
}

void StripMixer::Form_Load()
{
    setFixedSize(kCompactWidth, kHeight);

    Picture_Backup->setPixmap(m_backgroundPicture);

    ComboPoorten->clear();
    ComboPoorten->setEditText(QStringLiteral("Not found"));

    setWindowTitle(QStringLiteral("StripMixer %1.%2.%3")
                       .arg(STRIPMIXER_VERSION_MAJOR)
                       .arg(STRIPMIXER_VERSION_MINOR)
                       .arg(STRIPMIXER_VERSION_PATCH));

    scanPorts();

    ComboBaudRate->addItems({QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200"),
                             QStringLiteral("38400"), QStringLiteral("57600"),
                             QStringLiteral("115200"), QStringLiteral("128000")});
    // Adding the first entry selects it; the text stays "Baud Rate" (115200 when connecting).
    ComboBaudRate->setCurrentIndex(-1);
    ComboBaudRate->setEditText(QStringLiteral("Baud Rate"));

    Label_Status_Baud->setText(QStringLiteral("115200 Baud"));
    Label_Status_Connected->setText(QStringLiteral("Not connected"));
    setBackColor(Label_Status_Connected, backColor(Label_NotConnected));

    SelectedColor();
    SetStatus(0);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void StripMixer::scanPorts()
{
    ComboPoorten->clear();
    ComboPoorten->setEditText(QStringLiteral("Not found"));
    QStringList devices;
    QStringList refused;
    for (int number = 1; number <= 255; ++number) {
        const QString entry = QStringLiteral("Com %1").arg(number);
        int error = 0;
        if (!m_link.PortExists(number, error)) {
            // Not listed, as a port that cannot be opened; but say why, or the commonest
            // problem on Linux (not in the dialout group) would look like "no board".
            if (SystemErrors::isPermissionDenied(error))
                refused << entry + QStringLiteral(": ") + QString::fromStdString(permissionHint(number));
            continue;
        }
        ComboPoorten->addItem(entry);
        ComboPoorten->setCurrentIndex(ComboPoorten->count() - 1);
        ComboPoorten->setEditText(entry);
        const QString device = QString::fromStdString(m_link.port().deviceName(number));
        devices << (device.isEmpty() ? entry : entry + QStringLiteral(": ") + device);
    }
    if (devices.isEmpty())
        devices << QStringLiteral("No serial port could be opened");
    ComboPoorten->setToolTip((devices + refused).join(QChar(u'\n')));
}

void StripMixer::SetStatus(int code)
{
    QLabel *shown = nullptr;
    switch (code) {
    case 0: shown = Label_NotConnected; break;
    case 1: shown = Label_Ready; break;
    case 2: shown = Label_Busy; break;
    default: return;
    }
    Label_NotConnected->setVisible(shown == Label_NotConnected);
    Label_Ready->setVisible(shown == Label_Ready);
    Label_Busy->setVisible(shown == Label_Busy);
    setBackColor(Picture_Status, backColor(shown));
}

void StripMixer::SelectedColor()
{
    setBackColor(Picture_Selected_Color, QColor(255 - VScroll_Red->value(), 255 - VScroll_Green->value(),
                                           255 - VScroll_Blue->value()));
}

bool StripMixer::isReadyVisible() const
{
    return !Label_Ready->isHidden();
}

bool StripMixer::isBusyVisible() const
{
    return !Label_Busy->isHidden();
}

void StripMixer::appendToLog(const std::string &entry)
{
    Text_Communication->appendEntry(fromWire(entry));
    Text_Communication->repaint();
}

QString StripMixer::communicationText() const
{
    return Text_Communication->text();
}

void StripMixer::setMessageBoxHook(MessageBoxHook hook)
{
    messageBoxHook() = std::move(hook);
}

void StripMixer::messageBox(const std::string &text, MessageIcon icon, const std::string &title)
{
    showMessage(fromWire(text), icon, fromWire(title));
}

void StripMixer::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    const QString caption = title.isEmpty() ? QString::fromLatin1(kApplicationTitle) : title;
    if (const MessageBoxHook &hook = messageBoxHook()) {
        hook(text, icon, caption);
        return;
    }
    QMessageBox box(this);
    box.setWindowTitle(caption);
    // The texts break their lines with a lone CR; shown as plain text, whatever they carry.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::string StripMixer::portComboText() const
{
    return toWire(ComboPoorten->currentText());
}

std::string StripMixer::baudComboText() const
{
    return toWire(ComboBaudRate->currentText());
}

int StripMixer::redPosition() const { return VScroll_Red->value(); }
int StripMixer::greenPosition() const { return VScroll_Green->value(); }
int StripMixer::bluePosition() const { return VScroll_Blue->value(); }
int StripMixer::waitValue() const { return HScroll_Wait->value(); }

void StripMixer::showNumPixels(const std::string &count)
{
    Label_NumPixels->setText(fromWire(count));
    Label_NumPixels->repaint();
}

void StripMixer::clearEffectInfo()
{
    Label_Info->setText(QStringLiteral("-"));
    setBackColor(Label_Info, buttonFace());
    Label_Info->repaint();
}

void StripMixer::showConnected()
{
    Label_Status_Connected->setText(QStringLiteral("Connected"));
    setBackColor(Label_Status_Connected, backColor(Label_Ready));
    Label_Status_Connected->repaint();
}

void StripMixer::showDisconnected()
{
    CMD_Verbind->setProperty("tag", QStringLiteral("Connect"));
    showButtonPicture(CMD_Verbind, Picture_Connect);
    SetStatus(0);
    Label_Status_Connected->setText(QStringLiteral("Not connected"));
    setBackColor(Label_Status_Connected, backColor(Label_NotConnected));
    ComboBaudRate->setEnabled(true);
}

void StripMixer::setEndAction(std::function<void()> action)
{
    m_endAction = std::move(action);
}

void StripMixer::CMD_Close_Click()
{
    endProgram();
}

void StripMixer::closeEvent(QCloseEvent *event)
{
    endProgram();
    event->accept();
}

void StripMixer::endProgram()
{
    if (m_link.isConnected())
        m_link.CloseConnection();
    if (m_endAction)
        m_endAction();
}

void StripMixer::paintEvent(QPaintEvent *)
{
    // The background colour is filled in already; the picture is larger than the window and
    // is simply cut off at its edges.
    if (m_backgroundPicture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_backgroundPicture);
}

}  // namespace stripmixer
