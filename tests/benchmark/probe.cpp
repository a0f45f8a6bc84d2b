// A measuring probe loaded into an unchanged program with LD_PRELOAD, so that
// the program measured is the one users run. It notes the moment each frame
// goes to the X server (the calls that put a window's pixels there) and, from
// inside the program, clicks through the screens as a user would.
//
//   KVT_PROBE=startup  note the first painted frame of any window, then quit
//   KVT_PROBE=tour     also: welcome -> menu -> front side -> back side, the
//                      time from each click to the new window's first frame,
//                      and the time of "แปลผล" on each side; then the exit button
//   KVT_PROBE=screens  the same four screens, each button clicked as soon as
//                      the window before it has painted its first frame, to
//                      the back side's first frame (tour_end_ns); then out
//   KVT_PROBE=keys     a whole front side and a whole back side typed with
//                      the digit keys and Enter: each key to its painted
//                      frame, each key's own handling, and each form from its
//                      first key to its results painted (see KeyEntryProbe)
//   KVT_PROBE=class    a class of 1,000 children copied with the keys (25
//                      digits, Page Down, 8 digits, Ctrl+Enter each), then 20
//                      more: Ctrl+Enter to the front side's next frame, its
//                      own handling, and the memory the 1,000 took (see ClassProbe)
//   KVT_PROBE_OUT      file that receives the results as name=value lines
//
// startup, tour and screens also note sqlite_opens: the SQLite connections
// the program had opened by its first frame (none, unless a file was named).

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
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
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

extern "C" {
struct sqlite3;
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
std::atomic<int> g_sqliteOpens {0};

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

// The ways a program opens an SQLite connection, counted on the way through.
extern "C" Q_DECL_EXPORT int sqlite3_open_v2(const char *name, sqlite3 **db, int flags, const char *vfs)
{
    static const auto real = realFunction<decltype(&sqlite3_open_v2)>("sqlite3_open_v2", "libsqlite3.so.0");
    ++g_sqliteOpens;
    return real(name, db, flags, vfs);
}

extern "C" Q_DECL_EXPORT int sqlite3_open(const char *name, sqlite3 **db)
{
    static const auto real = realFunction<decltype(&sqlite3_open)>("sqlite3_open", "libsqlite3.so.0");
    ++g_sqliteOpens;
    return real(name, db);
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

// The name=value lines a probe hands to the harness, written to KVT_PROBE_OUT
// when the probe is done or has failed.
class Report final
{
public:
    explicit Report(QString out)
        : m_out(std::move(out))
    {
    }

    void note(const QString &name, std::int64_t value) { m_lines += u"%1=%2\n"_s.arg(name).arg(value); }

    void finish()
    {
        write();
        // The program's own way out where it has one, so that it ends as a user ends it.
        if (auto *exit = control<QAbstractButton>(u"Form2"_s, u"Command4"_s))
            click(exit);
        else
            QCoreApplication::quit();
    }

    void fail(const QString &why)
    {
        m_lines += u"error="_s + why + u'\n';
        write();
        QCoreApplication::exit(3);
    }

private:
    void write() const
    {
        if (QFile file(m_out); file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(m_lines.toUtf8());
    }

    QString m_out;
    QString m_lines;
};

class Probe final
{
public:
    Probe(bool tour, bool screensOnly, QString out)
        : m_tour(tour || screensOnly)
        , m_screensOnly(screensOnly)
        , m_report(std::move(out))
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
            m_report.note(u"first_frame_ns"_s, ns);
            m_report.note(u"welcome_rss_kib"_s, residentKiB());
            m_report.note(u"sqlite_opens"_s, g_sqliteOpens.load());
            if (m_tour)
                settleThen([this] { openMenu(); });
            else
                settleThen([this] { m_report.finish(); });
        };
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, qApp, [this] { m_report.fail(u"no frame came"_s); });
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
            return m_report.fail(window + u'.' + button + u" not found"_s);
        m_since = nowNs();
        const std::int64_t clicked = m_since;
        click(target);
        QWidget *opened = topLevel(opens);
        if (!opened || !opened->windowHandle())
            return m_report.fail(opens + u" did not open"_s);
        const std::uint32_t id = static_cast<std::uint32_t>(opened->windowHandle()->winId());
        m_waiting = [id](std::uint32_t drawable) { return drawable == id; };
        m_then = [this, clicked, name, opens, next = std::move(next)](std::int64_t ns) {
            m_report.note(name, ns - clicked);
            m_report.note(opens + u"_rss_kib"_s, residentKiB());
            if (m_screensOnly && opens == u"Form4"_s)
                m_report.note(u"tour_end_ns"_s, ns);
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
        clickAndTime(u"Form3"_s, u"Command3"_s, u"Form4"_s, u"back_frame_ns"_s, [this] {
            if (m_screensOnly)
                m_report.finish();
            else
                interpret();
        });
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
        settleThen([this] { m_report.finish(); });
    }

    void timeInterpret(const QString &window, const QString &button, const QString &text, const QString &name)
    {
        auto *interpretButton = control<QAbstractButton>(window, button);
        auto *result = control<QLineEdit>(window, text);
        if (!interpretButton || !result)
            return m_report.fail(window + u" has no "_s + button + u" or "_s + text);
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
                return m_report.fail(window + u'.' + text + u" was not written"_s);
            fromRelease.push_back(written - released);
            fromPress.push_back(written - pressed);
            handler.push_back(written - handlerStart);
        }
        QObject::disconnect(watch);
        m_report.note(name, middle(fromRelease));
        m_report.note(name + u"_handler"_s, middle(handler));
        m_report.note(name + u"_with_press"_s, middle(fromPress));
    }

    static std::int64_t middle(std::vector<std::int64_t> values)
    {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }

    void settleThen(std::function<void()> next)
    {
        // Let the last frames and events go by before the next step; in the
        // quick tour, on at once, as a user who clicks on the first frame.
        QTimer::singleShot(m_screensOnly ? 0 : 200, qApp, std::move(next));
    }

    bool m_tour;
    bool m_screensOnly;
    Report m_report;
    QTimer m_deadline;
    int m_scanned = 0;
    std::int64_t m_since = 0;
    std::function<bool(std::uint32_t)> m_waiting;
    std::function<void(std::int64_t)> m_then;
};

