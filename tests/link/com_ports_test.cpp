#include "com_ports.h"
#include "pty.h"

#include <gtest/gtest.h>

namespace stripmixer {
namespace {

TEST(ComDevicePath, FixedTableKeepsEachBlockInPlace)
{
    const std::pair<int, const char *> cases[] = {
        {1, "/dev/ttyS0"},    {32, "/dev/ttyS31"},  {33, "/dev/ttyUSB0"}, {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"}, {97, ""},            {255, ""},
        {0, ""},              {-1, ""},             {256, ""},
    };
    for (const auto &[number, path] : cases)
        EXPECT_EQ(comDevicePath(number, ""), path) << "Com " << number;
}

TEST(ComDevicePath, ComFolderReplacesTheTable)
{
    EXPECT_EQ(comDevicePath(7, "/tmp/ports"), "/tmp/ports/com7");
    EXPECT_EQ(comDevicePath(7, "/tmp/ports/"), "/tmp/ports/com7");
    EXPECT_EQ(comDevicePath(1, "/tmp/ports"), "/tmp/ports/com1");
    EXPECT_EQ(comDevicePath(200, "/tmp/ports"), "/tmp/ports/com200");
    EXPECT_EQ(comDevicePath(255, "/tmp/ports"), "/tmp/ports/com255");
    EXPECT_EQ(comDevicePath(0, "/tmp/ports"), "");
    EXPECT_EQ(comDevicePath(256, "/tmp/ports"), "");
}

TEST(ComDevicePath, ReadsTheFolderFromTheEnvironment)
{
    test::ComDir dir;
    ASSERT_FALSE(dir.path().empty());
    dir.setEnvironment();
    EXPECT_EQ(comDevicePath(12), dir.path() + "/com12");
    EXPECT_EQ(comDevicePath(98), dir.path() + "/com98");
}

}  // namespace
}  // namespace stripmixer
