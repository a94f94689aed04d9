// The connection controls: finding ports, the baud list, Connect/Disconnect, the check timer,
// and the search window while connecting.

#include "strip_mixer.h"

#include "form_zoeken.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace stripmixer {

namespace {
const QString kConnect = QStringLiteral("Connect");
const QString kDisconnect = QStringLiteral("Disconnect");
}  // namespace

void StripMixer::CMD_ZoekPoorten_Click()
{
    if (m_link.isConnected()) {
        showMessage(QStringLiteral("Please first click Disconnect!"), MessageIcon::Critical,
                    QStringLiteral("Connected at this moment."));
        return;
    }
    scanPorts();
}

void StripMixer::ComboBaudRate_Click()
{
    // Takes effect at the next Connect; nothing is sent now.
    Label_Status_Baud->setText(ComboBaudRate->currentText() + QStringLiteral(" Baud"));
}

void StripMixer::CMD_Verbind_Click()
{
    // Disabled throughout, so the events run inside the handshake's wait cannot start a second one.
    CMD_Verbind->setEnabled(false);

    if (isBusyVisible()) {
        m_link.clock().processEvents();
    } else if (CMD_Verbind->property("tag").toString() == kConnect) {
        if (comNumberFromText(portComboText()) != 0) {
            CMD_Verbind->setProperty("tag", kDisconnect);
            showButtonPicture(CMD_Verbind, Picture_Disconnect);
            ComboBaudRate->setEnabled(false);
            m_link.OpenConnection();
            if (m_link.isConnected())
                Timer_CheckInterface->start();
            else
                ResetConnection();
        }
    } else {
        ResetConnection();
    }

    CMD_Verbind->setEnabled(true);
}

void StripMixer::ResetConnection()
{
    Timer_CheckInterface->stop();
    m_link.InterfaceFound = 0;
    showDisconnected();
    m_link.CloseConnection();
}

void StripMixer::Timer_CheckInterface_Timer()
{
    Timer_CheckInterface->stop();
    unloadSearchWindow();

    if (m_link.InterfaceFound != 0) {
        m_link.SendCommand(frame(Cmd::Brightness, HScroll_Brightness->value()));
        // A board that vanished under this write has reset the window already.
        if (m_link.isConnected())
            SetStatus(static_cast<int>(StatusCode::Ready));
        return;
    }

    CMD_Verbind->setProperty("tag", kConnect);
    showButtonPicture(CMD_Verbind, Picture_Connect);
    m_link.CloseConnection();
    ComboBaudRate->setEnabled(true);
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    showMessage(QStringLiteral("No Arduino found on ") + ComboPoorten->currentText()
                + QStringLiteral("!\r\rHave you uploaded the correct .ino file in the Arduino?\r"
                                 "It can be found in...\r")
                + folder + QStringLiteral("\r"));
    // Also puts "Not connected" in the status bar, which would otherwise still say "Connected".
    showDisconnected();
}

void StripMixer::connectionLost()
{
    // The link has closed the dead port already; the window forgets the connection.
    ResetConnection();
}

void StripMixer::showSearchWindow()
{
    if (!m_formZoeken)
        m_formZoeken = std::make_unique<FormZoeken>(this);
    m_formZoeken->show();
    m_formZoeken->raise();
    m_formZoeken->activateWindow();
    m_formZoeken->Form_Activate();
}

void StripMixer::hideSearchWindow()
{
    if (m_formZoeken)
        m_formZoeken->hide();
}

void StripMixer::unloadSearchWindow()
{
    m_formZoeken.reset();
}

}  // namespace stripmixer