// ---------------------------------------------------------------------------
// Keyboard entry: a teacher copying a form with the digit keys. Self-contained:
// it shares only the frame hooks above with the tour.

// Waits for one frame: the first, from a given moment on, of a window the
// probe names, then hands its time on. It fails the probe when none comes.
class FrameWatch final
{
public:
    explicit FrameWatch(Report &report)
        : m_report(report)
    {
        g_onFrames = [this] { scan(); };
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, qApp, [this] { m_report.fail(u"no frame came"_s); });
    }

    using Wanted = std::function<bool(std::uint32_t)>;

    // Any shown top-level window: the first frame of a run.
    static bool anyWindow(std::uint32_t drawable)
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowHandle() && widget->windowHandle()->winId() == drawable)
                return true;
        return false;
    }
    static Wanted window(const QWidget *widget)
    {
        const auto id = static_cast<std::uint32_t>(widget->windowHandle()->winId());
        return [id](std::uint32_t drawable) { return drawable == id; };
    }

    void await(std::int64_t from, Wanted wanted, std::function<void(std::int64_t)> then, int timeoutMs)
    {
        m_from = from;
        m_wanted = std::move(wanted);
        m_then = std::move(then);
        m_deadline.start(timeoutMs);
        scan();
    }
    // Frames count from this moment on instead: a button acts on its release.
    void countFrom(std::int64_t from) { m_from = from; }

private:
    void scan()
    {
        const int count = g_frameCount.load();
        for (; m_scanned < count; ++m_scanned) {
            const Frame &frame = g_frames[static_cast<std::size_t>(m_scanned)];
            if (m_wanted && frame.ns >= m_from && m_wanted(frame.drawable)) {
                m_wanted = nullptr;
                m_deadline.stop();
                std::exchange(m_then, nullptr)(frame.ns);
                return;
            }
        }
    }

    Report &m_report;
    QTimer m_deadline;
    int m_scanned = 0;
    std::int64_t m_from = 0;
    Wanted m_wanted;
    std::function<void(std::int64_t)> m_then;
};

