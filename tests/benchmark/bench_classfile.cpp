// The class file with a big class, in release mode on a display (X11 or
// offscreen), printing each figure against its target:
//
//   bench_classfile [FOLDER]          (/var/tmp by default: on disk, not tmpfs)
//
// - the disk's own write and fsync of one page, and the round of files a
//   commit with a rollback journal makes: the floor of every change;
// - a class of 1,020 pupils with 1,000 papers (one parent paper each for the
//   first 1,000), written paper by paper as the finish key writes them, and
//   the file's size;
// - the file opened into a new list to the list window's first frame;
// - the finish key with those 1,000 papers in the list and the file being
//   written, to the front side's next frame (20 papers, to the pupils left).

#include "classfile/classfile.h"
#include "classlist/classlist.h"
#include "kvttest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPapers = 1000;
constexpr int kPupilsLeft = 20;
constexpr int kOpens = 10;

// The moment the last paint of a window's widgets ended, as the event loop
// saw it.
class PaintWatch final : public QObject
{
public:
    explicit PaintWatch(QWidget *window = nullptr)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    void watch(QWidget *window)
    {
        m_window = window;
        m_painted = false;
    }
    // Turns the event loop until the window has painted; false after 5 s.
    bool waitForPaint()
    {
        QElapsedTimer limit;
        limit.start();
        m_painted = false;
        while (!m_painted && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        return m_painted;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window)
            m_painted = true;
        return false;
    }

private:
    QWidget *m_window = nullptr;
    bool m_painted = false;
};

