#include "shell/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

// The average width of the Latin letters, as the classic dialog manager
// measures its base unit.
int BaseUnitX(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

} // namespace

QRect DialogUnitsToPixels(const QWidget* dialog, int x, int y, int width, int height) {
    const QFontMetrics metrics = dialog->fontMetrics();
    const int baseX = BaseUnitX(metrics);
    const int baseY = metrics.height();
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}
