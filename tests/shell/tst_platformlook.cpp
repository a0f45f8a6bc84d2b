// What the platform itself shows of the screens: each window's title bar text
// as the window system holds it, and the faces every caption is drawn in.
// Run on a real window system (xcb under Xvfb, or Windows).

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QRawFont>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextLayout>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr Screen kScreens[] = {Screen::Welcome, Screen::Menu, Screen::FrontSheet, Screen::BackSheet};

// The title as the window system holds it, or a null string where the
// platform gives no way to read it.
QString nativeTitle(QWidget *window)
{
#ifdef Q_OS_WIN
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    std::wstring title(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    title.resize(size_t(GetWindowTextW(hwnd, title.data(), int(title.size()))));
    return QString::fromStdWString(title);
#else
    if (QGuiApplication::platformName() != u"xcb"_s)
        return {};
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-id"_s, QString::number(window->winId()), u"-notype"_s, u"_NET_WM_NAME"_s});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0)
        return {};
    // _NET_WM_NAME = "..."; xprop escapes quotes and backslashes.
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = line.indexOf(u'"');
    if (open < 0 || !line.endsWith(u'"'))
        return {};
    QString title = line.mid(open + 1, line.size() - open - 2);
    title.replace(u"\\\""_s, u"\""_s).replace(u"\\\\"_s, u"\\"_s);
    return title;
#endif
}

QString captionOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return Qt::mightBeRichText(label->text()) ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                                  : label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    return {};
}

} // namespace

class PlatformLookTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void titleBarShowsCaption_data();
    void titleBarShowsCaption();
    void captionsUseCarriedFaces_data();
    void captionsUseCarriedFaces();

private:
    ScreenRegistry *m_screens = nullptr;
    QStringList m_carriedFamilies;
};

void PlatformLookTest::initTestCase()
{
    m_screens = new ScreenRegistry(this);
    for (Screen which : kScreens) {
        m_screens->show(which);
        QVERIFY(QTest::qWaitForWindowExposed(m_screens->screen(which)));
    }
    m_carriedFamilies = QApplication::font().families();
}

void PlatformLookTest::cleanupTestCase()
{
    delete m_screens;
}

void PlatformLookTest::titleBarShowsCaption_data()
{
    QTest::addColumn<QWidget *>("window");
    for (Screen which : kScreens) {
        QWidget *window = m_screens->screen(which);
        QTest::newRow(qPrintable(window->objectName())) << window;
    }
}

void PlatformLookTest::titleBarShowsCaption()
{
    QFETCH(QWidget *, window);
    // The window system takes the title a moment after the window maps.
    QTRY_COMPARE_WITH_TIMEOUT(nativeTitle(window), window->windowTitle(), 3000);
}

void PlatformLookTest::captionsUseCarriedFaces_data()
{
    QTest::addColumn<QWidget *>("widget");
    for (Screen which : kScreens) {
        QWidget *window = m_screens->screen(which);
        for (QWidget *widget : window->findChildren<QWidget *>())
            if (!captionOf(widget).trimmed().isEmpty())
                QTest::addRow("%s %s", qPrintable(window->objectName()), qPrintable(widget->objectName())) << widget;
    }
}

// Letters, digits and signs included: nothing falls back to a face of the
// platform's, which would look different, or not fit, elsewhere.
void PlatformLookTest::captionsUseCarriedFaces()
{
    QFETCH(QWidget *, widget);
    QTextLayout layout(captionOf(widget), widget->font());
    layout.beginLayout();
    while (layout.createLine().isValid()) { }
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QVERIFY(!runs.isEmpty());
    for (const QGlyphRun &run : runs) {
        const QString family = run.rawFont().familyName();
        QVERIFY2(m_carriedFamilies.contains(family),
            qPrintable(u"drawn in \"%1\", not in %2"_s.arg(family, m_carriedFamilies.join(u", "_s))));
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);
    PlatformLookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platformlook.moc"
