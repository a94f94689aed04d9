#include "com_ports.h"

#include <cstdlib>
#include <iterator>

namespace stripmixer {

std::string comDevicePath(int number, const std::string &comDir)
{
    if (number < kFirstComNumber || number > kLastComNumber)
        return {};

#ifdef _WIN32
    (void)comDir;
    return "\\\\.\\COM" + std::to_string(number);
#else
    if (!comDir.empty()) {
        std::string folder = comDir;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        if (folder != "/")
            folder += '/';
        return folder + "com" + std::to_string(number);
    }

    // Fixed blocks of 32, so a device keeps its number whatever else is plugged in.
    static constexpr const char *kBlocks[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM"};
    constexpr int kBlockSize = 32;
    const int block = (number - 1) / kBlockSize;
    if (block >= static_cast<int>(std::size(kBlocks)))
        return {};
    return kBlocks[block] + std::to_string((number - 1) % kBlockSize);
#endif
}

std::string comDevicePath(int number)
{
    const char *comDir = std::getenv("STRIPMIXER_COM_DIR");
    return comDevicePath(number, comDir ? std::string(comDir) : std::string());
}

}  // namespace stripmixer
