#include "core/tools.h"

#include <QtTest>

namespace {

// A calibration step: low from `start`, high in the middle, low again, and back to the baseline at
// `end`. Baseline values differ by point so that tests see which neighbour was copied.
double shape(int p, int start, int end) {
    if (start >= 0 && p >= start && p < end) {
        if (p < start + 10 || p >= end - 10) {
            return 1.0;
        }
        return 100.0;
    }
    return 10.0 + p * 0.001;
}

// Each series its own level, so that flattening must copy from the series itself.
double scale(int m, int c, int r) {
    return 1 + m * 0.5 + c * 0.1 + r * 0.01;
}

Data record(const QString& path, double tres, int npoints, int channels, int start, int end) {
    Data d;
    d.filePath = path;
    d.tres = tres;
    d.npoints = npoints;
    d.modules = 2;
    d.channels = channels;
    d.rays = 2;
    allocSamples(d);
    for (int m = 0; m < d.modules; ++m) {
        for (int c = 0; c < d.channels; ++c) {
            for (int r = 0; r < d.rays; ++r) {
                for (int p = 0; p < npoints; ++p) {
                    d.samples[m][c][r][p] = float(shape(p, start, end) * scale(m, c, r));
                }
            }
        }
    }
    return d;
}

bool unchanged(const Data& d, int start, int end) {
    for (int m = 0; m < d.modules; ++m) {
        for (int c = 0; c < d.channels; ++c) {
            for (int r = 0; r < d.rays; ++r) {
                for (int p = 0; p < d.npoints; ++p) {
                    if (d.samples[m][c][r][p] != float(shape(p, start, end) * scale(m, c, r))) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

QVector<double> series(int size, int start, int end) {
    QVector<double> s;
    for (int p = 0; p < size; ++p) {
        s << shape(p, start, end);
    }
    return s;
}

} // namespace

class TestToolsStep : public QObject {
    Q_OBJECT
private slots:
    void removeStep_data();
    void removeStep();
    void reportText();
    void removesAcrossEverySeries();
    void removeStepFromSeries_data();
    void removeStepFromSeries();
};

void TestToolsStep::removeStep_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("tres");
    QTest::addColumn<int>("npoints");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("info");    // prefix with remove false; "" = empty report
    QTest::addColumn<QString>("removed"); // prefix with remove true
    const QString pnt = "/data/2020/010320_05_N1_00.pnt";
    const QString info = "Информация о ступеньке:\n\n";
    const QString gone = "Ступенька удалена!\n\n";
    const QString error = "Step error: ";
    QTest::newRow("pnt, 150 points") << pnt << 0.1 << 4000 << 7 << 3000 << 3150 << info << gone;
    QTest::newRow("pnt, 154 points") << pnt << 0.1 << 4000 << 7 << 3000 << 3154 << info << gone;
    QTest::newRow("pnt, 156 points") << pnt << 0.1 << 4000 << 7 << 3000 << 3156 << error << error;
    QTest::newRow("pnt, hour 02") << "/data/010320_02_N1_00.pnt" << 0.1 << 4000 << 7 << 3000 << 3150 << ""
                                  << "";
    QTest::newRow("pnt, too short for the range") << pnt << 0.1 << 3000 << 7 << 2600 << 2750 << ""
                                                  << "";
    QTest::newRow("other extension") << "/data/010320_05_N1_00.txt" << 0.1 << 4000 << 7 << 3000 << 3150 << ""
                                     << "";
    QTest::newRow("no step") << pnt << 0.1 << 4000 << 7 << -1 << -1 << error << error;
    QTest::newRow("step channel missing") << pnt << 0.1 << 4000 << 6 << 3000 << 3150 << error << error;
    QTest::newRow("end + 1 is npoints") << pnt << 0.1 << 3651 << 7 << 3500 << 3650 << error << error;
    QTest::newRow("no time resolution") << pnt << 0.0 << 4000 << 7 << 3000 << 3150 << ""
                                        << "";
    QTest::newRow("pnthr, 1200 points")
        << "/data/010320_13_N1_00.pnthr" << 0.0125 << 29300 << 33 << 24000 << 25200 << info << gone;
    QTest::newRow("pnthr, 1220 points")
        << "/data/010320_13_N1_00.pnthr" << 0.0125 << 29300 << 33 << 24000 << 25220 << error << error;
}

void TestToolsStep::removeStep() {
    QFETCH(QString, path);
    QFETCH(double, tres);
    QFETCH(int, npoints);
    QFETCH(int, channels);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, info);
    QFETCH(QString, removed);

    Data d = record(path, tres, npoints, channels, start, end);
    const QString report = Tools::removeStep(d, false);
    QCOMPARE(report.isEmpty(), info.isEmpty());
    QVERIFY2(report.startsWith(info), qPrintable(report));
    QVERIFY(unchanged(d, start, end));

    const QString report2 = Tools::removeStep(d, true);
    QVERIFY2(report2.startsWith(removed), qPrintable(report2));
    QCOMPARE(report2.isEmpty(), removed.isEmpty());
    if (!removed.startsWith("Ступенька")) {
        QVERIFY(unchanged(d, start, end));
    } else {
        QCOMPARE(report2.mid(removed.size()), report.mid(info.size()));
        const float* s = d.samples[1][channels - 1][1];
        const float expected = float(shape(start - 3, start, end) * scale(1, channels - 1, 1));
        for (int p = start - 1; p <= end + 1; ++p) {
            QCOMPARE(s[p], expected);
        }
        QCOMPARE(s[start - 2], float(shape(start - 2, start, end) * scale(1, channels - 1, 1)));
        QCOMPARE(s[end + 2], float(shape(end + 2, start, end) * scale(1, channels - 1, 1)));
    }
    freeSamples(d);
}

void TestToolsStep::reportText() {
    Data d = record("/data/010320_05_N1_00.pnt", 0.1, 4000, 7, 3000, 3150);
    QCOMPARE(Tools::removeStep(d, false),
             QStringLiteral("Информация о ступеньке:\n\nТочки: с 3000 до 3150\nЧисло точек: 150\n\n"
                            "Должно быть: 15 c\u0435\u043a через 5 мин после начала часа\n\n"
                            "tres=0.1000000 сек\nТочки: с 3000 до 3150\nЧисло точек: 150"));
    freeSamples(d);
    // A flat series starts the scan at once and never ends it: the end stays 0.
    d = record("/data/010320_05_N1_00.pnt", 0.1, 4000, 7, -1, -1);
    QVERIFY(Tools::removeStep(d, false).startsWith("Step error: Точки: с 2500 до 0\nЧисло точек: -2500\n"));
    freeSamples(d);
}

void TestToolsStep::removesAcrossEverySeries() {
    Data d = record("/x/010320_21_N1_00.pnt", 0.1, 4000, 7, 3000, 3150);
    Data copy = d; // copies share the samples
    QVERIFY(Tools::removeStep(copy, true).startsWith("Ступенька удалена!"));
    for (int m = 0; m < 2; ++m) {
        for (int c = 0; c < 7; ++c) {
            for (int r = 0; r < 2; ++r) {
                QCOMPARE(d.samples[m][c][r][3075], d.samples[m][c][r][2997]);
            }
        }
    }
    freeSamples(d);
}

void TestToolsStep::removeStepFromSeries_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("isPnt");
    QTest::addColumn<int>("from"); // first element replaced, -1 = series unchanged
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("source");
    QTest::newRow("late step takes b - 10") << 1000 << 500 << 648 << true << 499 << 649 << 489;
    QTest::newRow("early step takes a + 10") << 1000 << 5 << 153 << true << 4 << 154 << 164;
    QTest::newRow("step at 0 clamps b") << 1000 << 0 << 148 << true << 0 << 149 << 159;
    QTest::newRow("too long for pnt") << 1000 << 500 << 660 << true << -1 << 0 << 0;
    QTest::newRow("pnthr length") << 3000 << 500 << 1698 << false << 499 << 1699 << 489;
    QTest::newRow("no step") << 1000 << -1 << -1 << true << -1 << 0 << 0;
    QTest::newRow("early step, series ends too soon") << 160 << 5 << 153 << true << -1 << 0 << 0;
}

void TestToolsStep::removeStepFromSeries() {
    QFETCH(int, size);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, isPnt);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, source);
    const QVector<double> in = series(size, start, end);
    const QVector<double> out = Tools::removeStepFromSeries(in, isPnt);
    QCOMPARE(out.size(), in.size());
    for (int i = 0; i < size; ++i) {
        const bool replaced = from >= 0 && i >= from && i <= to;
        QCOMPARE(out[i], replaced ? in[source] : in[i]);
    }
}

QTEST_MAIN(TestToolsStep)
#include "tst_toolsstep.moc"
