// A measuring probe loaded into an unchanged program with LD_PRELOAD, so that
// the program measured is the one users run. It notes the moment each frame
// goes to the X server (the calls that put a window's pixels there) and, from
// inside the program, clicks through the screens as a user would.
//
//   KVT_PROBE=startup  note the first painted frame of any window, then quit
//   KVT_PROBE=tour     also: welcome -> menu -> front side -> back side, the
//                      time from each click to the new window's first frame,
//                      and the time of "แปลผล" on each side; then the exit button
//   KVT_PROBE_OUT      file that receives the results as name=value lines

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <dlfcn.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

extern "C" {
struct xcb_connection_t;
struct xcb_void_cookie_t {
    unsigned int sequence;
};
}

namespace {

std::int64_t nowNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct Frame {
    std::uint32_t drawable;
    std::int64_t ns;
};
std::array<Frame, 1 << 16> g_frames;
std::atomic<int> g_frameCount {0};
std::atomic<bool> g_notifyPending {false};
std::function<void()> g_onFrames;

// Called on the GUI thread, from inside the platform's flush.
void noteFrame(std::uint32_t drawable)
{
    const int index = g_frameCount.load();
    if (index < static_cast<int>(g_frames.size())) {
        g_frames[static_cast<std::size_t>(index)] = {drawable, nowNs()};
        g_frameCount.store(index + 1);
    }
    if (qApp && !g_notifyPending.exchange(true)) {
        QMetaObject::invokeMethod(
            qApp,
            [] {
                g_notifyPending = false;
                if (g_onFrames)
                    g_onFrames();
            },
            Qt::QueuedConnection);
    }
}

// The platform plugin loads the X libraries privately, out of RTLD_NEXT's
// reach; then the library itself is asked.
template<typename Function> Function realFunction(const char *name, const char *library)
{
    void *found = dlsym(RTLD_NEXT, name);
    if (!found) {
        void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            handle = dlopen(library, RTLD_LAZY);
        found = handle ? dlsym(handle, name) : nullptr;
    }
    if (!found)
        std::abort();
    return reinterpret_cast<Function>(found);
}

} // namespace

// The three ways Qt's xcb backing store hands a frame to the X server.
extern "C" Q_DECL_EXPORT xcb_void_cookie_t xcb_copy_area(xcb_connection_t *connection, std::uint32_t source,
    std::uint32_t destination, std::uint32_t gc, std::int16_t sourceX, std::int16_t sourceY, std::int16_t destinationX,
    std::int16_t destinationY, std::uint16_t width, std::uint16_t height)
{
    static const auto real = realFunction<decltype(&xcb_copy_area)>("xcb_copy_area", "libxcb.so.1");
    noteFrame(destination);
    return real(connection, source, destination, gc, sourceX, sourceY, destinationX, destinationY, width, height);
}

extern "C" Q_DECL_EXPORT xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t *connection, std::uint32_t drawable,
    std::uint32_t gc, std::uint16_t totalWidth, std::uint16_t totalHeight, std::uint16_t sourceX, std::uint16_t sourceY,
    std::uint16_t sourceWidth, std::uint16_t sourceHeight, std::int16_t destinationX, std::int16_t destinationY,
    std::uint8_t depth, std::uint8_t format, std::uint8_t sendEvent, std::uint32_t segment, std::uint32_t offset)
{
    static const auto real = realFunction<decltype(&xcb_shm_put_image)>("xcb_shm_put_image", "libxcb-shm.so.0");
    noteFrame(drawable);
    return real(connection, drawable, gc, totalWidth, totalHeight, sourceX, sourceY, sourceWidth, sourceHeight,
        destinationX, destinationY, depth, format, sendEvent, segment, offset);
}

