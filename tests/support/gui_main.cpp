// main() of the screen tests: one QApplication for the whole run, created before any test and
// destroyed before Qt's own globals are.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
