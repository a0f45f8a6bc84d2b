#include "sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_WIN
// While the question waits, Windows' logoff page names the program with this
// reason rather than "this app is preventing you from signing out".
class ShutdownBlockReason final
{
    Q_DISABLE_COPY_MOVE(ShutdownBlockReason)

public:
    ShutdownBlockReason()
    {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        for (QWindow *window : windows) {
            if (window->isVisible() && window->type() != Qt::ToolTip && window->type() != Qt::Popup) {
                m_window = reinterpret_cast<HWND>(window->winId());
                break;
            }
        }
        const QString reason = u"ยังมีรายชื่อนักเรียนที่ยังไม่ได้บันทึกลงไฟล์"_s;
        if (m_window && !ShutdownBlockReasonCreate(m_window, reinterpret_cast<LPCWSTR>(reason.utf16())))
            m_window = nullptr;
    }
    ~ShutdownBlockReason()
    {
        if (m_window)
            ShutdownBlockReasonDestroy(m_window);
    }

private:
    HWND m_window = nullptr;
};
#endif

} // namespace

SessionEnd::SessionEnd(std::function<bool()> mayEnd, std::function<void()> end, QObject *parent)
    : QObject(parent)
    , m_mayEnd(std::move(mayEnd))
    , m_end(std::move(end))
{
    // Direct: the desktop reads the answer when the signal returns.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &SessionEnd::commitData, Qt::DirectConnection);
}

SessionEnd::~SessionEnd() = default;

void SessionEnd::commitData(QSessionManager &manager)
{
    // Windows asks once for each top-level window; the first question answers all.
    if (m_asking)
        return;
    // On X11 this waits for the session manager's turn to ask; false means
    // the session ends whatever the program does.
    if (!manager.allowsInteraction())
        return;
    m_asking = true;
    bool mayEnd = false;
    {
#ifdef Q_OS_WIN
        const ShutdownBlockReason reason;
#endif
        mayEnd = m_mayEnd();
    }
    m_asking = false;
    // Qt tells the session manager when the signal returns; released here,
    // X11's would hear "not cancelled".
    if (!mayEnd) {
        manager.cancel();
        return;
    }
    // After the desktop has the answer, so that the program does not end
    // inside the session manager's request.
    QTimer::singleShot(0, this, [this] { m_end(); });
}
