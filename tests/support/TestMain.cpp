#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test executable runs with its own empty configuration and cache
// folders, so no test reads or writes the user's settings. Qt reads
// XDG_CONFIG_HOME once per process, so it is set before anything else.
int main(int argc, char** argv) {
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", (scratch.path() + "/config").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (scratch.path() + "/cache").toLocal8Bit());

    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
