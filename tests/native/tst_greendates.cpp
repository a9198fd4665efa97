#include "native/greendates.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using Values = QHash<QString, int>;
using Comments = QHash<QString, QString>;
Q_DECLARE_METATYPE(Values)
Q_DECLARE_METATYPE(Comments)

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Files larger than `bytes` cannot be written while it lives; the signal such a write raises is
// ignored, so the write fails with an error as it would on a full disk (also for root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
};

} // namespace

class TestGreenDates : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void missingFileReadsEmpty();
    void write_data();
    void write();
    void roundTripKeepsComments();
    void failedWriteKeepsOldFile();
    void copyDirBesideDirectory_data();
    void copyDirBesideDirectory();
    void copies();
    void failedDirectory();
};

void TestGreenDates::read_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Values>("values");
    QTest::addColumn<Comments>("comments");
    QTest::newRow("plain") << QByteArray("2024.05.17 1\n") << Values{{"2024.05.17", 1}} << Comments{};
    QTest::newRow("trimmed") << QByteArray("  \t2024.05.17 1   \n") << Values{{"2024.05.17", 1}}
                             << Comments{};
    QTest::newRow("two blanks read 0, no comment")
        << QByteArray("2024.05.17  1\n") << Values{{"2024.05.17", 0}} << Comments{};
    QTest::newRow("no comment after an empty value")
        << QByteArray("2024.05.17  1 good\n") << Values{{"2024.05.17", 0}} << Comments{};
    QTest::newRow("two-digit year ignored") << QByteArray("24.05.17 1\n") << Values{} << Comments{};
    QTest::newRow("hash line ignored")
        << QByteArray("# 2024.05.17 1\nno green dates") << Values{} << Comments{};
    QTest::newRow("date alone reads 0")
        << QByteArray("2024.05.17\n") << Values{{"2024.05.17", 0}} << Comments{};
    QTest::newRow("not a number reads 0")
        << QByteArray("2024.05.17 yes\n") << Values{{"2024.05.17", 0}} << Comments{};
    QTest::newRow("last line wins") << QByteArray("2024.05.17 1 good pulse\n2024.05.18 1\n2024.05.17 0\n")
                                    << Values{{"2024.05.17", 0}, {"2024.05.18", 1}} << Comments{};
    QTest::newRow("comment kept verbatim")
        << QByteArray("2024.05.17 1 good  pulse, RFI at 12h\n2024.05.18 0 bad\n")
        << Values{{"2024.05.17", 1}, {"2024.05.18", 0}}
        << Comments{{"2024.05.17", "good  pulse, RFI at 12h"}, {"2024.05.18", "bad"}};
    QTest::newRow("CR LF and UTF-8") << QByteArray("2024.05.17 1 хороший\r\n") << Values{{"2024.05.17", 1}}
                                     << Comments{{"2024.05.17", "хороший"}};
}

void TestGreenDates::read() {
    QFETCH(QByteArray, file);
    QFETCH(Values, values);
    QFETCH(Comments, comments);
    QTemporaryDir dir;
    const QString path = dir.filePath("green_dates.txt");
    QVERIFY(put(path, file));
    const GreenDates::List list = GreenDates::read(path);
    QCOMPARE(list.values, values);
    QCOMPARE(list.comments, comments);
}

void TestGreenDates::missingFileReadsEmpty() {
    QTemporaryDir dir;
    const QString path = dir.filePath("green_dates.txt");
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("No file  \"%1\"").arg(path)));
    const GreenDates::List list = GreenDates::read(path);
    QVERIFY(list.values.isEmpty());
}

void TestGreenDates::write_data() {
    QTest::addColumn<Values>("values");
    QTest::addColumn<Comments>("comments");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("file");
    const int dates = int(GreenDates::Written::Dates);
    QTest::newRow("sorted, whites dropped")
        << Values{{"2024.06.02", 1}, {"2024.05.30", 0}, {"2024.05.17", 1}} << Comments{} << dates << 2
        << QByteArray("2024.05.17 1\n2024.06.02 1\n");
    QTest::newRow("comments written back")
        << Values{{"2024.05.17", 1}, {"2024.05.18", 1}, {"2024.05.19", 0}}
        << Comments{{"2024.05.17", "good pulse"}, {"2024.05.19", "dropped with its date"}} << dates << 2
        << QByteArray("2024.05.17 1 good pulse\n2024.05.18 1\n");
    QTest::newRow("entries but no green date")
        << Values{{"2024.05.17", 0}} << Comments{} << dates << 0 << QByteArray();
    QTest::newRow("empty table") << Values{} << Comments{} << int(GreenDates::Written::NoEntries) << 0
                                 << QByteArray("no green dates");
}

void TestGreenDates::write() {
    QFETCH(Values, values);
    QFETCH(Comments, comments);
    QFETCH(int, result);
    QFETCH(int, count);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath("green_dates.txt");
    QVERIFY(put(path, "2020.01.01 1 an old list, longer than the new one\n"));
    int written = -1;
    QCOMPARE(int(GreenDates::write(path, values, comments, &written)), result);
    QCOMPARE(written, count);
    QCOMPARE(contents(path), file);
}

