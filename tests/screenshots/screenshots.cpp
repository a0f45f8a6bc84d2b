// Pictures of the four screens for review by eye and for the staff guide,
// with a front side and a back side filled in and interpreted, the back side's
// copy menu open, and a front side with a skipped and a doubled item.
//
//   kvt_screenshots OUTDIR SCALE     (SCALE 1 or 2; writes formN-name@SCALEx.png)

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
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

bool savePicture(const QPixmap &picture, const QDir &out, const QString &name, const QString &scale)
{
    const QString file = out.filePath(u"%1@%2x.png"_s.arg(name, scale));
    if (!picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

bool save(ScreenRegistry &screens, Screen screen, const QDir &out, const QString &name, const QString &scale)
{
    QCoreApplication::processEvents();
    return savePicture(screens.screen(screen)->grab(), out, name, scale);
}

// The part of a window's picture that a guide's paragraph is about, in the window's pixels.
QPixmap part(const QPixmap &picture, const QRect &area)
{
    const qreal ratio = picture.devicePixelRatio();
    return picture.copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toRect());
}

// The window with its right-click menu open at `at`, as the user sees it. The
// menu runs its own event loop; it is drawn and closed from inside that loop.
QPixmap withContextMenu(QWidget *window, QPoint at)
{
    QCoreApplication::processEvents();
    QPixmap picture = window->grab();
    QTimer::singleShot(0, window, [window, &picture] {
        QWidget *menu = QApplication::activePopupWidget();
        if (!menu) {
            std::fprintf(stderr, "no context menu\n");
            return;
        }
        QPainter painter(&picture);
        painter.drawPixmap(window->mapFromGlobal(menu->pos()), menu->grab());
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QCoreApplication::sendEvent(window, &event);
    return picture;
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

    // Both sides scored: the menu that copies the child's row, opened above the score
    // where it hides no answer; the right half, from the family's burden down.
    const QPixmap menu = withContextMenu(screens.screen(Screen::BackSheet), QPoint(612, 236));
    ok = savePicture(part(menu, QRect(338, 196, 423, 230)), out, u"form4-copymenu"_s, scale) && ok;

    // The same front side with item 4 left out and item 9 ticked twice: the
    // items and the notice under "แปลผล".
    for (int box : {10, 28})
        press(screens, Screen::FrontSheet, u"Check%1"_s.arg(box));
    press(screens, Screen::FrontSheet, u"Command1"_s);
    QCoreApplication::processEvents();
    const QPixmap notice = screens.screen(Screen::FrontSheet)->grab();
    ok = savePicture(part(notice, QRect(0, 0, 406, 448)), out, u"form3-notice"_s, scale) && ok;
    return ok ? 0 : 1;
}
