#include "app/VorlixApp.h"
#include "shell/GermanLocale.h"
#include "shell/MainFrame.h"
#include "shell/QtUserInterface.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Vorlix " VORLIX_VERSION);
        return 0;
    }
    UseGermanSystemLocaleForQt();
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own dialog texts in German too, where the translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    CQtUserInterface ui;
    CVorlixApp app(ui);
    if (!app.InitInstance()) {
        return 1;
    }
    ui.SetOwner(app.GetMainFrame());
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
