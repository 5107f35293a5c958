#include "TempDir.h"

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs the program without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The settings (recent-file list) of the tests stay away from the user's.
    CTempDir settingsDir;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settingsDir.Path()));
    QApplication application(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir.Path()));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
