// Starts the real program headless, lets it run, and ends it: it must come up and stay up.
#include <QProcess>
#include <QtTest>

class TestSmoke : public QObject {
    Q_OBJECT
private slots:
    void startsAndQuits();
};

void TestSmoke::startsAndQuits() {
    const QString program = qEnvironmentVariable("STRELLIX_PROGRAM");
    if (program.isEmpty()) {
        QSKIP("STRELLIX_PROGRAM is not set (run through ctest)");
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(program, QStringList());
    QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
    QVERIFY2(!process.waitForFinished(3000), "the program ended by itself");
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(!err.contains("ERROR: AddressSanitizer") && !err.contains("runtime error:"), err.constData());
}

QTEST_GUILESS_MAIN(TestSmoke)
#include "tst_smoke.moc"
