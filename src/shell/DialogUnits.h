#pragma once

#include <QRect>

class QWidget;

// Dialog layouts are given in dialog units: a quarter of the font's average
// character width across, an eighth of its height down.
QRect DialogUnitsToPixels(const QWidget* dialog, int x, int y, int width, int height);
