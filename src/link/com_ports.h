#pragma once

// Which device "Com N" means. On Windows it is \\.\COMN. On Linux a fixed table keeps a device's
// number whatever else is plugged in; STRIPMIXER_COM_DIR replaces the table with a folder whose
// entries comN name the devices.

#include <string>

namespace stripmixer {

inline constexpr int kFirstComNumber = 1;
inline constexpr int kLastComNumber = 255;

// The device path for Com `number`, or "" when that number stands for no device.
// `comDir` is the value of STRIPMIXER_COM_DIR ("" when unset).
std::string comDevicePath(int number, const std::string &comDir);

// The same, reading STRIPMIXER_COM_DIR from the environment.
std::string comDevicePath(int number);

}  // namespace stripmixer