double since(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void report(const char *what, double value, const char *unit, double target = 0)
{
    if (target > 0)
        std::printf(
            "%-52s %9.3f %-3s (target under %g) %s\n", what, value, unit, target, value < target ? "ok" : "OVER");
    else
        std::printf("%-52s %9.3f %s\n", what, value, unit);
}

// One 4 KiB page written in place and forced to the disk, as a commit does.
double fsyncMs(const QString &folder, bool dataOnly)
{
    const QByteArray path = QFile::encodeName(folder + u"/bench_fsync"_s);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return -1;
    std::vector<double> times;
    const QByteArray page(4096, 'k');
    for (int n = 0; n < 50; ++n) {
        QElapsedTimer timer;
        timer.start();
        const bool written = ::pwrite(fd, page.constData(), std::size_t(page.size()), 0) == page.size();
        if (!written || (dataOnly ? ::fdatasync(fd) : ::fsync(fd)) != 0)
            return -1;
        times.push_back(since(timer));
    }
    ::close(fd);
    ::unlink(path.constData());
    return median(times);
}

// A rollback journal's round, as each commit makes it: the journal created,
// written and synced with its folder, the page written in place and synced,
// the journal deleted.
double journalRoundMs(const QString &folder)
{
    const QByteArray base = QFile::encodeName(folder + u"/bench_round"_s);
    const QByteArray journal = base + "-journal";
    const int db = ::open(base.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY);
    if (db < 0 || dir < 0)
        return -1;
    std::vector<double> times;
    const QByteArray page(4096, 'k');
    const auto size = std::size_t(page.size());
    for (int n = 0; n < 50; ++n) {
        QElapsedTimer timer;
        timer.start();
        const int fd = ::open(journal.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        bool done = fd >= 0 && ::pwrite(fd, page.constData(), size, 0) == page.size() && ::fdatasync(fd) == 0
            && ::fsync(dir) == 0 && ::pwrite(db, page.constData(), size, 0) == page.size() && ::fdatasync(db) == 0;
        done = ::close(fd) == 0 && done && ::unlink(journal.constData()) == 0;
        if (!done)
            return -1;
        times.push_back(since(timer));
    }
    ::close(dir);
    ::close(db);
    ::unlink(base.constData());
    return median(times);
}

PaperTicks ticksOf(int paper)
{
    PaperTicks ticks;
    for (int item = 0; item < 25; ++item)
        ticks.front[std::size_t(KvtTest::kFrontBoxesOfItem[item][(item + paper) % 3] - 1)] = true;
    return ticks;
}

void tick(QWidget *front, int paper)
{
    for (int item = 0; item < 25; ++item)
        KvtTest::box(front, KvtTest::kFrontBoxesOfItem[item][(item + paper) % 3])->click();
}

struct Finishes {
    std::vector<double> frames; // the finish key to the front side's next frame
    std::vector<double> handling;
};

// The finish key on the papers of the pupils left, the list open beside.
Finishes timeFinishes(PaintWatch &paints, const QString &path, ClassDocument::Keeping keeping)
{
    ScreenRegistry screens;
    ClassList &list = screens.classList();
    if (!list.document().open(path).ok || list.document().keeping() != keeping)
        return {};
    list.showWindow();
    screens.currentChild().setVersion(FormVersion::Parent);
    screens.show(Screen::FrontSheet);
    QWidget *front = screens.screen(Screen::FrontSheet);
    paints.watch(front);
    paints.waitForPaint();
    Finishes finishes;
    const std::size_t before = list.document().papers().size();
    for (int n = 0; n < kPupilsLeft; ++n) {
        tick(front, kPapers + n);
        paints.waitForPaint();
        QElapsedTimer timer;
        timer.start();
        screens.finishPaper();
        finishes.handling.push_back(since(timer));
        paints.watch(front);
        if (!paints.waitForPaint())
            return {};
        finishes.frames.push_back(since(timer));
    }
    if (list.document().papers().size() != before + std::size_t(kPupilsLeft) || list.document().keeping() != keeping)
        return {};
    return finishes;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);
    const QString where = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/var/tmp"_s;
    QTemporaryDir folder(where + u"/bench_classfile_XXXXXX"_s);
    if (!folder.isValid())
        return 2;
    const QString path = folder.filePath(u"ป.4-2.kvt"_s);
    std::printf("bench_classfile: %d papers, folder %s, platform %s\n", kPapers, qPrintable(where),
        qPrintable(QGuiApplication::platformName()));

    report("a page written and fsync'd (ms)", fsyncMs(folder.path(), false), "ms");
    report("a page written and fdatasync'd (ms)", fsyncMs(folder.path(), true), "ms");
    report("a rollback journal's round (ms)", journalRoundMs(folder.path()), "ms");

    std::vector<double> adds;
    {
        ClassDocument document;
        QString roster;
        for (int n = 1; n <= kPapers + kPupilsLeft; ++n)
            roster += u"%1\tเด็กหญิงตัวอย่าง นามสกุลสมมติ %1\n"_s.arg(n);
        document.pasteRoster(parseRoster(roster));
        if (document.keepIn(path))
            return 3;
        for (int n = 0; n < kPapers; ++n) {
            QElapsedTimer timer;
            timer.start();
            document.addPaper(FormVersion::Parent, document.roster()[std::size_t(n)].id, ticksOf(n));
            adds.push_back(since(timer));
        }
        if (document.keeping() != ClassDocument::Keeping::Kept)
            return 4;
    }
    report("a paper added and written, median (ms)", median(adds), "ms");
    report("  slowest (ms)", *std::max_element(adds.begin(), adds.end()), "ms");
    const double fileKiB = double(QFileInfo(path).size()) / 1024;
    report("file of 1,000 papers (KiB)", fileKiB, "KiB", 1024);
    if (const OpenResult opened = ClassFile::open(path); opened.failure == OpenFailure::None)
        report("  the same class written whole (KiB)", double(classImage(opened.data).size()) / 1024, "KiB");

    PaintWatch paints;
    std::vector<double> opens;
    for (int n = 0; n < kOpens; ++n) {
        ClassList list;
        QElapsedTimer timer;
        timer.start();
        list.openFile(path, nullptr);
        paints.watch(list.window());
        if (!list.window() || !paints.waitForPaint() || list.count() != kPapers)
            return 5;
        opens.push_back(since(timer));
        if (n == 0)
            report("opened to the list's first frame, first time (ms)", opens.back(), "ms", 300);
    }
    report("opened to the list's first frame, median (ms)", median(opens), "ms", 300);
    report("  fastest (ms)", *std::min_element(opens.begin(), opens.end()), "ms");

    const Finishes written = timeFinishes(paints, path, ClassDocument::Keeping::Kept);
    report("finish key to the front side's frame, median (ms)", median(written.frames), "ms", 16);
    report("  slowest (ms)", *std::max_element(written.frames.begin(), written.frames.end()), "ms");
    report("  the finish key's own handling, median (ms)", median(written.handling), "ms");
    // The same with the file held by another copy: the class opens read-only
    // and nothing is written (these 20 papers go to no pupil: the roster is
    // full).
    const OpenResult held = ClassFile::open(path);
    const Finishes unwritten = timeFinishes(paints, path, ClassDocument::Keeping::Busy);
    report("  the same with nothing written, median (ms)", median(unwritten.frames), "ms");
    report("    its own handling, median (ms)", median(unwritten.handling), "ms");
    if (held.failure != OpenFailure::None || written.frames.empty() || unwritten.frames.empty())
        return 6;
    return 0;
}
