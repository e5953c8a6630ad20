#include "ui/modSubclassing.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

TEST(ModSubclassing, KeepsTheWindowFromGettingSmallerUntilUnhooked)
{
    QWidget window;
    window.resize(600, 500);
    modSubclassing::Hook(window, modSubclassing::mainWindowMinimum);
    window.resize(100, 450);
    EXPECT_EQ(window.size(), QSize(400, 450));
    modSubclassing::Unhook(window);
    window.resize(100, 100);
    EXPECT_EQ(window.size(), QSize(100, 100));
}

} // namespace
} // namespace twinscan
