// Pictures of the four screens for review by eye and for the staff guide,
// with a front side and a back side filled in and interpreted, the back side's
// copy menu open, a front side with a skipped and a doubled item, and the
// class list beside the front side after a few papers of a pasted roster.
//
//   kvt_screenshots OUTDIR SCALE     (SCALE 1 or 2; writes formN-name@SCALEx.png)

#include "application.h"
#include "backanswers.h"
#include "classdocument.h"
#include "frontscoring.h"
#include "screenregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QTableView>
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
        // A menu reaching past the window's edge widens the picture with the window's ground.
        const QRect menuArea(window->mapFromGlobal(menu->pos()), menu->size());
        const QRect whole = window->rect().united(menuArea);
        QPixmap widened((QSizeF(whole.size()) * picture.devicePixelRatio()).toSize());
        widened.setDevicePixelRatio(picture.devicePixelRatio());
        widened.fill(window->palette().color(QPalette::Window));
        {
            QPainter painter(&widened);
            painter.drawPixmap(-whole.topLeft(), picture);
            painter.drawPixmap(menuArea.topLeft() - whole.topLeft(), menu->grab());
        }
        picture = widened;
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QCoreApplication::sendEvent(window, &event);
    return picture;
}

// Ticks a paper as the keys would: one digit per front item and per back row,
// 1 for the first answer on the screen; 0 leaves the item or row blank.
void tickPaper(ScreenRegistry &screens, const char *front, const char *back)
{
    for (int item = 1; item <= Front::kItemCount && front[item - 1] != '\0'; ++item)
        if (const int answer = front[item - 1] - '0'; answer > 0)
            press(screens, Screen::FrontSheet,
                u"Check%1"_s.arg(Front::itemRow(item).cells[static_cast<std::size_t>(answer - 1)].box));
    if (*back == '\0')
        return;
    press(screens, Screen::FrontSheet, u"Command3"_s); // "ด้านหลัง"
    for (int row = 0; row < Back::kRowCount && back[row] != '\0'; ++row)
        if (const int answer = back[row] - '0'; answer > 0)
            press(screens, Screen::BackSheet,
                u"Check%1"_s.arg(Back::answerRow(Back::Row(row)).answers[static_cast<std::size_t>(answer - 1)]));
}

// Windows side by side on a plain ground, each in a thin frame, as they stand on the screen.
QPixmap sideBySide(const QPixmap &left, const QPixmap &right)
{
    const qreal ratio = left.devicePixelRatio();
    const QSizeF leftSize = left.deviceIndependentSize();
    const QSizeF rightSize = right.deviceIndependentSize();
    constexpr qreal kGap = 12;
    const QSizeF size(
        leftSize.width() + rightSize.width() + 3 * kGap, std::max(leftSize.height(), rightSize.height()) + 2 * kGap);
    QPixmap picture((size * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(QColor(0xd8, 0xdc, 0xe4));
    QPainter painter(&picture);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    const QPointF leftAt(kGap, kGap);
    const QPointF rightAt(2 * kGap + leftSize.width(), kGap);
    painter.drawPixmap(leftAt, left);
    painter.drawPixmap(rightAt, right);
    painter.drawRect(QRectF(leftAt, leftSize).adjusted(-1, -1, 0, 0));
    painter.drawRect(QRectF(rightAt, rightSize).adjusted(-1, -1, 0, 0));
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

    // Both sides scored: the menu that copies the child's row, opened under the score
    // where it hides no answer, only buttons; the right half, from the family's burden down.
    const QPixmap menu = withContextMenu(screens.screen(Screen::BackSheet), QPoint(505, 332));
    ok = savePicture(part(menu, QRect(338, 196, 423, 244)), out, u"form4-copymenu"_s, scale) && ok;

    // The same front side with item 4 left out and item 9 ticked twice: the
    // items and the notice under "แปลผล".
    for (int box : {10, 28})
        press(screens, Screen::FrontSheet, u"Check%1"_s.arg(box));
    press(screens, Screen::FrontSheet, u"Command1"_s);
    QCoreApplication::processEvents();
    const QPixmap notice = screens.screen(Screen::FrontSheet)->grab();
    ok = savePicture(part(notice, QRect(0, 0, 406, 448)), out, u"form3-notice"_s, scale) && ok;

    // The menu's buttons, and the front side's scores and words, large enough
    // in print to read their words and the grey digits.
    const QPixmap menuScreen = screens.screen(Screen::Menu)->grab();
    ok = savePicture(part(menuScreen, QRect(110, 216, 580, 260)), out, u"form2-buttons"_s, scale) && ok;
    press(screens, Screen::FrontSheet, u"Command4"_s); // "เริ่มใหม่"
    for (int box : {2, 6, 7, 10, 14, 16, 20, 24, 29, 25, 32, 35, 38, 47, 45, 74, 71, 67, 66, 62, 59, 57, 54, 41, 50})
        press(screens, Screen::FrontSheet, u"Check%1"_s.arg(box));
    press(screens, Screen::FrontSheet, u"Command1"_s);
    QCoreApplication::processEvents();
    const QPixmap results = screens.screen(Screen::FrontSheet)->grab();
    ok = savePicture(part(results, QRect(412, 0, 353, 236)), out, u"form3-results"_s, scale) && ok;

    // A class of five pupils pasted from a spreadsheet, four papers copied
    // with the finish key: one whole, one whose item 12 was left out and
    // added on the second press, one front side only, and one more whole.
    press(screens, Screen::FrontSheet, u"Command4"_s);
    press(screens, Screen::BackSheet, u"Command3"_s); // the back side's "เริ่มใหม่"
    ClassDocument &document = screens.classList().document();
    ClassHeading heading = document.heading();
    heading.grade = u"ป.4"_s;
    heading.room = u"2"_s;
    document.setHeading(heading);
    document.pasteRoster(parseRoster(u"1\tด.ช.\tกล้า\tหาญ\n2\tด.ญ.\tขวัญ\tใจ\n3\tด.ช.\tภูมิ\tดี\n"
                                     u"4\tด.ญ.\tน้ำ\tใส\n5\tด.ช.\tต้น\tกล้า\n"_s));
    const struct {
        const char *front;
        const char *back;
        int finishes;
    } papers[] {
        {"2131213221223211221123121", "23334232", 1},
        {"3112111222202111311111111", "32222222", 2},
        {"2121312112113212212121211", "", 1},
        {"3221221311322312313222122", "44334343", 1},
    };
    for (const auto &paper : papers) {
        tickPaper(screens, paper.front, paper.back);
        for (int i = 0; i < paper.finishes; ++i)
            screens.finishPaper();
    }
    QWidget *list = screens.classList().window();
    if (!list) {
        std::fprintf(stderr, "no class list window\n");
        return 1;
    }
    if (auto *table = list->findChild<QTableView *>())
        table->clearSelection();
    // Room for the heading, the six rows and the whole summary, without a scroll bar.
    list->resize(760, 710);
    if (auto *split = list->findChild<QSplitter *>())
        split->setSizes({230, 260});
    QCoreApplication::processEvents();
    const QPixmap listWindow = list->grab();
    ok = savePicture(listWindow, out, u"form5-classlist"_s, scale) && ok;
    ok = savePicture(sideBySide(screens.screen(Screen::FrontSheet)->grab(), listWindow), out, u"form5-beside"_s, scale)
        && ok;
    return ok ? 0 : 1;
}
