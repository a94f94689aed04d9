// The connection controls: finding ports, the baud list, Connect/Disconnect, the check timer,
// and the search window while connecting.

#include "strip_mixer.h"

namespace stripmixer {

void StripMixer::CMD_ZoekPoorten_Click()
{
}

void StripMixer::CMD_Verbind_Click()
{
}

void StripMixer::ComboBaudRate_Click()
{
}

void StripMixer::ResetConnection()
{
}

void StripMixer::Timer_CheckInterface_Timer()
{
}

void StripMixer::connectionLost()
{
}

void StripMixer::showSearchWindow()
{
}

void StripMixer::hideSearchWindow()
{
}

void StripMixer::unloadSearchWindow()
{
}

}  // namespace stripmixer
