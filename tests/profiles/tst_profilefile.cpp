#include "profiles/profilefile.h"
#include "support/profilefilewriter.h"

#include <QTemporaryDir>
#include <QtTest>

class TestProfileFile : public QObject {
    Q_OBJECT
private slots:
    void readingInPiecesEqualsWholeText_data();
    void readingInPiecesEqualsWholeText();
    void periodTextsSortAndFormat();
};

void TestProfileFile::readingInPiecesEqualsWholeText_data() {
    QTest::addColumn<QString>("text");
    // One sample line longer than a reading piece (4 MiB), with a two-byte character across the first
    // piece's end (12 bytes of period line come first).
    QString longLine = QString("12 ").repeated(1600000);
    longLine.insert((4 << 20) - 1 - 12, QChar(0xe9));
    QTest::newRow("line across pieces") << "period=0.5\r\n" + longLine + "\nperiod=0.6\n5 6\n";
    QTest::newRow("no final line end") << QString("period=0.5\n1 2");
    QTest::newRow("empty") << QString();
}

void TestProfileFile::readingInPiecesEqualsWholeText() {
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.path() + "/p.txt";
    QVERIFY(ProfileFileWriter::write(path, text));
    ProfileFile read;
    QVERIFY(ProfileFile::read(path, read));
    const ProfileFile whole = ProfileFile::parse(text);
    QCOMPARE(read.periods, whole.periods);
    QCOMPARE(read.blocks.size(), whole.blocks.size());
    for (int b = 0; b < whole.blocks.size(); ++b) {
        QCOMPARE(read.blocks[b].periodText, whole.blocks[b].periodText);
        QCOMPARE(read.blocks[b].samples, whole.blocks[b].samples);
        QCOMPARE(read.blocks[b].maxIndex, whole.blocks[b].maxIndex);
    }
    QVERIFY(!ProfileFile::read(dir.path() + "/missing.txt", read));
}

void TestProfileFile::periodTextsSortAndFormat() {
    const ProfileFile f =
        ProfileFile::parse("period=0.7\nperiod=nan\nperiod=0.50\nperiod=0.5\nperiod=nan\n1\n");
    QCOMPARE(f.periods.size(), 3); // equal values once, a value that is no number once
    QCOMPARE(f.periodTexts(2), (QVector<QString>{"0.50", "0.70", "nan"}));
    QCOMPARE(f.blocks.size(), 1);
    QCOMPARE(f.blocks[0].periodText, QString("nan"));
}

QTEST_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
