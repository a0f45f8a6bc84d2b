#include "instancehandoff.h"

#include "programidentity.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// A path is short; anything longer is not from a copy of the program.
constexpr qsizetype kMaxMessage = 32 * 1024;
// A running copy busy for longer than this is not waited for: the new copy
// opens the file itself.
constexpr int kReplySeconds = 5;

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The file goes to the program after the other copy has its answer, so that
// a question the program asks on opening it keeps no one waiting.
void handOverLater(InstanceListener *listener, const QString &path)
{
    QTimer::singleShot(0, listener, [listener, path] { emit listener->fileHandedOver(path); });
}

#ifdef Q_OS_WIN

// "KVTC", as in the class file.
constexpr ULONG_PTR kCopyDataKind = 0x4B565443;

// A hidden message-only window, found by its class and by the user's name:
// FindWindow sees only this desktop's windows, and the name keeps two users
// of one desktop apart.
std::wstring windowClass()
{
    return (ProgramIdentity::appId() + u".handoff"_s).toStdWString();
}

std::wstring windowName()
{
    wchar_t user[257] = {};
    DWORD size = 257;
    if (!GetUserNameW(user, &size))
        user[0] = 0;
    return std::wstring(L"kvt ") + user;
}

HWND runningCopy()
{
    return FindWindowExW(HWND_MESSAGE, nullptr, windowClass().c_str(), windowName().c_str());
}

LRESULT CALLBACK handOffProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return DefWindowProcW(window, message, wParam, lParam);
    auto *listener = reinterpret_cast<InstanceListener *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    if (!listener || data->dwData != kCopyDataKind || data->cbData % 2 != 0 || data->cbData > kMaxMessage)
        return FALSE;
    const QString path = QString::fromUtf16(static_cast<const char16_t *>(data->lpData), data->cbData / 2);
    if (!QDir::isAbsolutePath(path))
        return FALSE;
    handOverLater(listener, path);
    return TRUE;
}

#else

// The user's runtime folder is the user's alone (mode 0700), and so is the
// socket in it.
bool socketAddress(sockaddr_un &address)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(folder + u'/' + ProgramIdentity::appId() + u".handoff"_s);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

constexpr char kTaken = 'y';

class Descriptor final
{
    Q_DISABLE_COPY_MOVE(Descriptor)

public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

bool connectTo(int fd, const sockaddr_un &address)
{
    return ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

bool fromThisUser(int fd)
{
#ifdef SO_PEERCRED
    ucred credentials {};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == ::getuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(fd, &uid, &gid) == 0 && uid == ::getuid();
#endif
}

// One copy's message: the path, then the end of its writing.
class Incoming final : public QObject
{
    Q_DISABLE_COPY_MOVE(Incoming)

public:
    Incoming(int fd, InstanceListener *listener)
        : QObject(listener)
        , m_listener(listener)
        , m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Incoming::read);
    }

private:
    void read()
    {
        char chunk[4096];
        for (;;) {
            const ssize_t size = ::recv(m_fd.get(), chunk, sizeof chunk, 0);
            if (size > 0) {
                m_message.append(chunk, size);
                if (m_message.size() > kMaxMessage)
                    return finish(false);
            } else if (size == 0) {
                return finish(true);
            } else if (errno != EINTR) {
                if (errno != EAGAIN && errno != EWOULDBLOCK)
                    finish(false);
                return;
            }
        }
    }

    void finish(bool whole)
    {
        m_notifier.setEnabled(false);
        const QString path = QString::fromUtf8(m_message);
        if (whole && QDir::isAbsolutePath(path)) {
            ::send(m_fd.get(), &kTaken, 1, MSG_NOSIGNAL);
            handOverLater(m_listener, path);
        }
        deleteLater();
    }

    InstanceListener *m_listener;
    Descriptor m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_message;
};

#endif

} // namespace

#ifdef Q_OS_WIN

