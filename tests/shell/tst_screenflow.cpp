#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// Takes the addresses the program would open in the browser.
class UrlCatcher final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl &url) { urls << url; }
};

class ScreenFlowTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void init() { openScreens({Screen::Welcome}); }
    void cleanup() { closeScreens(); }

    void startsOnWelcomeOnly();
    void enterShowsMenuAndHidesWelcome();
    void menuDrawsItsPicture();
    void versionButtonsShareOneFrontSide_data();
    void versionButtonsShareOneFrontSide();
    void frontSideTicksOnReturn_data();
    void frontSideTicksOnReturn();
    void closeBoxDiscardsFrontSide();
    void backSideOpensOverFrontSide();
    void backSideCloseReturnsToUntouchedFrontSide();
    void frontSideCloseLeavesBackSideAlone();
    void closeBoxDiscardsBackSide();
    void programEnds_data();
    void programEnds();
    void f1OpensGuide();

private:
    void enter();
    QList<QWidget *> visibleScreens() const;
};

void ScreenFlowTest::enter()
{
    press(Screen::Welcome, u"Command1"_s);
}

QList<QWidget *> ScreenFlowTest::visibleScreens() const
{
    QList<QWidget *> visible;
    for (Screen which : KvtTest::kScreens)
        if (screen(which) && screen(which)->isVisible())
            visible << screen(which);
    return visible;
}

void ScreenFlowTest::startsOnWelcomeOnly()
{
    QCOMPARE(visibleScreens(), QList<QWidget *> {screen(Screen::Welcome)});
    QCOMPARE(screen(Screen::Welcome)->objectName(), u"Form1"_s);
    QCOMPARE(screen(Screen::Welcome)->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม KVT "_s);
    QVERIFY(!screen(Screen::Menu));
    QVERIFY(!screen(Screen::FrontSheet));
}

void ScreenFlowTest::enterShowsMenuAndHidesWelcome()
{
    QWidget *welcome = screen(Screen::Welcome);
    enter();
    QCOMPARE(visibleScreens(), QList<QWidget *> {screen(Screen::Menu)});
    QCOMPARE(screen(Screen::Menu)->objectName(), u"Form2"_s);
    QCOMPARE(screen(Screen::Menu)->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s);
    QCOMPARE(screen(Screen::Welcome), welcome); // kept, hidden
}

void ScreenFlowTest::menuDrawsItsPicture()
{
    // The picture is decoded on another thread before the menu is made.
    enter();
    QWidget *menu = screen(Screen::Menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QImage picture(u":/pictures/menu-background.jpg"_s);
    // In logical pixels: at 125 % or 150 % the picture scales with the window.
    const QImage shot = menu->grab().toImage().scaled(menu->size());
    int compared = 0;
    for (int y = 5; y < std::min(shot.height(), picture.height()); y += 47) {
        for (int x = 5; x < std::min(shot.width(), picture.width()); x += 53) {
            if (menu->childAt(x, y))
                continue;
            QCOMPARE(shot.pixelColor(x, y), picture.pixelColor(x, y));
            ++compared;
        }
    }
    QVERIFY(compared > 50);
}

void ScreenFlowTest::versionButtonsShareOneFrontSide_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("parent then teacher") << u"Command1"_s << u"Command2"_s;
    QTest::newRow("teacher then pupil") << u"Command2"_s << u"Command3"_s;
    QTest::newRow("pupil then parent") << u"Command3"_s << u"Command1"_s;
}

void ScreenFlowTest::versionButtonsShareOneFrontSide()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    enter();
    press(Screen::Menu, first);
    QWidget *front = screen(Screen::FrontSheet);
    QVERIFY(front && front->isVisible());
    QCOMPARE(front->objectName(), u"Form3"_s);
    const QString caption = front->windowTitle();

    press(Screen::FrontSheet, u"Command2"_s);
    QVERIFY(!front->isVisible());
    press(Screen::Menu, second);
    QCOMPARE(screen(Screen::FrontSheet), front);
    QVERIFY(front->isVisible());
    QCOMPARE(front->windowTitle(), caption);
    QVERIFY(screen(Screen::Menu)->isVisible());
}

void ScreenFlowTest::frontSideTicksOnReturn_data()
{
    QTest::addColumn<bool>("closedByButton");
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("score");
    QTest::newRow("kept while shown") << false << u"Command2"_s << true << u"2"_s;
    QTest::newRow("closed by its button, reopens empty") << true << u"Command3"_s << false << QString();
}

void ScreenFlowTest::frontSideTicksOnReturn()
{
    QFETCH(bool, closedByButton);
    QFETCH(QString, menuButton);
    QFETCH(bool, ticked);
    QFETCH(QString, score);
    enter();
    press(Screen::Menu, u"Command1"_s);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command1"_s);
    if (closedByButton)
        press(Screen::FrontSheet, u"Command2"_s);
    press(Screen::Menu, menuButton);
    QCOMPARE(box(Screen::FrontSheet, 19)->isChecked(), ticked);
    QCOMPARE(screen(Screen::FrontSheet)->findChild<QLineEdit *>(u"Text2"_s)->text(), score);
}

