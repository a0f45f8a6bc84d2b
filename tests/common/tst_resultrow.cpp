#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The row of one child's results gathers both sides, as the program has them.
class ResultRowTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { closeScreens(); }

    void rowOfBothSides_data();
    void rowOfBothSides();
    void backSideNeverOpened();
    void backSideDiscardedByItsCloseBox();

private:
    void tick(Screen which, std::initializer_list<int> boxes)
    {
        for (int number : boxes)
            box(which, number)->setCheckState(Qt::Checked);
    }
    QStringList copiedFields(Screen from);
};

void ResultRowTest::init()
{
    QApplication::clipboard()->clear();
    openScreens({Screen::Welcome, Screen::Menu, Screen::FrontSheet});
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

KVT_TEST_MAIN(ResultRowTest)

#include "tst_resultrow.moc"