std::int64_t middle(std::vector<std::int64_t> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The keys go to the focused control as X11 delivers them on a Latin layout:
// X keycode 10 is the digit row's 1, 36 is Return.
class KeyEntryProbe final
{
public:
    explicit KeyEntryProbe(QString out)
        : m_report(std::move(out))
    {
        // The first frame of whichever window comes up first, as the harness expects.
        m_frames.await(
            0, &FrameWatch::anyWindow,
            [this](std::int64_t ns) {
                m_report.note(u"first_frame_ns"_s, ns);
                settleThen([this] { openFront(); });
            },
            20000);
    }

private:
    void openFront()
    {
        auto *enter = control<QAbstractButton>(u"Form1"_s, u"Command1"_s);
        if (!enter)
            return m_report.fail(u"Form1.Command1 not found"_s);
        click(enter);
        auto *version = control<QAbstractButton>(u"Form2"_s, u"Command1"_s);
        if (!version)
            return m_report.fail(u"Form2.Command1 not found"_s);
        click(version);
        // The worked example of the paper form: areas 6, 3, 8, 1, social 4.
        const std::vector<int> digits {2, 3, 3, 2, 2, 1, 3, 3, 2, 3, 3, 2, 2, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 1, 3};
        settleThen([this, digits] { typeForm(u"Form3"_s, u"Command1"_s, digits, u"front"_s, [this] { openBack(); }); });
    }

    void openBack()
    {
        auto *backSide = control<QAbstractButton>(u"Form3"_s, u"Command3"_s);
        if (!backSide)
            return m_report.fail(u"Form3.Command3 not found"_s);
        click(backSide);
        // "ใช่" and one answer on every row after it.
        const std::vector<int> digits {2, 3, 4, 2, 3, 1, 4, 4};
        settleThen(
            [this, digits] { typeForm(u"Form4"_s, u"Command2"_s, digits, u"back"_s, [this] { m_report.finish(); }); });
    }

    // Types the digits into the focused boxes, then Enter on "แปลผล", each key
    // once the frame of the one before is painted.
    void typeForm(const QString &window, const QString &interpretButton, std::vector<int> digits, const QString &side,
        std::function<void()> next)
    {
        m_screen = topLevel(window);
        auto *interpret = control<QAbstractButton>(window, interpretButton);
        if (!m_screen || !m_screen->windowHandle() || !interpret)
            return m_report.fail(window + u" is not up"_s);
        m_keys = std::move(digits);
        m_keys.push_back(0); // Enter
        m_index = 0;
        m_side = side;
        m_frameLatencies.clear();
        m_handling.clear();
        m_formStart = 0;
        m_next = std::move(next);
        // Enter only presses the button; it acts 100 ms later, on the release.
        QObject::disconnect(m_clicked);
        m_clicked
            = QObject::connect(interpret, &QAbstractButton::clicked, qApp, [this] { m_frames.countFrom(nowNs()); });
        typeNextKey();
    }

    void typeNextKey()
    {
        const bool enter = m_keys[m_index] == 0;
        const int digit = m_keys[m_index];
        QWidget *target = m_screen->focusWidget();
        if (!target)
            return m_report.fail(m_screen->objectName() + u" has no focus"_s);
        const int key = enter ? int(Qt::Key_Return) : int(Qt::Key_0) + digit;
        const quint32 keycode = enter ? 36 : 9 + static_cast<quint32>(digit);
        const QString text = enter ? u"\r"_s : QString::number(digit);
        const std::int64_t pressed = nowNs();
        if (m_formStart == 0)
            m_formStart = pressed;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keycode, 0, 0, text);
        QCoreApplication::sendEvent(target, &press);
        const std::int64_t handled = nowNs();
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, keycode, 0, 0, text);
        QCoreApplication::sendEvent(target, &release);
        if (!enter)
            m_handling.push_back(handled - pressed);
        // A digit: its own frame. Enter: the frame after the button has acted.
        const std::int64_t from = enter ? std::numeric_limits<std::int64_t>::max() : pressed;
        m_frames.await(
            from, FrameWatch::window(m_screen),
            [this, pressed, enter](std::int64_t ns) {
                if (enter) {
                    m_report.note(m_side + u"_form_ns"_s, ns - m_formStart);
                    m_report.note(m_side + u"_enter_ns"_s, ns - pressed);
                    m_report.note(m_side + u"_key_frame_ns"_s, middle(m_frameLatencies));
                    m_report.note(m_side + u"_key_handling_ns"_s, middle(m_handling));
                    settleThen(std::exchange(m_next, nullptr));
                    return;
                }
                m_frameLatencies.push_back(ns - pressed);
                ++m_index;
                // As soon as the frame is out, as a fast typist would.
                QTimer::singleShot(0, qApp, [this] { typeNextKey(); });
            },
            5000);
    }

    void settleThen(std::function<void()> next) { QTimer::singleShot(200, qApp, std::move(next)); }

    Report m_report;
    FrameWatch m_frames {m_report};
    QWidget *m_screen = nullptr;
    std::vector<int> m_keys;
    std::size_t m_index = 0;
    QString m_side;
    std::int64_t m_formStart = 0;
    std::vector<std::int64_t> m_frameLatencies;
    std::vector<std::int64_t> m_handling;
    std::function<void()> m_next;
    QMetaObject::Connection m_clicked;
};

// A whole class typed in: the keys go to the focused box of the sheet in
// front, as a typist's would, a class of children at a time between the
// event loop's turns; then the finish key of the last children is timed
// to the front side's next painted frame.
class ClassProbe final
{
public:
    explicit ClassProbe(QString out)
        : m_report(std::move(out))
    {
        m_frames.await(
            0, &FrameWatch::anyWindow,
            [this](std::int64_t ns) {
                m_report.note(u"first_frame_ns"_s, ns);
                QTimer::singleShot(200, qApp, [this] { openFront(); });
            },
            20000);
    }

private:
    static constexpr int kClassSize = 1000;
    static constexpr int kTimed = 20;

