#pragma once

#include <QApplication>

// Widgets need one application object per process; tests share it. It lives
// until the process ends: destroying it among other static objects would
// outlive the input devices that simulated clicks register.
inline QApplication& EnsureQApplication()
{
    static int argc = 1;
    static char name[] = "ombrel-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
