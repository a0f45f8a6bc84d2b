// The leak check at exit with threads whose memory is held in the thread-local
// block of a library loaded at run time. The sanitizer runtime can take such a
// block, when it starts 16 bytes past a page boundary, for one with a header
// in front, read its allocator's own bookkeeping as the block's bounds and
// crash scanning them; every test of a sanitizer build turns that guess off
// (asandefaults.cpp), and so does the test preset.
// The process must end with neither a crash nor a leak report: what the
// threads hold is still reachable.

#include <QLibrary>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace {

using Hold = std::uintptr_t (*)();

std::atomic<std::uintptr_t> lastBlock {0};

// Takes its block, says where, and stays until the process ends, so that the
// check at exit finds it alive.
void holdAndStay(Hold hold)
{
    lastBlock = hold();
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

} // namespace

class DynamicTlsTest final : public QObject
{
    Q_OBJECT

private slots:
    void threadsHoldMemoryInDynamicTls();
};

void DynamicTlsTest::threadsHoldMemoryInDynamicTls()
{
    QLibrary library(QStringLiteral(KVT_TLS_HOLDER));
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    const auto hold = reinterpret_cast<Hold>(library.resolve("kvt_hold"));
    QVERIFY(hold);

    // New threads until one's block starts where the guess would be made.
    int threads = 0;
    bool atPageStart = false;
    while (!atPageStart && threads < 64) {
        lastBlock = 0;
        std::thread(holdAndStay, hold).detach();
        ++threads;
        while (lastBlock == 0)
            std::this_thread::yield();
        atPageStart = lastBlock % 4096 == 16;
    }
    qInfo("%d thread(s); the last one's block starts at %#llx", threads,
        static_cast<unsigned long long>(lastBlock.load()));
    if (!atPageStart)
        QSKIP("no block started 16 bytes past a page boundary here");
}

QTEST_GUILESS_MAIN(DynamicTlsTest)

#include "tst_dynamictls.moc"