    void openFront()
    {
        auto *enter = control<QAbstractButton>(u"Form1"_s, u"Command1"_s);
        if (!enter)
            return m_report.fail(u"Form1.Command1 not found"_s);
        click(enter);
        auto *version = control<QAbstractButton>(u"Form2"_s, u"Command2"_s);
        if (!version)
            return m_report.fail(u"Form2.Command2 not found"_s);
        click(version);
        m_front = topLevel(u"Form3"_s);
        if (!m_front)
            return m_report.fail(u"Form3 is not up"_s);
        QTimer::singleShot(200, qApp, [this] { addChildren(); });
    }

    static void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers, quint32 keycode, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, keycode, 0, 0, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, keycode, 0, 0, text);
        QCoreApplication::sendEvent(target, &release);
    }

    static void digit(QWidget *sheet, int digit)
    {
        key(sheet->focusWidget(), Qt::Key_0 + digit, Qt::NoModifier, 9 + static_cast<quint32>(digit),
            QString::number(digit));
    }

    // One paper without its finish key; the child's number varies the answers.
    bool typePaper(int child)
    {
        for (int item = 0; item < 25; ++item)
            digit(m_front, (item + child) % 3 + 1);
        key(m_front->focusWidget(), Qt::Key_PageDown, Qt::NoModifier, 117, {});
        if (!m_back)
            m_back = topLevel(u"Form4"_s);
        if (!m_back || !m_back->focusWidget())
            return false;
        digit(m_back, 2); // "ใช่"
        for (int row = 1; row < 8; ++row)
            digit(m_back, (row + child) % 4 + 1);
        return true;
    }

    void finish(QWidget *sheet) { key(sheet->focusWidget(), Qt::Key_Return, Qt::ControlModifier, 36, u"\r"_s); }

    void addChildren()
    {
        for (int i = 0; i < 50 && m_added < kClassSize; ++i, ++m_added) {
            if (!typePaper(m_added))
                return m_report.fail(u"the back side is not up"_s);
            finish(m_back);
            if (m_added == 0) {
                QCoreApplication::processEvents();
                m_firstRss = residentKiB();
            }
        }
        if (m_added < kClassSize)
            return QTimer::singleShot(0, qApp, [this] { addChildren(); });
        QTimer::singleShot(300, qApp, [this] {
            m_report.note(u"class_rss_kib"_s, residentKiB() - m_firstRss);
            timeNext();
        });
    }

    void timeNext()
    {
        if (m_timed == kTimed) {
            m_report.note(u"finish_frame_ns"_s, middle(m_latencies));
            m_report.note(u"finish_handling_ns"_s, middle(m_handling));
            // Copied, the class may go without the question on leaving.
            if (auto *copy = control<QAbstractButton>(u"ClassList"_s, u"CopyClass"_s))
                click(copy);
            m_report.finish();
            return;
        }
        if (!typePaper(kClassSize + m_timed))
            return m_report.fail(u"the back side is not up"_s);
        const std::int64_t pressed = nowNs();
        finish(m_back);
        m_handling.push_back(nowNs() - pressed);
        m_frames.await(
            pressed, FrameWatch::window(m_front),
            [this, pressed](std::int64_t ns) {
                m_latencies.push_back(ns - pressed);
                ++m_timed;
                QTimer::singleShot(100, qApp, [this] { timeNext(); });
            },
            5000);
    }

    Report m_report;
    FrameWatch m_frames {m_report};
    QWidget *m_front = nullptr;
    QWidget *m_back = nullptr;
    int m_added = 0;
    int m_timed = 0;
    std::int64_t m_firstRss = 0;
    std::vector<std::int64_t> m_latencies;
    std::vector<std::int64_t> m_handling;
};

// ---------------------------------------------------------------------------

void startProbe()
{
    const QString mode = qEnvironmentVariable("KVT_PROBE");
    if (mode.isEmpty())
        return;
    // Lives until the process ends; the application is being built right now.
    if (mode == u"keys"_s) {
        QTimer::singleShot(0, [] { new KeyEntryProbe(qEnvironmentVariable("KVT_PROBE_OUT")); });
        return;
    }
    if (mode == u"class"_s) {
        QTimer::singleShot(0, [] { new ClassProbe(qEnvironmentVariable("KVT_PROBE_OUT")); });
        return;
    }
    QTimer::singleShot(
        0, [mode] { new Probe(mode == u"tour"_s, mode == u"screens"_s, qEnvironmentVariable("KVT_PROBE_OUT")); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
