// The program as main() starts it, driven to one of the ways it ends, so
// that a test can see the process end by itself and with status 0.
//
//   kvt_endhelper exit-button | close-menu | close-welcome | leave-class

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void press(ScreenRegistry &screens, Screen screen, const QString &control)
{
    if (auto *button = screens.screen(screen)->findChild<QAbstractButton *>(control))
        button->click();
}

void choose(ScreenRegistry &screens, Screen screen, const QString &entry)
{
    for (QAction *action : screens.screen(screen)->actions())
        if (action->objectName() == entry)
            action->trigger();
}

// Answers the question before the class is lost with the button that is
// not the default: leaving.
void leaveWhenAsked(QObject *owner)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, timer, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton *button : box->buttons())
            if (button != box->defaultButton())
                button->click();
    });
    timer->start(10);
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
        if (scenario == u"leave-class"_s) {
            // A child in the class list and the class in no file: ending asks first.
            choose(screens, Screen::BackSheet, u"FinishChild"_s);
            choose(screens, Screen::FrontSheet, u"FinishChild"_s); // past the notice
            leaveWhenAsked(&screens);
            press(screens, Screen::Menu, u"Command4"_s);
            return;
        }
        if (scenario == u"exit-button"_s)
            press(screens, Screen::Menu, u"Command4"_s);
        else if (scenario == u"close-menu"_s)
            screens.screen(Screen::Menu)->close();
    });
    return QApplication::exec();
}
