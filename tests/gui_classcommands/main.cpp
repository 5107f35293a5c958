// The same start-up as the desktop program's other tests.
#include "../gui/main.cpp"
