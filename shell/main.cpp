#include "application.h"
#include "screenregistry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);

    ScreenRegistry screens;
    screens.show(Screen::Welcome);
    return QApplication::exec();
}
