// The main of every test executable: a GUI application on Qt's offscreen
// platform, the unit start-up list of the library under test, and pinned
// locale settings, so results never depend on the machine.

#include "toolkit/Units.h"

#include <QApplication>
#include <gtest/gtest.h>

#ifndef TEST_REGISTER_UNITS
#define TEST_REGISTER_UNITS RegisterToolkitUnits
#endif
void TEST_REGISTER_UNITS();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    TEST_REGISTER_UNITS();
    Units::InitializeAll();
    const int result = RUN_ALL_TESTS();
    Units::FinalizeAll();
    return result;
}
