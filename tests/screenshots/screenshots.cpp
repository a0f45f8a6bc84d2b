// Pictures of the four screens for review by eye, with a front side and a
// back side filled in and interpreted.
//
//   kvt_screenshots OUTDIR SCALE     (SCALE 1 or 2; writes formN-name@SCALEx.png)

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void press(ScreenRegistry &screens, Screen screen, const QString &control)
{
    if (auto *button = screens.screen(screen)->findChild<QAbstractButton *>(control))
        button->click();
    else
        std::fprintf(stderr, "%s not found\n", qPrintable(control));
}

bool save(ScreenRegistry &screens, Screen screen, const QDir &out, const QString &name, const QString &scale)
{
    QWidget *window = screens.screen(screen);
    QCoreApplication::processEvents();
    const QString file = out.filePath(u"%1@%2x.png"_s.arg(name, scale));
    if (!window->grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SCALE\n", argv[0]);
        return 2;
    }
    const QString scale = QString::fromLocal8Bit(argv[2]);
    qputenv("QT_SCALE_FACTOR", scale.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KVT_SCREEN_CONFIG);

    QApplication app(argc, argv);
    Application::setUp(app);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(u"."_s))
        return 1;

    ScreenRegistry screens;
    screens.show(Screen::Welcome);
    bool ok = save(screens, Screen::Welcome, out, u"form1-welcome"_s, scale);
    press(screens, Screen::Welcome, u"Command1"_s);
    ok = save(screens, Screen::Menu, out, u"form2-menu"_s, scale) && ok;

    // A front side answered one tick per item, with words on every line.
    press(screens, Screen::Menu, u"Command1"_s);
    for (int box : {2, 6, 7, 10, 14, 16, 20, 24, 29, 25, 32, 35, 38, 47, 45, 74, 71, 67, 66, 62, 59, 57, 54, 41, 50})
        press(screens, Screen::FrontSheet, u"Check%1"_s.arg(box));
    press(screens, Screen::FrontSheet, u"Command1"_s);
    ok = save(screens, Screen::FrontSheet, out, u"form3-front"_s, scale) && ok;

    // A back side: minor difficulties for some months, some upset and interference.
    press(screens, Screen::FrontSheet, u"Command3"_s);
    for (int box : {2, 7, 11, 15, 18, 23, 26, 34})
        press(screens, Screen::BackSheet, u"Check%1"_s.arg(box));
    press(screens, Screen::BackSheet, u"Command2"_s);
    ok = save(screens, Screen::BackSheet, out, u"form4-back"_s, scale) && ok;
    return ok ? 0 : 1;
}
