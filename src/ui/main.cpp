#include "ui/app/COrlixApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    COrlixApp app;
    return app.Run();
}
