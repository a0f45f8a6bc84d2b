// The program as main() starts it, driven to one of the ways it ends, so
// that a test can see the process end by itself and with status 0.
//
//   kvt_endhelper exit-button | close-menu | close-welcome

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void press(ScreenRegistry &screens, Screen screen, const QString &control)
{
    if (auto *button = screens.screen(screen)->findChild<QAbstractButton *>(control))
        button->click();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);

    ScreenRegistry screens;
    screens.show(Screen::Welcome);

    const QString scenario = QCoreApplication::arguments().value(1);
    QTimer::singleShot(0, &screens, [&screens, scenario] {
        if (scenario == u"close-welcome"_s) {
            screens.screen(Screen::Welcome)->close();
            return;
        }
        // Both sides open and holding answers when the program ends.
        press(screens, Screen::Welcome, u"Command1"_s);
        press(screens, Screen::Menu, u"Command1"_s);
        press(screens, Screen::FrontSheet, u"Check19"_s);
        press(screens, Screen::FrontSheet, u"Command3"_s);
        press(screens, Screen::BackSheet, u"Check12"_s);
        if (scenario == u"exit-button"_s)
            press(screens, Screen::Menu, u"Command4"_s);
        else if (scenario == u"close-menu"_s)
            screens.screen(Screen::Menu)->close();
    });
    return QApplication::exec();
}
