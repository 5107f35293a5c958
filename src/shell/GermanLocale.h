#pragma once

// Qt's own dialogs write dates, times and sizes in the system's locale, which
// Qt reads once from the environment. Called before the application object
// is made, this makes that locale German for Qt alone; the C library keeps
// the user's (the core reads and writes bytes, not numbers in words).
void UseGermanSystemLocaleForQt();
