// The random-action test: a model of the whole program, written from the
// paper form's tables and rules, against the real screens.
//
// KVT_MODEL_ACTIONS sets the number of actions (50,000 by default; a soak is
// KVT_MODEL_ACTIONS=1000000) and KVT_MODEL_SEED the seed, so that any run can
// be repeated exactly.

#include "randomrun.h"

#include "common/sheetkeys.h"
#include "kvttest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ScreenDriver::Sabotage)

namespace {

constexpr std::uint64_t kDefaultSeed = 20050926;
constexpr long long kDefaultActions = 50000;

long long numberFromEnvironment(const char *name, long long fallback)
{
    bool ok = false;
    const long long value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? value : fallback;
}

// Qt Test stops a test function after five minutes as hung. A soak runs
// longer: it gets 5 ms an action, what one takes under wine and four times
// what one took in a Debug build on a busy machine, unless
// QTEST_FUNCTION_TIMEOUT says otherwise. Qt Test reads it once it starts.
void allowTimeForLongRuns()
{
    const long long actions = numberFromEnvironment("KVT_MODEL_ACTIONS", kDefaultActions);
    const long long milliseconds = std::min(actions * 5, static_cast<long long>(INT_MAX));
    if (milliseconds > 5 * 60 * 1000 && !qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(milliseconds));
}

// Breaks one connection of one control on every new instance of a screen.
ScreenDriver::Sabotage cutClicks(Model::ScreenId target, const QString &control)
{
    return [target, control](Model::ScreenId screen, QWidget *window) {
        if (screen != target)
            return;
        if (auto *button = window->findChild<QAbstractButton *>(control))
            QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
    };
}

// The finish key and menu entry of every new back side do nothing.
ScreenDriver::Sabotage cutFinish()
{
    return [](Model::ScreenId screen, QWidget *window) {
        if (screen != Model::ScreenId::Back)
            return;
        if (auto *keys = window->findChild<SheetKeys *>())
            QObject::disconnect(keys, &SheetKeys::finishRequested, nullptr, nullptr);
    };
}

ScreenDriver::Sabotage silenceBox(Model::ScreenId target, const QString &control)
{
    return [target, control](Model::ScreenId screen, QWidget *window) {
        if (screen != target)
            return;
        if (auto *box = window->findChild<QCheckBox *>(control))
            box->blockSignals(true);
    };
}

} // namespace

class ModelTest final : public QObject
{
    Q_OBJECT

public:
    ModelTest() { allowTimeForLongRuns(); }

private slots:
    void initTestCase();
    void randomActions();
    void findsAndShrinksAFault_data();
    void findsAndShrinksAFault();
};

void ModelTest::initTestCase()
{
    // The save dialog Ctrl+S opens is answered as a widget: Windows' own
    // dialog is not one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The offscreen platform can neither raise a window nor pass on size
    // hints, and says so on every show.
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(u"This plugin does not support "_s))
            next(type, context, message);
    });
}

