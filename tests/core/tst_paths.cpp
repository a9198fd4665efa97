#include "core/tools.h"

#include <QDir>
#include <QtTest>

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void dirOfPath_data();
    void dirOfPath();
    void shortPath_data();
    void shortPath();
    void lastPathPart_data();
    void lastPathPart();
};

void TestPaths::dirOfPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const QString home = QDir::homePath();
    QTest::newRow("unix file") << "/data/file.pnt"
                               << "/data";
    QTest::newRow("windows file") << "C:\\d\\f.pnt"
                                  << "C:\\d";
    QTest::newRow("mixed separators") << "C:/d\\f.pnt"
                                      << "C:/d";
    QTest::newRow("directory gives parent") << "/data/2021"
                                            << "/data";
    QTest::newRow("root-level file") << "/file" << home;
    QTest::newRow("empty") << "" << home;
    QTest::newRow("one character") << "/" << home;
    QTest::newRow("no separator") << "file.pnt" << home;
    QTest::newRow("trailing separator") << "/data/dir/"
                                        << "/data/dir";
}

void TestPaths::dirOfPath() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Tools::dirOfPath(path), expected);
}

void TestPaths::shortPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two elements") << "/a/b/c"
                                  << "/b/c";
    QTest::newRow("year and file") << "/x/2021/file.txt"
                                   << "/2021/file.txt";
    QTest::newRow("no match") << "file.txt"
                              << "file.txt";
    QTest::newRow("exactly 34") << "/r/" + QString(16, 'a') + "/" + QString(16, 'b')
                                << "/" + QString(16, 'a') + "/" + QString(16, 'b');
    QTest::newRow("longer than 34") << "/r/" + QString(17, 'a') + "/" + QString(16, 'b')
                                    << "../" + QString(17, 'a') + "/\n  /" + QString(16, 'b');
}

void TestPaths::shortPath() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Tools::shortPath(path), expected);
}

void TestPaths::lastPathPart_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file") << "/data/2021/file.pnt"
                          << "file.pnt";
    QTest::newRow("trailing slash") << "/data/2021/"
                                    << "";
    QTest::newRow("no slash") << "file.pnt"
                              << "file.pnt";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPaths::lastPathPart() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Tools::lastPathPart(path), expected);
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
