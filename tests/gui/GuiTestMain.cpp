#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests: GoogleTest cases driving real widgets through QTest.
int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
