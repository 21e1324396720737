// The entry of every test program that needs a QApplication. The tests run
// in an environment of their own, whatever the caller's session exports:
// see clean_environment.h for what comes through and what a test's command
// line may add (NAME=VALUE arguments).

#include "linux/application.h"
#include "support/clean_environment.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Before the QApplication: it reads the platform, scale, locale and
    // fonts from the environment as it starts.
    const testing_support::CleanEnvironment environment(argc, argv);
    QApplication app(argc, argv);
    linux_ui::setUpApplication();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