void ScreenFlowTest::closeBoxDiscardsFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    QPointer<QWidget> first = screen(Screen::FrontSheet);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    QVERIFY(first->close());
    QVERIFY(!screen(Screen::FrontSheet));
    QVERIFY(screen(Screen::Menu)->isVisible()); // the program goes on

    press(Screen::Menu, u"Command1"_s);
    QVERIFY(screen(Screen::FrontSheet) && screen(Screen::FrontSheet)->isVisible());
    QVERIFY(screen(Screen::FrontSheet) != first.data());
    QVERIFY(!box(Screen::FrontSheet, 19)->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
}

void ScreenFlowTest::backSideOpensOverFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QWidget *back = screen(Screen::BackSheet);
    QVERIFY(back && back->isVisible());
    QCOMPARE(back->objectName(), u"Form4"_s);
    QCOMPARE(back->windowTitle(), u"ด้านหลัง  แบบประเมินพฤติกรรมเด็ก (KVT)"_s);
    QVERIFY(screen(Screen::FrontSheet)->isVisible());

    press(Screen::FrontSheet, u"Command3"_s); // only brings it to the front
    QCOMPARE(screen(Screen::BackSheet), back);
}

void ScreenFlowTest::backSideCloseReturnsToUntouchedFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    press(Screen::BackSheet, u"Command1"_s);

    QVERIFY(!screen(Screen::BackSheet)->isVisible());
    QVERIFY(!box(Screen::BackSheet, 12)->isChecked());
    QVERIFY(screen(Screen::FrontSheet)->isVisible());
    QVERIFY(box(Screen::FrontSheet, 19)->isChecked());
    QCOMPARE(screen(Screen::FrontSheet)->findChild<QLineEdit *>(u"Text2"_s)->text(), u"2"_s);
}

void ScreenFlowTest::frontSideCloseLeavesBackSideAlone()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command2"_s);
    QVERIFY(!screen(Screen::FrontSheet)->isVisible());
    QVERIFY(screen(Screen::BackSheet)->isVisible());
    QVERIFY(box(Screen::BackSheet, 12)->isChecked());

    // Its own close shows the front side again, empty.
    press(Screen::BackSheet, u"Command1"_s);
    QVERIFY(screen(Screen::FrontSheet)->isVisible());
    QVERIFY(!box(Screen::FrontSheet, 19)->isChecked());
}

void ScreenFlowTest::closeBoxDiscardsBackSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QWidget *first = screen(Screen::BackSheet);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    QVERIFY(first->close());
    QVERIFY(!screen(Screen::BackSheet));
    QVERIFY(screen(Screen::FrontSheet)->isVisible());

    press(Screen::FrontSheet, u"Command3"_s);
    QVERIFY(screen(Screen::BackSheet) != first);
    QVERIFY(!box(Screen::BackSheet, 12)->isChecked());
    for (int number = 1; number <= 36; ++number)
        QVERIFY(box(Screen::BackSheet, number)->isEnabled());
}

void ScreenFlowTest::programEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button with both sides open") << u"exit"_s;
    QTest::newRow("menu closed") << u"close menu"_s;
    QTest::newRow("welcome closed before entering") << u"close welcome"_s;
}

void ScreenFlowTest::programEnds()
{
    QFETCH(QString, how);
    QSignalSpy ended(m_screens.get(), &ScreenRegistry::programEnded);
    if (how == u"close welcome"_s) {
        QVERIFY(screen(Screen::Welcome)->close());
    } else {
        enter();
        press(Screen::Menu, u"Command1"_s);
        QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
        press(Screen::FrontSheet, u"Command3"_s);
        if (how == u"exit"_s)
            press(Screen::Menu, u"Command4"_s);
        else
            QVERIFY(screen(Screen::Menu)->close());
    }
    QCOMPARE(ended.count(), 1);
    QVERIFY(visibleScreens().isEmpty());
    for (Screen which : KvtTest::kScreens)
        QVERIFY(!screen(which));
}

void ScreenFlowTest::f1OpensGuide()
{
    // A guide beside this program, as the packages put it beside the real one.
    const QString folder = QCoreApplication::applicationDirPath() + u"/guide"_s;
    QVERIFY(QDir().mkpath(folder));
    QFile page(folder + u"/kvt-guide.html"_s);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(u"file"_s, &browser, "openUrl");
    const auto restore = qScopeGuard([&] {
        QDesktopServices::unsetUrlHandler(u"file"_s);
        page.remove();
        QDir().rmdir(folder);
    });

    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    for (Screen which : KvtTest::kScreens)
        QTest::keyClick(screen(which), Qt::Key_F1);
    QCOMPARE(browser.urls, QList<QUrl>(4, QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath())));

    page.remove();
    QTest::keyClick(screen(Screen::Menu), Qt::Key_F1); // no guide: nothing happens
    QCOMPARE(browser.urls.size(), 4);
}

KVT_TEST_MAIN(ScreenFlowTest)

#include "tst_screenflow.moc"
