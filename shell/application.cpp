#include "application.h"

#include "captionstyle.h"
#include "guide.h"
#include "log.h"
#include "programidentity.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <thread>

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>

#include <windows.h>
#endif

using namespace Qt::StringLiterals;

// Outside any namespace, as Qt's resource initialisation requires.
static void initResources()
{
    Q_INIT_RESOURCE(kvt);
}

#ifdef Q_OS_WIN
// The Windows program's qt.conf, which asks the platform to draw text with
// FreeType, as on Linux: Windows' own renderers differ with the display scale,
// and at 125 % and more drop the digits and Latin letters of the embedded
// faces. It must be registered before QApplication reads it, so at load time.
static const bool windowsPlatformConfiguration = [] {
    Q_INIT_RESOURCE(windows);
    return true;
}();
#endif

namespace {

// The screens were laid out for this face; it is used wherever it exists
// with Thai letters.
const QString kLayoutFamily = u"MS Sans Serif"_s;

// Elsewhere the embedded Thai face. At 10 pixels its stacked marks stay inside
// the tightest boxes of the screens, 13 pixels high.
constexpr int kDefaultPixelSize = 10;

// The embedded faces: Thai first, then its Latin companion for letters, digits
// and signs, so that no caption depends on what the platform falls back to.
constexpr const char16_t *kEmbeddedFaces[][2] = {
    {u":/fonts/NotoSansThai-Regular.ttf", u":/fonts/NotoSansThai-Bold.ttf"},
    {u":/fonts/NotoSans-Regular.ttf", u":/fonts/NotoSans-Bold.ttf"},
};

QStringList uiFamilies()
{
    // Not the bitmap face of Thai Windows: it comes in a few sizes and scales
    // in steps.
    if (QFontDatabase::hasFamily(kLayoutFamily) && QFontDatabase::isSmoothlyScalable(kLayoutFamily)
        && QFontDatabase::writingSystems(kLayoutFamily).contains(QFontDatabase::Thai))
        return {kLayoutFamily};
    QStringList families;
    for (const auto &faces : kEmbeddedFaces) {
        for (const char16_t *file : faces) {
            const int id = QFontDatabase::addApplicationFont(QString::fromUtf16(file));
            const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
            // The platform's faces stand in: captions may be cut or miss letters.
            if (family.isEmpty())
                qCWarning(lcKvt) << "Cannot load the embedded face" << QString::fromUtf16(file);
            else if (!families.contains(family))
                families.append(family);
        }
    }
    return families;
}

// Enter on a focused button presses it, as the space bar does, on every
// screen; none of the screens has a default button to take Enter instead.
class EnterPressesFocusedButton final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!enter || !plain || !button || !button->isEnabled() || button->isDefault() || button->autoDefault())
            return false;
        button->animateClick();
        return true;
    }
};

// F1 on any screen opens the staff's guide.
class F1OpensGuide final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        Guide::open(static_cast<QWidget *>(watched)->window());
        return true;
    }
};

// The first Thai line laid out makes Qt's line breaker load the Thai word
// dictionary, some 8 ms of work. This loads it on another core while the
// fonts are set up, and waits for it before any caption is laid out.
class ThaiDictionaryLoad final
{
    Q_DISABLE_COPY_MOVE(ThaiDictionaryLoad)

public:
    ThaiDictionaryLoad()
        : m_thread([] { QTextBoundaryFinder(QTextBoundaryFinder::Line, u"ภาษาไทย"_s); })
    {
    }
    ~ThaiDictionaryLoad() { m_thread.join(); }

private:
    std::thread m_thread;
};

#ifdef Q_OS_WIN
// The folder in the ANSI code page, or an empty string where that code page
// cannot spell it.
std::string ansiPath(const std::wstring &path)
{
    const UINT codePage = GetACP();
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL *lossyOut = codePage == CP_UTF8 ? nullptr : &lossy;
    const int size = WideCharToMultiByte(codePage, flags, path.c_str(), -1, nullptr, 0, nullptr, lossyOut);
    if (size <= 0 || lossy)
        return {};
    std::string result(size_t(size), '\0');
    WideCharToMultiByte(codePage, flags, path.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(size_t(size) - 1);
    return result;
}

// Qt breaks Thai lines between words with libthai, which the Windows program
// carries beside itself with its word dictionary. libthai reads the
// dictionary's folder from the C runtime's environment and opens it in the
// ANSI code page, so a folder that code page cannot spell is given by its
// short name. Without the dictionary here (a test in the build tree), the
// environment is left as it is.
void pointThaiWordBreaksAtDictionary()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(folder + u"/thbrk.tri"_s))
        return;
    const std::wstring wide = QDir::toNativeSeparators(folder).toStdWString();
    std::string path = ansiPath(wide);
    if (path.empty()) {
        std::wstring shortPath(MAX_PATH, L'\0');
        const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), DWORD(shortPath.size()));
        if (length == 0 || length >= shortPath.size())
            return;
        shortPath.resize(length);
        path = ansiPath(shortPath);
    }
    if (!path.empty())
        qputenv("LIBTHAI_DICTDIR", QByteArray::fromStdString(path));
}
#endif

} // namespace

namespace Application {

void setUp(QApplication &app)
{
#ifdef Q_OS_WIN
    pointThaiWordBreaksAtDictionary();
#endif
    const ThaiDictionaryLoad thaiDictionary;
    initResources();
    QApplication::setApplicationName(u"kvt"_s);
    // No display name: the platforms would append it to every window title.
    QApplication::setApplicationVersion(ProgramIdentity::version());
    QGuiApplication::setDesktopFileName(ProgramIdentity::appId()); // matches the windows to the menu entry

    // One look on every platform, and one that paints the buttons' own colours.
    QApplication::setStyle(new CaptionStyle);

    QFont font;
    font.setFamilies(uiFamilies());
    font.setPixelSize(kDefaultPixelSize);
    // Glyph shapes and widths as Debian's FreeType draws them by default, on
    // every platform: light hinting, grey edges (no colour fringes).
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    QApplication::setFont(font);

    app.installEventFilter(new EnterPressesFocusedButton(&app));
    app.installEventFilter(new F1OpensGuide(&app));

    const QIcon icon(u":/icons/kvt.ico"_s);
    if (icon.isNull())
        qCWarning(lcKvt) << "Cannot load the window icon" << u":/icons/kvt.ico"_s;
    else
        QApplication::setWindowIcon(icon);
}

} // namespace Application