void TestGreenDates::roundTripKeepsComments() {
    QTemporaryDir dir;
    const QString path = dir.filePath("green_dates.txt");
    const QByteArray text = "2024.05.17 1 good  pulse\n2024.05.18 1\n";
    QVERIFY(put(path, text + "2024.05.19 0 white\n2024.05.20  1\n"));
    GreenDates::List list = GreenDates::read(path);
    list.values["2024.05.20"] = 1; // marked green: its empty value left no comment behind
    QCOMPARE(GreenDates::write(path, list.values, list.comments), GreenDates::Written::Dates);
    QCOMPARE(contents(path), text + "2024.05.20 1\n");
}

void TestGreenDates::failedWriteKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("green_dates.txt");
    const QByteArray old = "2020.01.01 1\n";
    QVERIFY(put(path, old));
    Values many;
    for (int d = 1; d <= 28; ++d) {
        many.insert(QStringLiteral("2024.02.%1").arg(d, 2, 10, QLatin1Char('0')), 1);
    }
    {
        FileSizeLimit limit(64);
        int count = -1;
        QCOMPARE(GreenDates::write(path, many, {}, &count), GreenDates::Written::Failed);
        QCOMPARE(count, 0);
    }
    QCOMPARE(contents(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"green_dates.txt"});

    // A path that cannot be opened: a directory of that name.
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QCOMPARE(GreenDates::write(dir.filePath("sub"), many, {}), GreenDates::Written::Failed);
}

void TestGreenDates::copyDirBesideDirectory_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("target");
    QTest::newRow("plain") << "/data/J0332"
                           << "/data/J0332_green_2024.05.17_0930";
    QTest::newRow("trailing slash") << "/data/J0332/"
                                    << "/data/J0332_green_2024.05.17_0930";
    QTest::newRow("doubled slashes and dot") << "/data//./J0332"
                                             << "/data/J0332_green_2024.05.17_0930";
}

void TestGreenDates::copyDirBesideDirectory() {
    QFETCH(QString, dir);
    QFETCH(QString, target);
    QCOMPARE(GreenDates::copyDirName(dir, QDateTime(QDate(2024, 5, 17), QTime(9, 30, 59))), target);
}

void TestGreenDates::copies() {
    QTemporaryDir root;
    const QString data = root.filePath("D");
    QVERIFY(QDir().mkpath(data + "/a") && QDir().mkpath(data + "/b"));
    const QString f1 = data + "/a/170524_09_N1_00.pnt";
    const QString f2 = data + "/b/180524_09_N1_00.pnt";
    const QString f3 = data + "/b/190524_09_N1_00.pnt";
    QVERIFY(put(f1, QByteArray("one\0\x01\xff", 6)));
    QVERIFY(put(f2, QByteArray(70000, '\x7f')));
    QVERIFY(put(f3, "white"));
    const Values values{{"2024.05.17", 1}, {"2024.05.18", 1}, {"2024.05.19", 0}, {"2024.05.20", 1}};
    const Comments paths{{"2024.05.17", f1}, {"2024.05.18", f2}, {"2024.05.19", f3}};

    const QString target = GreenDates::copyDirName(data + "/", QDateTime(QDate(2024, 5, 17), QTime(9, 30)));
    QCOMPARE(target, root.filePath("D_green_2024.05.17_0930"));
    const GreenDates::Copied first = GreenDates::copyFiles(target, values, paths);
    QVERIFY(first.dirCreated);
    QCOMPARE(first.count, 2);
    QVERIFY(first.failed.isEmpty());
    QCOMPARE(QDir(target).entryList(QDir::Files),
             (QStringList{"170524_09_N1_00.pnt", "180524_09_N1_00.pnt"}));
    QCOMPARE(contents(target + "/170524_09_N1_00.pnt"), contents(f1));
    QCOMPARE(contents(target + "/180524_09_N1_00.pnt"), contents(f2));
    QVERIFY(!QDir(data).exists(QFileInfo(target).fileName()));

    // Same minute again: nothing is overwritten, every file is listed in date order.
    QVERIFY(put(target + "/180524_09_N1_00.pnt", "changed"));
    const GreenDates::Copied second = GreenDates::copyFiles(target, values, paths);
    QVERIFY(second.dirCreated);
    QCOMPARE(second.count, 0);
    QCOMPARE(second.failed, (QStringList{f1, f2}));
    QCOMPARE(contents(target + "/180524_09_N1_00.pnt"), QByteArray("changed"));
}

void TestGreenDates::failedDirectory() {
    QTemporaryDir root;
    QVERIFY(put(root.filePath("blocked"), "a file where the directory would go"));
    const GreenDates::Copied c =
        GreenDates::copyFiles(root.filePath("blocked/D_green_x"), Values{{"2024.05.17", 1}}, Comments{});
    QVERIFY(!c.dirCreated);
    QCOMPARE(c.count, 0);
}

QTEST_MAIN(TestGreenDates)
#include "tst_greendates.moc"
