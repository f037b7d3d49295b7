#pragma once

#include <QApplication>

// Widgets need one application object per process; tests share it.
inline QApplication& EnsureQApplication()
{
    static int argc = 1;
    static char name[] = "ombrel-tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
