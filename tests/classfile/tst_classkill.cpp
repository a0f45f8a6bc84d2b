// A class typed into its file by another process, which is killed at a random
// moment: the file must open whole and hold everything that process said it
// had written, and at most the one change it was writing.

#include "kvttest.h"

#include "classfile/classfile.h"
#include "classlist/classdocument.h"

#include <QCheckBox>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

const QString kTypeClass = u"--type-class"_s;
constexpr int kRuns = 20;
constexpr int kLongestDelayMs = 400; // after the class is first kept
constexpr int kPupils = 12;

QByteArray tickText(const PaperTicks &ticks)
{
    QByteArray text;
    for (bool tick : ticks.front)
        text += tick ? '1' : '0';
    for (bool tick : ticks.back)
        text += tick ? '1' : '0';
    return text;
}

// A line on stdout once what it tells is in the file.
void say(const QByteArray &line)
{
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

void sayPaper(const ClassDocument &document, PaperId id)
{
    say("paper " + QByteArray::number(id) + ' ' + tickText(document.paper(id)->ticks));
}

void sayName(PupilId id, const QString &name)
{
    say("name " + QByteArray::number(id) + ' ' + name.toUtf8());
}

QCheckBox *box(ScreenRegistry &screens, Screen sheet, int number)
{
    return KvtTest::box(screens.screen(sheet), number);
}

// The child's side: a class copied paper after paper, its names typed and
// its papers mended, as the sheets and the list do it, until it is killed.
int typeClass(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ScreenRegistry screens;
    ClassDocument &document = screens.classList().document();
    QString roster;
    for (int n = 1; n <= kPupils; ++n)
        roster += u"%1\tด.ญ. ขวัญ ใจดี %1\n"_s.arg(n);
    document.pasteRoster(parseRoster(roster));
    if (document.keepIn(QCoreApplication::arguments().at(2)))
        return 2;
    for (const Pupil &pupil : document.roster())
        sayName(pupil.id, pupil.name);
    say("kept");

    screens.show(Screen::FrontSheet);
    for (int n = 0;; ++n) {
        screens.currentChild().setVersion(kFormVersions[std::size_t(n % 3)]);
        for (int item = 0; item < 25; ++item)
            box(screens, Screen::FrontSheet, KvtTest::kFrontBoxesOfItem[item][(item + n) % 3])->click();
        if (n % 2) {
            // "ใช่" and one answer on every row after it.
            screens.show(Screen::BackSheet);
            box(screens, Screen::BackSheet, KvtTest::kBackRows[0][1])->click();
            for (int row = 1; row < 8; ++row)
                box(screens, Screen::BackSheet, KvtTest::kBackRows[row][(row + n) % 4])->click();
        }
        const std::size_t before = document.papers().size();
        screens.finishPaper();
        if (document.papers().size() != before + 1)
            return 3;
        sayPaper(document, document.papers().back().id);

        if (n % 3 == 1) {
            const Pupil &pupil = document.roster()[std::size_t(n) % document.roster().size()];
            document.setPupilName(pupil.id, u"ด.ช. กล้า หาญ %1"_s.arg(n));
            sayName(pupil.id, document.pupil(pupil.id)->name);
        }
        if (n % 4 == 3) {
            // The middle paper's item changed to its next answer.
            const PaperId mended = document.papers()[std::size_t(n) / 2].id;
            screens.mendPaper(mended);
            const int item = n % 25;
            const int *boxes = KvtTest::kFrontBoxesOfItem[item];
            for (int answer = 0; answer < 3; ++answer) {
                if (box(screens, Screen::FrontSheet, boxes[answer])->isChecked()) {
                    box(screens, Screen::FrontSheet, boxes[answer])->click();
                    box(screens, Screen::FrontSheet, boxes[(answer + 1) % 3])->click();
                    break;
                }
            }
            const QByteArray was = tickText(document.paper(mended)->ticks);
            screens.finishPaper();
            if (tickText(document.paper(mended)->ticks) == was)
                return 4;
            sayPaper(document, mended);
        }
        QCoreApplication::processEvents();
    }
}

// What the child said it had written: the last ticks of each paper and the
// last name of each pupil.
struct Said {
    QHash<PaperId, QByteArray> papers;
    QHash<PupilId, QString> names;
};

Said readSaid(const QByteArray &output)
{
    Said said;
    // A line cut off by the kill has no end, and tells nothing.
    const QList<QByteArray> lines = output.left(output.lastIndexOf('\n')).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "paper" && words.size() == 3)
            said.papers.insert(words[1].toLongLong(), words[2]);
        else if (words.value(0) == "name" && words.size() >= 3)
            said.names.insert(words[1].toLongLong(), QString::fromUtf8(line.mid(line.indexOf(' ', 5) + 1)));
    }
    return said;
}

// How far the file is from what was said: each paper or name that differs
// is one change; a paper or pupil said but missing counts as many.
int changesBeyond(const Said &said, const ClassData &data)
{
    constexpr int kLost = 1000;
    int changes = 0;
    QHash<PaperId, QByteArray> notFound = said.papers;
    for (const Paper &paper : data.papers) {
        const auto found = said.papers.constFind(paper.id);
        changes += found == said.papers.cend() || *found != tickText(paper.ticks) ? 1 : 0;
        notFound.remove(paper.id);
    }
    changes += kLost * int(notFound.size());
    changes += kLost * std::abs(int(data.roster.size()) - int(said.names.size()));
    for (const Pupil &pupil : data.roster)
        changes += said.names.value(pupil.id) == pupil.name ? 0 : 1;
    return changes;
}

} // namespace

class ClassKillTest final : public QObject
{
    Q_OBJECT

private slots:
    void fileSurvivesKill();
};

void ClassKillTest::fileSurvivesKill()
{
    int cutMidWrite = 0;
    int papersSaid = 0;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(u"ป.4-2.kvt"_s);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {kTypeClass, path});
        QByteArray output;
        while (!output.contains("kept\n") && child.waitForReadyRead(20000))
            output += child.readAllStandardOutput();
        QVERIFY2(output.contains("kept\n"), "the child did not keep its class");

        const int delay = int(QRandomGenerator::global()->bounded(kLongestDelayMs));
        QThread::msleep(ulong(delay));
        QVERIFY2(
            child.state() == QProcess::Running, qPrintable(u"the child stopped typing: %1"_s.arg(child.exitCode())));
        child.kill();
        // Dies when the system call under way ends, which a busy disk may hold up.
        QVERIFY(QTest::qWaitFor([&child] { return child.state() == QProcess::NotRunning; }, 20000));
        output += child.readAllStandardOutput();
        cutMidWrite += QFile::exists(path + u"-journal"_s) ? 1 : 0;

        const Said said = readSaid(output);
        papersSaid += int(said.papers.size());
        const OpenResult opened = ClassFile::open(path);
        const QString where = u"run %1, killed after %2 ms: "_s.arg(run + 1).arg(delay);
        QVERIFY2(opened.failure == OpenFailure::None, qPrintable(where + opened.detail));
        QVERIFY2(opened.limit == OpenLimit::None, qPrintable(where + opened.detail));
        const int changes = changesBeyond(said, opened.data);
        QVERIFY2(changes <= 1, qPrintable(where + u"%1 changes beyond those said"_s.arg(changes)));
    }
    qInfo("%d papers said in %d runs, %d cut in the middle of a write", papersSaid, kRuns, cutMidWrite);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == kTypeClass)
        return typeClass(argc, argv);
    return KvtTest::run<ClassKillTest>(argc, argv, KvtTest::SetUp::Bare);
}

#include "tst_classkill.moc"
