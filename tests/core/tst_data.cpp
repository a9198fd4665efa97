#include "core/data.h"
#include "support/recordfixture.h"

#include <QtTest>

class TestData : public QObject {
    Q_OBJECT
private slots:
    void emptyRecord();
    void copiesShareSamples();
    void freeRespectsOwnership();
    void allocRefusesBadCounts_data();
    void allocRefusesBadCounts();
    void allocZeroFills();
};

static Data smallRecord() {
    return RecordFixture::shaped(2, 3, 2, 5);
}

void TestData::emptyRecord() {
    Data d;
    QCOMPARE(d.npoints, 0);
    QCOMPARE(d.modules, -1);
    QCOMPARE(d.channels, 0);
    QCOMPARE(d.rays, 0);
    QCOMPARE(d.firstModule, 1);
    QCOMPARE(d.tresolution, 0.0);
    QCOMPARE(d.tres, 0.0);
    QVERIFY(!d.startDateTime.isValid());
    QVERIFY(d.filePath.isEmpty());
    QVERIFY(d.fbands.isEmpty());
    QVERIFY(!d.notOwner);
    QVERIFY(d.samples == nullptr);
}

void TestData::copiesShareSamples() {
    Data a = smallRecord();
    QVERIFY(allocSamples(a));
    {
        Data b = a;
        Data c;
        c = b;
        QCOMPARE(c.samples, a.samples);
        c.samples[1][2][1][4] = 7.5f;
    } // destroying copies leaves the arrays alone
    QCOMPARE(a.samples[1][2][1][4], 7.5f);
    freeSamples(a);
    QVERIFY(a.samples == nullptr);
}

void TestData::freeRespectsOwnership() {
    Data a = smallRecord();
    QVERIFY(allocSamples(a));
    Data borrowed = a;
    borrowed.notOwner = true;
    freeSamples(borrowed);
    QCOMPARE(borrowed.samples, a.samples); // nothing freed
    a.samples[0][0][0][0] = 1.0f;          // still valid memory under ASan
    freeSamples(a);

    Data none;
    freeSamples(none); // no samples: nothing to do
    QVERIFY(none.samples == nullptr);
}

void TestData::allocRefusesBadCounts_data() {
    QTest::addColumn<int>("modules");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rays");
    QTest::addColumn<int>("npoints");
    QTest::newRow("no modules") << -1 << 33 << 8 << 100;
    QTest::newRow("negative points") << 1 << 33 << 8 << -5;
    QTest::newRow("zero channels") << 1 << 0 << 8 << 100;
    QTest::newRow("absurd product") << 6 << 33 << 8 << 2000000000;
}

void TestData::allocRefusesBadCounts() {
    QFETCH(int, modules);
    QFETCH(int, channels);
    QFETCH(int, rays);
    QFETCH(int, npoints);
    Data d = RecordFixture::shaped(modules, channels, rays, npoints);
    QVERIFY(!allocSamples(d));
    QVERIFY(d.samples == nullptr);
}

void TestData::allocZeroFills() {
    Data d = smallRecord();
    QVERIFY(allocSamples(d));
    for (int m = 0; m < d.modules; ++m)
        for (int c = 0; c < d.channels; ++c)
            for (int r = 0; r < d.rays; ++r)
                for (int p = 0; p < d.npoints; ++p)
                    QCOMPARE(d.samples[m][c][r][p], 0.0f);
    freeSamples(d);
}

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"
