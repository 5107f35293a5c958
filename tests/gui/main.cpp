#include "TempDir.h"
#include "shell/GermanLocale.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QSettings>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A fresh process that starts as the program does and reports Qt's locale.
    if (argc == 2 && std::strcmp(argv[1], "--locale-probe") == 0) {
        UseGermanSystemLocaleForQt();
        const QLocale system = QLocale::system();
        std::printf("%s %s\n",
                    qPrintable(system.toString(QDate(2026, 12, 7), QLocale::ShortFormat)),
                    qPrintable(system.formattedDataSize(123456)));
        return 0;
    }
    // The settings (recent-file list) of the tests stay away from the user's.
    CTempDir settingsDir;
    // Test discovery runs the program without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settingsDir.Path()));
    QApplication application(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir.Path()));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