extern "C" Q_DECL_EXPORT xcb_void_cookie_t xcb_put_image(xcb_connection_t *connection, std::uint8_t format,
    std::uint32_t drawable, std::uint32_t gc, std::uint16_t width, std::uint16_t height, std::int16_t destinationX,
    std::int16_t destinationY, std::uint8_t leftPad, std::uint8_t depth, std::uint32_t length, const std::uint8_t *data)
{
    static const auto real = realFunction<decltype(&xcb_put_image)>("xcb_put_image", "libxcb.so.1");
    noteFrame(drawable);
    return real(
        connection, format, drawable, gc, width, height, destinationX, destinationY, leftPad, depth, length, data);
}

namespace {

QWidget *topLevel(const QString &objectName)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName)
            return widget;
    return nullptr;
}

// Resident memory now, in kibibytes.
std::int64_t residentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

template<typename T> T *control(const QString &window, const QString &name)
{
    QWidget *screen = topLevel(window);
    return screen ? screen->findChild<T *>(name) : nullptr;
}

// A left click as the toolkit delivers it to the control: the press, which
// only draws the button sunk (at once, as buttons do), and the release, on
// which the button acts.
void press(QWidget *target)
{
    const QPointF at = QRectF(target->rect()).center();
    QMouseEvent event(
        QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void release(QWidget *target)
{
    const QPointF at = QRectF(target->rect()).center();
    QMouseEvent event(
        QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void click(QWidget *target)
{
    press(target);
    release(target);
}

class Probe final
{
public:
    Probe(bool tour, QString out)
        : m_tour(tour)
        , m_out(std::move(out))
    {
        g_onFrames = [this] { scanFrames(); };
        // The first frame of whichever window comes up first.
        m_waiting = [](std::uint32_t drawable) {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (widget->isVisible() && widget->windowHandle() && widget->windowHandle()->winId() == drawable)
                    return true;
            return false;
        };
        m_then = [this](std::int64_t ns) {
            note(u"first_frame_ns"_s, ns);
            note(u"welcome_rss_kib"_s, residentKiB());
            if (m_tour)
                settleThen([this] { openMenu(); });
            else
                settleThen([this] { finish(); });
        };
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, qApp, [this] { fail(u"no frame came"_s); });
        m_deadline.start(20000);
        scanFrames(); // frames that came before the probe did
    }

private:
    void scanFrames()
    {
        const int count = g_frameCount.load();
        for (; m_scanned < count; ++m_scanned) {
            const Frame &frame = g_frames[static_cast<std::size_t>(m_scanned)];
            if (m_waiting && frame.ns >= m_since && m_waiting(frame.drawable)) {
                m_waiting = nullptr;
                m_deadline.stop();
                std::exchange(m_then, nullptr)(frame.ns);
                return;
            }
        }
    }

    // Clicks the button and waits for the first frame of the window it opens.
    void clickAndTime(const QString &window, const QString &button, const QString &opens, const QString &name,
        std::function<void()> next)
    {
        auto *target = control<QAbstractButton>(window, button);
        if (!target)
            return fail(window + u'.' + button + u" not found"_s);
        m_since = nowNs();
        const std::int64_t clicked = m_since;
        click(target);
        QWidget *opened = topLevel(opens);
        if (!opened || !opened->windowHandle())
            return fail(opens + u" did not open"_s);
        const std::uint32_t id = static_cast<std::uint32_t>(opened->windowHandle()->winId());
        m_waiting = [id](std::uint32_t drawable) { return drawable == id; };
        m_then = [this, clicked, name, opens, next = std::move(next)](std::int64_t ns) {
            note(name, ns - clicked);
            note(opens + u"_rss_kib"_s, residentKiB());
            settleThen(next);
        };
        m_deadline.start(5000);
        scanFrames();
    }

    void openMenu()
    {
        clickAndTime(u"Form1"_s, u"Command1"_s, u"Form2"_s, u"menu_frame_ns"_s, [this] { openFront(); });
    }
    void openFront()
    {
        clickAndTime(u"Form2"_s, u"Command1"_s, u"Form3"_s, u"front_frame_ns"_s, [this] { openBack(); });
    }
    void openBack()
    {
        clickAndTime(u"Form3"_s, u"Command3"_s, u"Form4"_s, u"back_frame_ns"_s, [this] { interpret(); });
    }

    // "แปลผล" on each side with some answers ticked, from the click to the new texts.
    void interpret()
    {
        for (int box : {3, 7, 9, 13, 19, 24, 28, 31, 42, 51, 55, 64, 69, 73})
            if (auto *check = control<QAbstractButton>(u"Form3"_s, u"Check%1"_s.arg(box)))
                click(check);
        for (int box : {12, 16, 19, 23, 28, 33})
            if (auto *check = control<QAbstractButton>(u"Form4"_s, u"Check%1"_s.arg(box)))
                click(check);
        timeInterpret(u"Form3"_s, u"Command1"_s, u"Text5"_s, u"front_interpret_ns"_s);
        timeInterpret(u"Form4"_s, u"Command2"_s, u"Text1"_s, u"back_interpret_ns"_s);
        settleThen([this] { finish(); });
    }

    void timeInterpret(const QString &window, const QString &button, const QString &text, const QString &name)
    {
        auto *interpretButton = control<QAbstractButton>(window, button);
        auto *result = control<QLineEdit>(window, text);
        if (!interpretButton || !result)
            return fail(window + u" has no "_s + button + u" or "_s + text);
        // The button acts on the release: that is the click the user waits on.
        // Qt first redraws the released button, at once, then emits released()
        // and clicked(); the program's own share is what follows released().
        std::int64_t handlerStart = 0;
        const QMetaObject::Connection watch
            = QObject::connect(interpretButton, &QAbstractButton::released, qApp, [&] { handlerStart = nowNs(); });
        std::vector<std::int64_t> fromRelease;
        std::vector<std::int64_t> fromPress;
        std::vector<std::int64_t> handler;
        for (int round = 0; round < 201; ++round) {
            result->clear();
            const std::int64_t pressed = nowNs();
            press(interpretButton);
            const std::int64_t released = nowNs();
            release(interpretButton);
            const std::int64_t written = nowNs();
            if (result->text().isEmpty())
                return fail(window + u'.' + text + u" was not written"_s);
            fromRelease.push_back(written - released);
            fromPress.push_back(written - pressed);
            handler.push_back(written - handlerStart);
        }
        QObject::disconnect(watch);
        note(name, middle(fromRelease));
        note(name + u"_handler"_s, middle(handler));
        note(name + u"_with_press"_s, middle(fromPress));
    }

    static std::int64_t middle(std::vector<std::int64_t> values)
    {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }

    void settleThen(std::function<void()> next)
    {
        // Let the last frames and events go by before the next step.
        QTimer::singleShot(200, qApp, std::move(next));
    }

    void finish()
    {
        if (QFile file(m_out); file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(m_results.toUtf8());
        // The program's own way out where it has one, so that it ends as a user ends it.
        if (auto *exit = control<QAbstractButton>(u"Form2"_s, u"Command4"_s))
            click(exit);
        else
            QCoreApplication::quit();
    }

    void fail(const QString &why)
    {
        m_results += u"error="_s + why + u'\n';
        if (QFile file(m_out); file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(m_results.toUtf8());
        QCoreApplication::exit(3);
    }

    void note(const QString &name, std::int64_t value) { m_results += u"%1=%2\n"_s.arg(name).arg(value); }

    bool m_tour;
    QString m_out;
    QString m_results;
    QTimer m_deadline;
    int m_scanned = 0;
    std::int64_t m_since = 0;
    std::function<bool(std::uint32_t)> m_waiting;
    std::function<void(std::int64_t)> m_then;
};

void startProbe()
{
    const QString mode = qEnvironmentVariable("KVT_PROBE");
    if (mode.isEmpty())
        return;
    // Lives until the process ends; the application is being built right now.
    QTimer::singleShot(0, [mode] { new Probe(mode == u"tour"_s, qEnvironmentVariable("KVT_PROBE_OUT")); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
