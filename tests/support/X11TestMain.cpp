// Runs GoogleTest inside a Qt application on a real X server (the one DISPLAY names), for the
// tests that need what the offscreen platform lacks: key grabs and input from other clients.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
