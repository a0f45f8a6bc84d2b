#include "application.h"
#include "instancehandoff.h"
#include "screenregistry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A class file opened from the desktop goes to the copy already running.
    const QStringList classFiles = QApplication::arguments().mid(1);
    if (!classFiles.isEmpty() && handOverToRunningCopy(classFiles.front()))
        return 0;
    Application::setUp(app);

    ScreenRegistry screens;
    screens.start(classFiles);
    return QApplication::exec();
}
