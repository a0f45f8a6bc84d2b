// What the platform itself shows of the screens: each window's title bar text
// as the window system holds it, and the faces every caption is drawn in.
// Run on a real window system (xcb under Xvfb, or Windows).

#include "kvttest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRawFont>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextDocumentFragment>
#include <QTextLayout>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

using KvtTest::kScreens;

namespace {

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

// Whether a glyph leaves any ink, drawn at the given scale.
bool inks(const QRawFont &font, quint32 glyph, qreal scale)
{
    const QRectF bounds = font.boundingRect(glyph);
    constexpr int margin = 2;
    QImage image(((bounds.size() + QSizeF(2 * margin, 2 * margin)) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes({glyph});
    run.setPositions({QPointF()});
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(margin - bounds.left(), margin - bounds.top()), run);
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::any_of(line, line + image.width(), [](QRgb pixel) { return qGray(pixel) < 200; }))
            return true;
    }
    return false;
}

} // namespace

class PlatformLookTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { closeScreens(); }
    void titleBarShowsCaption_data();
    void titleBarShowsCaption();
    void captionsUseCarriedFaces_data();
    void captionsUseCarriedFaces();
    void captionsDrawEveryCharacter_data();
    void captionsDrawEveryCharacter();

private:
    QStringList m_carriedFamilies;
};

void PlatformLookTest::initTestCase()
{
    openScreens({});
    for (Screen which : kScreens) {
        m_screens->show(which);
        QVERIFY(QTest::qWaitForWindowExposed(screen(which)));
    }
    m_carriedFamilies = QApplication::font().families();
}

void PlatformLookTest::titleBarShowsCaption_data()
{
    QTest::addColumn<QWidget *>("window");
    for (Screen which : kScreens) {
        QWidget *window = screen(which);
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
        QWidget *window = screen(which);
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

void PlatformLookTest::captionsDrawEveryCharacter_data()
{
    captionsUseCarriedFaces_data();
}

// Each character has a glyph in the face that draws it, and that glyph leaves
// ink at the screen's own scale: a renderer can lay out a glyph it then does
// not draw, which no test of a caption's extent would notice.
void PlatformLookTest::captionsDrawEveryCharacter()
{
    QFETCH(QWidget *, widget);
    const QString caption = captionOf(widget);
    const qreal scale = widget->devicePixelRatioF();
    QTextLayout layout(caption, widget->font());
    layout.beginLayout();
    while (layout.createLine().isValid()) { }
    layout.endLayout();

    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, caption);
    for (qsizetype start = 0, end = characters.toNextBoundary(); end > 0;
         start = end, end = characters.toNextBoundary()) {
        const QString character = caption.mid(start, end - start);
        if (character.trimmed().isEmpty())
            continue;
        for (const QGlyphRun &run : layout.glyphRuns(int(start), int(end - start))) {
            for (quint32 glyph : run.glyphIndexes()) {
                const QString where = u"\"%1\" at %2 of \"%3\" in %4"_s.arg(character).arg(start).arg(
                    caption, run.rawFont().familyName());
                QVERIFY2(glyph != 0, qPrintable(u"no glyph for "_s + where));
                if (!run.rawFont().boundingRect(glyph).isEmpty())
                    QVERIFY2(inks(run.rawFont(), glyph, scale),
                        qPrintable(u"no ink for "_s + where + u" at x%1"_s.arg(scale)));
            }
        }
    }
}

KVT_TEST_MAIN(PlatformLookTest)

#include "tst_platformlook.moc"
