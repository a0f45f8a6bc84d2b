// The class list with a big class, in release mode on a display (X11 or
// offscreen), printing each figure against its target:
//
//   bench_classlist [PAPERS]          (1,000 by default, each with its pupil)
//
// - adding one paper to a list that holds them all already, the window's
//   repaint included (median and slowest of 100 adds), with the class in
//   memory only and then kept in its file (one durable write an add);
// - keeping the whole class in a new file;
// - copying the class, saving it as CSV and as PDF;
// - the heap the roster and papers take, from the list's open window with none.

#include "classlist/classfixture.h"
#include "classlist/classlist.h"
#include "shell/application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAddsMeasured = 100;

double heapMiB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void settle()
{
    // Every posted update painted and the backing store flushed.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char *what, double value, const char *unit, double target)
{
    std::printf("%-44s %9.3f %-3s (target under %g) %s\n", what, value, unit, target, value < target ? "ok" : "OVER");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);
    const int children = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    QTemporaryDir folder; // outlives the class file's lock
    ClassList list;
    list.showWindow();
    settle();
    const double heapBefore = heapMiB();
    // A pupil for every paper, those measured included.
    QStringList names;
    for (int n = 0; n < children + 2 * kAddsMeasured; ++n)
        names << u"เด็กหญิงตัวอย่าง นามสกุลสมมติ %1"_s.arg(n + 1);
    ClassFixture::addRoster(list.document(), names);
    for (int n = 0; n < children; ++n) {
        const ClassFixture::MadeUpPaper paper = ClassFixture::madeUp(n);
        list.addPaper(paper.version, paper.ticks);
    }
    settle();
    const double heapAfter = heapMiB();

    int next = children;
    const auto measureAdds = [&] {
        std::vector<double> adds;
        for (int n = 0; n < kAddsMeasured; ++n) {
            const ClassFixture::MadeUpPaper paper = ClassFixture::madeUp(next++);
            adds.push_back(milliseconds([&] {
                list.addPaper(paper.version, paper.ticks);
                settle();
            }));
        }
        std::sort(adds.begin(), adds.end());
        return adds;
    };
    const std::vector<double> adds = measureAdds();

    const double keep = milliseconds([&] { list.document().keepIn(folder.filePath(u"ห้อง.kvt"_s)); });
    const std::vector<double> keptAdds = measureAdds();
    const double copy = milliseconds([&] { list.copyClass(); });
    const double csv = milliseconds([&] { list.saveCsv(folder.filePath(u"ห้อง.csv"_s)); });
    const double pdf = milliseconds([&] { list.savePdf(folder.filePath(u"ห้อง.pdf"_s)); });

    std::printf("bench_classlist: %d papers, platform %s\n", children, qPrintable(QGuiApplication::platformName()));
    report("add with the list full, median (ms)", adds[adds.size() / 2], "ms", 16);
    report("add with the list full, slowest (ms)", adds.back(), "ms", 16);
    report("keep the class in a new file (ms)", keep, "ms", 1000);
    report("add, kept in its file, median (ms)", keptAdds[keptAdds.size() / 2], "ms", 16);
    report("add, kept in its file, slowest (ms)", keptAdds.back(), "ms", 100);
    report("copy the class (ms)", copy, "ms", 1000);
    report("save as CSV (ms)", csv, "ms", 1000);
    report("save as PDF (ms)", pdf, "ms", 1000);
    report("heap of the roster and papers (MiB)", heapAfter - heapBefore, "MiB", 5);
    std::printf("CSV %lld bytes, PDF %lld bytes\n", QFileInfo(folder.filePath(u"ห้อง.csv"_s)).size(),
        QFileInfo(folder.filePath(u"ห้อง.pdf"_s)).size());
    return 0;
}
