// The actions that end the program, each in a process of its own: the
// process must end by itself, at once and with status 0.

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class ProgramEndTest final : public QObject
{
    Q_OBJECT

private slots:
    void endsByItself_data();
    void endsByItself();
    void programWaitsForTheUser();
};

void ProgramEndTest::endsByItself_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("exit button, both sides open") << u"exit-button"_s;
    QTest::newRow("menu closed, both sides open") << u"close-menu"_s;
    QTest::newRow("welcome closed before entering") << u"close-welcome"_s;
    QTest::newRow("exit button, a class in no file, the user leaves") << u"leave-class"_s;
}

void ProgramEndTest::endsByItself()
{
    QFETCH(QString, scenario);
    QProcess program;
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(KVT_END_HELPER), {scenario});
    QVERIFY(program.waitForStarted());
    QVERIFY2(program.waitForFinished(10000), "the program is still running");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(u"took %1 ms"_s.arg(clock.elapsed())));
}

// The real program starts, shows its welcome screen and stays until told to end.
void ProgramEndTest::programWaitsForTheUser()
{
    QProcess program;
    program.start(QStringLiteral(KVT_PROGRAM), {});
    QVERIFY(program.waitForStarted());
    QVERIFY2(!program.waitForFinished(1500), program.readAllStandardError().constData());
    program.kill();
    program.waitForFinished();
}

QTEST_GUILESS_MAIN(ProgramEndTest)

#include "tst_programend.moc"