bool handOverToRunningCopy(const QString &path)
{
    const HWND window = runningCopy();
    if (!window)
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // This copy was just started by the user, so it may give the running one
    // the right to come to the front.
    AllowSetForegroundWindow(process);
    const QString message = absolute(path);
    COPYDATASTRUCT data {};
    data.dwData = kCopyDataKind;
    data.cbData = DWORD(message.size() * 2);
    data.lpData = const_cast<void *>(static_cast<const void *>(message.utf16()));
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(
               window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kReplySeconds * 1000, &taken)
        && taken == TRUE;
}

struct InstanceListener::Channel {
    HWND window = nullptr;

    ~Channel()
    {
        if (window)
            DestroyWindow(window);
    }
};

void InstanceListener::listen()
{
    if (runningCopy())
        return;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = windowClass();
    WNDCLASSEXW windowClassInfo {};
    windowClassInfo.cbSize = sizeof windowClassInfo;
    windowClassInfo.lpfnWndProc = handOffProcedure;
    windowClassInfo.hInstance = instance;
    windowClassInfo.lpszClassName = className.c_str();
    if (!RegisterClassExW(&windowClassInfo) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return;
    auto channel = std::make_unique<Channel>();
    channel->window = CreateWindowExW(
        0, className.c_str(), windowName().c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!channel->window)
        return;
    SetWindowLongPtrW(channel->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_channel = std::move(channel);
}

#else

bool handOverToRunningCopy(const QString &path)
{
    sockaddr_un address;
    if (!socketAddress(address))
        return false;
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0 || !connectTo(socket.get(), address))
        return false;
    const timeval timeout {kReplySeconds, 0};
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const QByteArray message = absolute(path).toUtf8();
    for (qsizetype sent = 0; sent < message.size();) {
        const ssize_t size
            = ::send(socket.get(), message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
        if (size < 0 && errno != EINTR)
            return false;
        sent += qMax<ssize_t>(size, 0);
    }
    ::shutdown(socket.get(), SHUT_WR);
    char reply = 0;
    ssize_t size = 0;
    do
        size = ::recv(socket.get(), &reply, 1, 0);
    while (size < 0 && errno == EINTR);
    return size == 1 && reply == kTaken;
}

struct InstanceListener::Channel {
    QByteArray path;
    int socket = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    ino_t inode = 0;

    ~Channel()
    {
        notifier.reset();
        ::close(socket);
        // Only our own socket: a later copy may have put its own in its place.
        struct stat info {
        };
        if (::stat(path.constData(), &info) == 0 && info.st_ino == inode)
            ::unlink(path.constData());
    }
};

void InstanceListener::listen()
{
    sockaddr_un address;
    if (!socketAddress(address))
        return;
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return;
    const auto bound
        = [&] { return ::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0; };
    if (!bound()) {
        if (errno != EADDRINUSE)
            return;
        // Another copy answers there; or one that ended without removing it.
        const Descriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (probe.get() < 0 || connectTo(probe.get(), address))
            return;
        ::unlink(address.sun_path);
        if (!bound())
            return;
    }
    struct stat info {
    };
    if (::listen(socket.get(), 8) != 0 || ::stat(address.sun_path, &info) != 0)
        return;
    auto channel = std::make_unique<Channel>();
    channel->path = QByteArray(address.sun_path);
    channel->inode = info.st_ino;
    channel->notifier = std::make_unique<QSocketNotifier>(socket.get(), QSocketNotifier::Read);
    channel->socket = socket.release();
    connect(channel->notifier.get(), &QSocketNotifier::activated, this, [this] {
        const int fd = ::accept4(m_channel->socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!fromThisUser(fd)) {
            ::close(fd);
            return;
        }
        new Incoming(fd, this);
    });
    m_channel = std::move(channel);
}

#endif

InstanceListener::InstanceListener(QObject *parent)
    : QObject(parent)
{
    QTimer::singleShot(0, this, &InstanceListener::listen);
}

InstanceListener::~InstanceListener() = default;

bool InstanceListener::isListening() const
{
    return m_channel != nullptr;
}
