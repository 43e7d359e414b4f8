// main() of the screen tests: one application object for the whole run, the client's own, created
// before any test and destroyed before Qt's own globals are.
#include <gtest/gtest.h>

#include "app/SerialsApplication.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    SerialsApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
