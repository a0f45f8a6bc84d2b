#include "kvttest.h"
#include "shell/instancehandoff.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifndef Q_OS_WIN
#include <QFile>
#include <QStandardPaths>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString kHandOver = u"--hand-over"_s;

// This test program started again as the second copy, in folder; true when
// it reports that the running copy took its file.
bool handOverFromAnotherCopy(const QString &argument, const QString &folder)
{
    QProcess copy;
    copy.setWorkingDirectory(folder);
    copy.start(QCoreApplication::applicationFilePath(), {kHandOver, argument});
    // The running copy answers from this event loop, which turns while waiting.
    const bool ended = QTest::qWaitFor([&copy] { return copy.state() == QProcess::NotRunning; }, 20000);
    return ended && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
}

} // namespace

class HandoffTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileGoesToTheRunningCopy_data();
    void fileGoesToTheRunningCopy();
    void secondListenerLeavesTheFirst();
    void noRunningCopy();
#ifndef Q_OS_WIN
    void socketLeftByAnEndedCopy();
#endif

private:
    void startListening();

    QTemporaryDir m_folder;
    std::unique_ptr<InstanceListener> m_listener;
};

void HandoffTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
#ifndef Q_OS_WIN
    // A runtime folder of the test's own (mode 0700), which the second copies
    // inherit, so that a program running on this desktop takes no part.
    const QString runtime = m_folder.filePath(u"runtime"_s);
    QVERIFY(QDir().mkdir(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
#endif
}

void HandoffTest::startListening()
{
    m_listener = std::make_unique<InstanceListener>();
    QVERIFY(!m_listener->isListening()); // only once the event loop turns
    QTRY_VERIFY(m_listener->isListening());
}

void HandoffTest::init()
{
    startListening();
}

void HandoffTest::cleanup()
{
    m_listener.reset();
}

void HandoffTest::fileGoesToTheRunningCopy_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected"); // within the test's folder

    QTest::newRow("absolute") << m_folder.filePath(u"ห้อง ป.4 ทับ 1.kvt"_s) << u"ห้อง ป.4 ทับ 1.kvt"_s;
    QTest::newRow("relative") << u"ห้อง 2.kvt"_s << u"ห้อง 2.kvt"_s;
    QTest::newRow("dot segments") << u"./ย่อย/../ห้อง 3.kvt"_s << u"ห้อง 3.kvt"_s;
}

void HandoffTest::fileGoesToTheRunningCopy()
{
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QSignalSpy handedOver(m_listener.get(), &InstanceListener::fileHandedOver);
    QVERIFY(handOverFromAnotherCopy(argument, m_folder.path()));
    QTRY_COMPARE(handedOver.size(), 1);
    QCOMPARE(
        QDir::fromNativeSeparators(handedOver.at(0).at(0).toString()), QDir::cleanPath(m_folder.filePath(expected)));
}

// A copy started while another runs keeps out of its way.
void HandoffTest::secondListenerLeavesTheFirst()
{
    QSignalSpy handedOver(m_listener.get(), &InstanceListener::fileHandedOver);
    {
        InstanceListener second;
        QTest::qWait(50);
        QVERIFY(!second.isListening());
    }
    QVERIFY(handOverFromAnotherCopy(m_folder.filePath(u"ห้อง.kvt"_s), m_folder.path()));
    QTRY_COMPARE(handedOver.size(), 1);
}

// Once the running copy has ended, the next one opens its file itself, at once.
void HandoffTest::noRunningCopy()
{
    m_listener.reset();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!handOverToRunningCopy(m_folder.filePath(u"ห้อง.kvt"_s)));
    QVERIFY(clock.elapsed() < 1000);
}

#ifndef Q_OS_WIN
// A copy that was killed leaves its socket behind; the next copy listens all the same.
void HandoffTest::socketLeftByAnEndedCopy()
{
    const QDir runtime(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    const QStringList sockets = runtime.entryList(QDir::System);
    QCOMPARE(sockets.size(), 1);
    m_listener.reset();
    QVERIFY(runtime.entryList(QDir::System).isEmpty()); // the ended copy removed its own

    // What a killed copy leaves: a socket file that no one listens on.
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(runtime.filePath(sockets.at(0)));
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(stale, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ::close(stale);
    QVERIFY(!handOverToRunningCopy(m_folder.filePath(u"ห้อง.kvt"_s)));

    startListening();
    QSignalSpy handedOver(m_listener.get(), &InstanceListener::fileHandedOver);
    QVERIFY(handOverFromAnotherCopy(m_folder.filePath(u"ห้อง.kvt"_s), m_folder.path()));
    QTRY_COMPARE(handedOver.size(), 1);
}
#endif

int main(int argc, char *argv[])
{
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == kHandOver) {
        QCoreApplication app(argc, argv);
        return handOverToRunningCopy(QCoreApplication::arguments().at(2)) ? 0 : 1;
    }
    return KvtTest::run<HandoffTest>(argc, argv, KvtTest::SetUp::Bare);
}

#include "tst_handoff.moc"
