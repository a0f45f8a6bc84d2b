#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The row of one child's results gathers both sides, as the program has them.
class ResultRowTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowOfBothSides_data();
    void rowOfBothSides();
    void backSideNeverOpened();
    void backSideDiscardedByItsCloseBox();

private:
    QWidget *screen(Screen which) const { return m_screens->screen(which); }
    void press(Screen which, const QString &button)
    {
        QTest::mouseClick(screen(which)->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    void tick(Screen which, std::initializer_list<int> boxes)
    {
        for (int number : boxes)
            screen(which)->findChild<QCheckBox *>(u"Check%1"_s.arg(number))->setCheckState(Qt::Checked);
    }
    QStringList copiedFields(Screen from);

    std::unique_ptr<ScreenRegistry> m_screens;
};

void ResultRowTest::init()
{
    QApplication::clipboard()->clear();
    m_screens = std::make_unique<ScreenRegistry>();
    m_screens->show(Screen::Welcome);
    m_screens->show(Screen::Menu);
    m_screens->show(Screen::FrontSheet);
}

void ResultRowTest::cleanup()
{
    m_screens.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList ResultRowTest::copiedFields(Screen from)
{
    QWidget *focus = screen(from)->focusWidget();
    QTest::keyClick(focus ? focus : screen(from), Qt::Key_C, Qt::ControlModifier);
    const QString text = QApplication::clipboard()->text();
    if (!text.endsWith(u'\n'))
        return {u"no new line at the end: "_s + text};
    return text.chopped(1).split(u'\t');
}

void ResultRowTest::rowOfBothSides_data()
{
    QTest::addColumn<int>("from");
    QTest::addRow("copied on the front side") << int(Screen::FrontSheet);
    QTest::addRow("copied on the back side") << int(Screen::BackSheet);
}

void ResultRowTest::rowOfBothSides()
{
    QFETCH(int, from);

    // Item 3 "จริง" and item 8 "จริง" (area 1), item 1 "จริง" (social), item 7 "ไม่จริง" (area 2, reversed).
    tick(Screen::FrontSheet, {7, 24, 3, 19});
    press(Screen::FrontSheet, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    tick(Screen::BackSheet, {2, 11});
    press(Screen::BackSheet, u"Command2"_s);

    const QStringList expected {u"4"_s, u"ปกติ"_s, u"2"_s, u"ปกติ"_s, u"0"_s, u"ปกติ"_s, u"0"_s, u"ปกติ"_s, u"6"_s,
        u"ปกติ"_s, u"2"_s, u"มีปัญหา"_s, u"1"_s, u"รุนแรงปานกลาง"_s};
    QCOMPARE(copiedFields(Screen(from)), expected);
}

void ResultRowTest::backSideNeverOpened()
{
    press(Screen::FrontSheet, u"Command1"_s);
    QVERIFY(!screen(Screen::BackSheet));
    const QStringList fields = copiedFields(Screen::FrontSheet);
    QCOMPARE(fields.size(), 14);
    QCOMPARE(fields.mid(10, 2), (QStringList {u"0"_s, u"มีปัญหา"_s}));
    QCOMPARE(fields.mid(12), (QStringList {QString(), QString()}));
}

void ResultRowTest::backSideDiscardedByItsCloseBox()
{
    press(Screen::FrontSheet, u"Command3"_s);
    press(Screen::BackSheet, u"Command2"_s);
    screen(Screen::BackSheet)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(copiedFields(Screen::FrontSheet).mid(12), (QStringList {QString(), QString()}));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);
    ResultRowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_resultrow.moc"
