#include "application.h"

#include "captionstyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include <thread>

using namespace Qt::StringLiterals;

// Outside any namespace, as Qt's resource initialisation requires.
static void initResources()
{
    Q_INIT_RESOURCE(kvt);
}

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
    if (QFontDatabase::hasFamily(kLayoutFamily)
        && QFontDatabase::writingSystems(kLayoutFamily).contains(QFontDatabase::Thai))
        return {kLayoutFamily};
    QStringList families;
    for (const auto &faces : kEmbeddedFaces) {
        for (const char16_t *file : faces) {
            const int id = QFontDatabase::addApplicationFont(QString::fromUtf16(file));
            const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
            if (!family.isEmpty() && !families.contains(family))
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

} // namespace

namespace Application {

void setUp(QApplication &app)
{
    const ThaiDictionaryLoad thaiDictionary;
    initResources();
    QApplication::setApplicationName(u"kvt"_s);
    // No display name: the platforms would append it to every window title.
    QApplication::setApplicationVersion(u"1.00"_s);
    QGuiApplication::setDesktopFileName(u"org.example.kvt"_s); // matches the windows to the menu entry

    // One look on every platform, and one that paints the buttons' own colours.
    QApplication::setStyle(new CaptionStyle);

    QFont font;
    font.setFamilies(uiFamilies());
    font.setPixelSize(kDefaultPixelSize);
    QApplication::setFont(font);

    app.installEventFilter(new EnterPressesFocusedButton(&app));

    const QIcon icon(u":/icons/kvt.ico"_s);
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

} // namespace Application
