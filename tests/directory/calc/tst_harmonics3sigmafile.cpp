#include "directory/calc/harmonics3sigmafile.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

class TstHarmonics3sigmaFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void lines_data();
    void lines();
    void files();
    void refusals_data();
    void refusals();
};

namespace {
QByteArray line(const char* descriptor, int dm, int harmonic, const char* snr, const char* file) {
    return QByteArray("x\t") + descriptor + "\t" + QByteArray::number(dm) + "\t" +
           QByteArray::number(harmonic) + "\t" + snr + "\ty\t" + file + "\tz\n";
}

Harmonics3sigma readText(QByteArray text, double k, const QStringList& years) {
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    Harmonics3sigma out;
    qint64 count = 0;
    Harmonics3sigmaFile::readLines(buffer, k, years, out, count, 0, {});
    return out;
}
} // namespace

// Columns: lines, threshold, years; expected record key, its S/N and line count (key "" = no record).
void TstHarmonics3sigmaFile::lines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("k");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("snr");
    QTest::addColumn<int>("lineCount");
    const QByteArray a = line("f00_n0_av0", 57, 12, "5.5", "010119_01_N1_00.pnthr");
    const QByteArray b = line("f00_n0_av0", 57, 12, "4.25", "020119_01_N1_00.pnthr");
    QTest::newRow("two files, one key") << a + b << 4.0 << QStringList() << "12-57-f00_n0_av0" << 9.75 << 2;
    QTest::newRow("repeated line counts once")
        << a + a + b << 4.0 << QStringList() << "12-57-f00_n0_av0" << 9.75 << 2;
    QTest::newRow("S/N equal to k") << line("f00_n0_av0", 57, 12, "3", "010119_01_N1_00.pnthr") << 3.0
                                    << QStringList() << "12-57-f00_n0_av0" << 3.0 << 1;
    QTest::newRow("S/N below k") << line("f00_n0_av0", 57, 12, "3.99", "010119_01_N1_00.pnthr") << 4.0
                                 << QStringList() << "" << 0.0 << 0;
    QTest::newRow("star after the tab and padding")
        << QByteArray("x \t f00_n0_av0 \t 57\t 12 \t*12.5\t y\t010119_01_N1_00.pnthr\n") << 3.0
        << QStringList() << "12-57-f00_n0_av0" << 12.5 << 1;
    QTest::newRow("year 2019 taken") << a << 3.0 << QStringList{"19"} << "12-57-f00_n0_av0" << 5.5 << 1;
    QTest::newRow("year 2018 filtered") << line("f00_n0_av0", 57, 12, "5.5", "010118_01_N1_00.pnthr") << 3.0
                                        << QStringList{"19"} << "" << 0.0 << 0;
    QTest::newRow("harmonic 0") << line("f00_n0_av0", 57, 0, "5.5", "010119_01_N1_00.pnthr") << 3.0
                                << QStringList() << "" << 0.0 << 0;
    QTest::newRow("six fields") << QByteArray("x\tf00_n0_av0\t57\t12\t5.5\ty\n") << 3.0 << QStringList() << ""
                                << 0.0 << 0;
}

void TstHarmonics3sigmaFile::lines() {
    QFETCH(QByteArray, text);
    QFETCH(double, k);
    QFETCH(QStringList, years);
    QFETCH(QString, key);
    QFETCH(double, snr);
    QFETCH(int, lineCount);
    const Harmonics3sigma out = readText(text, k, years);
    if (key.isEmpty()) {
        QVERIFY(out.records.isEmpty());
        QVERIFY(out.harmonics.isEmpty());
        return;
    }
    QCOMPARE(out.records.size(), 1);
    const Sum3sigmaRecord r = out.records.value(key);
    QCOMPARE(r.dispersion, 57);
    QCOMPARE(r.snr, snr);
    QCOMPARE(r.lines.size(), lineCount);
    QCOMPARE(r.lines.first(), QStringLiteral("010119_01_N1_00.pnthr   f00_n0_av0   %1\n")
                                  .arg(r.lines.size() == 1 ? snr : 5.5, 0, 'f', 2));
}

// Several files in name order, harmonics ascending, the first line's with-nulls digit, progress.
void TstHarmonics3sigmaFile::files() {
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("harmonics_3sigma_b.txt", line("f00_n1_av0", 57, 40, "5", "010119_01_N1_00.pnthr") +
                                        line("f00_n0_av0", 57, 7, "5", "010119_01_N1_00.pnthr"));
    write("harmonics_3sigma_a.txt", line("f00_n1_av0", 57, 7, "5", "010119_01_N1_00.pnthr"));
    write("harmonics_3sigmX.txt", line("f00_n0_av0", 57, 99, "5", "010119_01_N1_00.pnthr"));
    write("harmonics_3sigma_c.txt", line("f00_n0_av0", 57, 12, "5", "010119_01_N1_00.pnthr") +
                                        line("f00_n0_av0", 57, 12, "5", "010119_01_N1_00.pnthr"));
    Harmonics3sigma out;
    out.harmonics = {1000};
    QVector<int> progress;
    QCOMPARE(Harmonics3sigmaFile::read(dir.path(), 3, {}, out, [&](int p) { progress.append(p); }),
             QString());
    QCOMPARE(out.harmonics, (QVector<int>{7, 12, 40}));
    QCOMPARE(out.withNulls.value(7), true); // file a comes first
    QCOMPARE(out.withNulls.value(12), false);
    QCOMPARE(out.records.size(), 4);
    QCOMPARE(progress, QVector<int>{0});
}

void TstHarmonics3sigmaFile::refusals_data() {
    QTest::addColumn<double>("k");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("keepsOld");
    QTest::newRow("threshold 2.9") << 2.9 << true << QStringList() << "Введите коэффициент sum3sigma >=3"
                                   << true;
    QTest::newRow("no file") << 3.0 << false << QStringList()
                             << "В этой директории нет файлов harmonics_3sigma" << true;
    QTest::newRow("nothing, no year")
        << 30.0 << true << QStringList() << "В файлах harmonics_3sigma.txt не найдено ни одной гармоники"
        << false;
    QTest::newRow("nothing, one year")
        << 3.0 << true << QStringList{"14"} << "Для отмеченного года не найдено ни одной гармоники" << false;
    QTest::newRow("nothing, two years") << 3.0 << true << QStringList{"14", "15"}
                                        << "Для отмеченных годов не найдено ни одной гармоники" << false;
}

void TstHarmonics3sigmaFile::refusals() {
    QFETCH(double, k);
    QFETCH(bool, withFile);
    QFETCH(QStringList, years);
    QFETCH(QString, message);
    QFETCH(bool, keepsOld);
    QTemporaryDir dir;
    if (withFile) {
        QFile f(dir.filePath("harmonics_3sigma.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(line("f00_n0_av0", 57, 12, "5", "010119_01_N1_00.pnthr"));
    }
    Harmonics3sigma out;
    out.harmonics = {5};
    QCOMPARE(Harmonics3sigmaFile::read(dir.path(), k, years, out, {}), message);
    QCOMPARE(out.harmonics.size(), keepsOld ? 1 : 0);
    const QString missing = dir.filePath("none");
    QCOMPARE(Harmonics3sigmaFile::read(missing, 3, {}, out, {}), missing + "does not exist!");
}

QTEST_GUILESS_MAIN(TstHarmonics3sigmaFile)
#include "tst_harmonics3sigmafile.moc"