void ModelTest::randomActions()
{
    RandomRun::Settings settings;
    settings.seed = static_cast<std::uint64_t>(numberFromEnvironment("KVT_MODEL_SEED", kDefaultSeed));
    settings.actions = numberFromEnvironment("KVT_MODEL_ACTIONS", kDefaultActions);
    qInfo("seed %llu, %lld actions", static_cast<unsigned long long>(settings.seed), settings.actions);

    QElapsedTimer clock;
    clock.start();
    RandomRun::Coverage coverage;
    const std::optional<RandomRun::Failure> failure = RandomRun::run(settings, &coverage);
    qInfo("%s", qPrintable(coverage.summary()));
    qInfo("%.1f s", static_cast<double>(clock.elapsed()) / 1000.0);
    if (failure)
        QFAIL(qPrintable(RandomRun::report(*failure)));

    if (settings.actions < 20000)
        return;
    // A quiet run must also have gone everywhere: every word on every line,
    // scores beyond their ranges, the warning and each way the program ends.
    for (const char *line : {"area 1", "area 2", "area 3", "area 4", "total", "social"})
        for (const char *word : {"ปกติ", "เสี่ยง", "มีปัญหา"})
            QVERIFY2(coverage.count(std::string("Form3 ") + line + ": " + word) > 0, line);
    QVERIFY(coverage.count("Form3 area 1: beyond every range") > 0);
    QVERIFY(coverage.count("Form3 total: beyond every range") > 0);
    for (const char *word : {"ไม่รุนแรง/รุนแรงเล็กน้อย", "รุนแรงปานกลาง", "รุนแรงมาก"})
        QVERIFY2(coverage.count(std::string("Form4 severity: ") + word) > 0, word);
    QVERIFY(coverage.count("Form4 severity: beyond every range") > 0);
    QVERIFY(coverage.count("warning answered") > 0);
    QVERIFY(coverage.count("close box of Form3") > 0);
    QVERIFY(coverage.count("close box of Form4") > 0);
    QVERIFY(coverage.count("program ended: Form2.Command4") > 0);
    QVERIFY(coverage.count("program ended: close box of Form2") > 0);
    QVERIFY(coverage.count("program ended: close box of Form1") > 0);
    // And every key and list button of copying a class, each way the finish
    // key goes, and both answers to each question before rows are lost.
    for (const char *key : {"Page Down on Form3", "Page Up on Form4", "Ctrl+Enter on Form3", "Ctrl+Enter on Form4",
             "Ctrl+Enter (keypad) on Form3", "Ctrl+Enter (keypad) on Form4"})
        QVERIFY2(coverage.count(key) > 0, key);
    for (const char *prefix : {"menu FinishChild", "F2", "Ctrl+S", "ClassList.CopyClass", "close box of ClassList",
             "ClassList.DeleteRows kept", "program kept by the question"})
        QVERIFY2(coverage.countStartingWith(prefix) > 0, prefix);
    for (const char *event : {"child added", "child added with a remark", "finish stopped by the Form3 notice",
             "finish stopped by the Form4 notice", "finish with nothing ticked", "ClassList.DeleteRows done"})
        QVERIFY2(coverage.count(event) > 0, event);
        // Mending from the list and giving it up, the roster's pupils taking the
        // papers, and every view; not asked of a run under wine, which pastes no
        // roster and runs fewer actions.
#ifndef Q_OS_WIN
    for (const char *event : {"mending from the list", "mended paper back in its row", "Escape on Form3",
             "roster pasted", "paper went to a pupil of the roster", "Enter on a row without a paper", "view 0",
             "view 1", "view 2", "view 3", "mending asked: go on", "mending asked: stay"})
        QVERIFY2(coverage.count(event) > 0, event);
#endif
    QVERIFY(coverage.count("program ended: Form2.Command4 after the question")
            + coverage.count("program ended: close box of Form2 after the question")
        > 0);
}

// The test of the test: a program broken on purpose is caught, and the
// report comes down to the few actions that show it.
void ModelTest::findsAndShrinksAFault_data()
{
    QTest::addColumn<ScreenDriver::Sabotage>("sabotage");
    QTest::addColumn<int>("shortest");
    QTest::addColumn<QString>("lastAction");

    QTest::newRow("front reset does nothing")
        << cutClicks(Model::ScreenId::Front, u"Command4"_s) << 4 << u"press Form3.Command4"_s;
    QTest::newRow("front tick rule of item 7 never runs")
        << silenceBox(Model::ScreenId::Front, u"Check19"_s) << 4 << u"press Form3.Command1"_s;
    QTest::newRow("back result never written")
        << cutClicks(Model::ScreenId::Back, u"Command2"_s) << 4 << u"press Form4.Command2"_s;
    QTest::newRow("back \"ไม่\" rule never runs")
        << silenceBox(Model::ScreenId::Back, u"Check1"_s) << 4 << u"Form4.Check1"_s;
    QTest::newRow("finish key on the back does nothing") << cutFinish() << 5 << u"on Form4"_s;
}

void ModelTest::findsAndShrinksAFault()
{
    QFETCH(ScreenDriver::Sabotage, sabotage);
    QFETCH(int, shortest);
    QFETCH(QString, lastAction);

    RandomRun::Settings settings;
    settings.seed = kDefaultSeed;
    settings.actions = 3000;
    settings.sabotage = sabotage;
    const std::optional<RandomRun::Failure> failure = RandomRun::run(settings, nullptr);
    QVERIFY(failure);
    QVERIFY2(static_cast<int>(failure->actions.size()) == shortest, qPrintable(RandomRun::report(*failure)));
    QVERIFY(QString::fromStdString(Model::describe(failure->actions.back())).contains(lastAction));
    QVERIFY(!failure->differences.isEmpty());
    QVERIFY(RandomRun::report(*failure).contains(u"KVT_MODEL_SEED=%1"_s.arg(kDefaultSeed)));
}

KVT_TEST_MAIN(ModelTest)

#include "tst_model.moc"
