#include "shell/GermanLocale.h"

#include <QByteArray>
#include <QLocale>
#include <QtGlobal>

void UseGermanSystemLocaleForQt() {
    const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray previous = qgetenv("LC_ALL");
    qputenv("LC_ALL", "de_DE.UTF-8");
    // The first question makes Qt read the environment, once.
    (void)QLocale::system().name();
    if (wasSet) {
        qputenv("LC_ALL", previous);
    } else {
        qunsetenv("LC_ALL");
    }
}
