#include "app/mainwindow.h"
#include "core/data.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "single/arraygrafik.h"
#include "support/obsfilewriter.h"
#include "support/recordfixture.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"

#include <QHBoxLayout>
#include <QImage>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

using Arrays = QVector<QVector<float>>;
Q_DECLARE_METATYPE(Arrays)

namespace {
void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

int countColour(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixelColor(x, y) == colour;
        }
    }
    return n;
}

ArrayGrafik* laidOut(MainWindow& window) {
    QLayout* layout = window.centralWidget()->layout();
    if (!layout || layout->count() != 1) {
        return nullptr;
    }
    return qobject_cast<ArrayGrafik*>(layout->itemAt(0)->widget());
}
} // namespace

class TstArrayGrafik : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void textRules_data();
    void textRules();
    void refusals_data();
    void refusals();
    void directoryOfFiles();
    void observationFile();
    void paintsCurvesInTheirColours();
    void flatSeriesPaints();

private:
    QTemporaryDir dir;
};

void TstArrayGrafik::initTestCase() {
    TestEnv::isolate();
    QVERIFY(dir.isValid());
}

void TstArrayGrafik::textRules_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Arrays>("expected");
    QTest::newRow("column then row") << QByteArray("1\n2\n3\nx\n4 5 6\n") << Arrays{{1, 2, 3}, {4, 5, 6}};
    QTest::newRow("START discards") << QByteArray("1\n2\n\n7\nSTART\n3\n4\n") << Arrays{{3, 4}};
    QTest::newRow("START prefix") << QByteArray("1\nSTARTING\n2") << Arrays{{2}};
    QTest::newRow("STOP ends") << QByteArray("1\n2\nSTOP\n3\n") << Arrays{{1, 2}};
    QTest::newRow("two blanks") << QByteArray("1  2\n") << Arrays{{1, 0, 2}};
    QTest::newRow("edge blanks") << QByteArray(" 3 4 \n") << Arrays{{0, 3, 4, 0}};
    QTest::newRow("blank line closes") << QByteArray("1\n   \n2\n") << Arrays{{1}, {2}};
    QTest::newRow("row closes column") << QByteArray("1\n2 3\n4\n") << Arrays{{1}, {2, 3}, {4}};
    QTest::newRow("no number is 0") << QByteArray("-1.5\n.\n1.2.3\n") << Arrays{{-1.5f, 0, 0}};
    QTest::newRow("tab is not a number") << QByteArray("1\t2\n5\n") << Arrays{{5}};
    QTest::newRow("crlf") << QByteArray("1\r\n2\r\n") << Arrays{{1, 2}};
    QTest::newRow("start lowercase") << QByteArray("1\nstart\n2\n") << Arrays{{1}, {2}};
    QTest::newRow("nothing") << QByteArray("") << Arrays{};
}

void TstArrayGrafik::textRules() {
    QFETCH(QByteArray, text);
    QFETCH(Arrays, expected);
    const QString path = dir.filePath("rules.txt");
    writeText(path, text);
    QWidget parent;
    RecordingDesktop desktop;
    ArrayGrafik grafik(dir.filePath("none.dat"), &parent); // refused: only the reader is used here
    QCOMPARE(grafik.readArraysFromTxt(path), expected);
    // Only names ending in ".txt" (case-sensitive) are read.
    const QString upper = dir.filePath("rules.TXT");
    writeText(upper, text);
    QCOMPARE(grafik.readArraysFromTxt(upper), Arrays());
    QCOMPARE(grafik.readArraysFromTxt(dir.filePath("absent.txt")), Arrays());
}

void TstArrayGrafik::refusals_data() {
    QTest::addColumn<QString>("layout"); // files to create, ';'-separated, "name=content"
    QTest::addColumn<QString>("open");   // relative path opened
    QTest::addColumn<QString>("message");
    QTest::newRow("extension") << "a.dat=1"
                               << "a.dat"
                               << "The file must have the txt/pnt/pnthr extension!";
    QTest::newRow("no numbers in file") << "a.txt=x"
                                        << "a.txt"
                                        << "There is arrays of numbers in file!";
    QTest::newRow("capital TXT only") << "sub/A.TXT=1"
                                      << "sub"
                                      << "There is no .txt files in directory!";
    QTest::newRow("empty directory") << "sub/.keep="
                                     << "sub"
                                     << "There is no .txt files in directory!";
    QTest::newRow("no numbers in dir") << "sub/a.txt=x;sub/b.txt="
                                       << "sub"
                                       << "There is arrays of numbers in directory!";
    QTest::newRow("broken pnt") << "a.pnt=garbage"
                                << "a.pnt"
                                << "There is arrays of numbers in file!";
}

void TstArrayGrafik::refusals() {
    QFETCH(QString, layout);
    QFETCH(QString, open);
    QFETCH(QString, message);
    QTemporaryDir here;
    for (const QString& entry : layout.split(';')) {
        const QString name = entry.section('=', 0, 0);
        QVERIFY(QDir(here.path()).mkpath(QFileInfo(here.filePath(name)).path()));
        writeText(here.filePath(name), entry.section('=', 1).toUtf8());
    }
    MainWindow window;
    auto* old = new QWidget(&window);
    WorkArea::install({old});
    QPointer<QWidget> oldForm = old;
    RecordingDesktop desktop;
    auto* grafik = new ArrayGrafik(here.filePath(open), &window);
    QCOMPARE(desktop.boxes().size(), 1);
    QCOMPARE(desktop.boxes().first().title, QString("Error"));
    QCOMPARE(desktop.boxes().first().text, message);
    // The work area stays empty; the refused plot is a hidden child of the window.
    QVERIFY(!window.centralWidget()->layout());
    QVERIFY(!grafik->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!oldForm);
}

void TstArrayGrafik::directoryOfFiles() {
    QTemporaryDir here;
    writeText(here.filePath("b.txt"), "5\n6\n");
    writeText(here.filePath("a.txt"), "1 2\n3\n4\n");
    writeText(here.filePath("a10.txt"), "3\n1\n"); // numbered names in rising order: a9 before a10
    writeText(here.filePath("a9.txt"), "5\n5\n");
    writeText(here.filePath("c.TXT"), "9\n");
    writeText(here.filePath("d.dat"), "9\n");
    QVERIFY(QDir(here.path()).mkpath("sub.txt"));
    writeText(here.filePath("sub.txt/e.txt"), "9\n");
    MainWindow window;
    RecordingDesktop desktop;
    new ArrayGrafik(here.path(), &window);
    QVERIFY(desktop.boxes().isEmpty());
    ArrayGrafik* grafik = laidOut(window);
    QVERIFY(grafik);
    QCOMPARE(grafik->arrGrafiks, Arrays({{1, 2}, {3, 4}, {5, 5}, {3, 1}, {5, 6}}));
    QCOMPARE(grafik->max, 6.0f);
    QCOMPARE(grafik->min, 1.0f);
    QCOMPARE(window.centralWidget()->layout()->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(grafik->sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(grafik->colours.size(), 8);
}

void TstArrayGrafik::observationFile() {
    ObsFileWriter::Description d;
    d.npoints = 50;
    d.modules = 2;
    d.rays = 3;
    d.nbands = 3; // four channels; the last one is plotted
    d.value = [](int p, int m, int r, int c) { return c == 3 ? float(p + 100 * m + 10 * r) : -1000.0f; };
    const QString path = dir.filePath("obs.pnthr");
    QVERIFY(ObsFileWriter::write(path, d));

    MainWindow window;
    // A record with samples sits in the cache: the plot must free it (the leak checker watches).
    Data cached = RecordFixture::shaped(1, 2, 1, 10);
    cached.filePath = "/somewhere/else.pnt";
    QVERIFY(allocSamples(cached));
    Settings::getInstance()->setData(cached);

    RecordingDesktop desktop;
    new ArrayGrafik(path, &window);
    QVERIFY(desktop.boxes().isEmpty());
    ArrayGrafik* grafik = laidOut(window);
    QVERIFY(grafik);
    QCOMPARE(grafik->arrGrafiks.size(), 6);
    QCOMPARE(grafik->arrGrafiks[0].size(), 50);
    QCOMPARE(grafik->arrGrafiks[4][7], float(7 + 100 + 10)); // module 1, ray 1
    QCOMPARE(grafik->max, float(49 + 100 + 20));
    QCOMPARE(grafik->min, 0.0f);
    // The cache now holds this file's record, without samples.
    const Data now = Settings::getInstance()->getData();
    QCOMPARE(now.filePath, path);
    QVERIFY(now.samples == nullptr);
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    QVERIFY(bar && bar->isHidden());
}

void TstArrayGrafik::paintsCurvesInTheirColours() {
    QTemporaryDir here;
    QByteArray text;
    for (int curve = 0; curve < 9; ++curve) {
        for (int p = 0; p < 20; ++p) {
            text += QByteArray::number(curve * 10 + (p % 2)) + (p + 1 < 20 ? " " : "\n");
        }
    }
    writeText(here.filePath("nine.txt"), text);
    MainWindow window;
    RecordingDesktop desktop;
    new ArrayGrafik(here.filePath("nine.txt"), &window);
    ArrayGrafik* grafik = laidOut(window);
    QVERIFY(grafik);
    grafik->resize(400, 320);
    const QImage image = grafik->grab().toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(210, 5), QColor(Qt::white));
    for (const char* name : {"red", "green", "blue", "yellow", "darkCyan", "magenta", "darkRed"}) {
        QVERIFY2(countColour(image, QColor(name)) > 20, name);
    }
    // Curve 8 takes red again: red lies near the top of the plot as well as near the bottom.
    int redNearTop = 0;
    for (int y = 10; y < 60; ++y) {
        for (int x = 40; x < 360; ++x) {
            redNearTop += image.pixelColor(x, y) == QColor("red");
        }
    }
    QVERIFY(redNearTop > 20);

    // A widget of 100 x 100 pixels is not painted.
    grafik->resize(100, 100);
    QImage small(100, 100, QImage::Format_ARGB32);
    small.fill(Qt::transparent);
    grafik->render(&small, QPoint(), QRegion(), QWidget::RenderFlags());
    QCOMPARE(countColour(small, Qt::black), 0);
}

void TstArrayGrafik::flatSeriesPaints() {
    QTemporaryDir here;
    writeText(here.filePath("flat.txt"), "3 3 3 3 3\n3 3 3\n");
    MainWindow window;
    RecordingDesktop desktop;
    new ArrayGrafik(here.filePath("flat.txt"), &window);
    ArrayGrafik* grafik = laidOut(window);
    QVERIFY(grafik);
    QCOMPARE(grafik->max, grafik->min);
    grafik->resize(300, 200);
    const QImage image = grafik->grab().toImage();
    QVERIFY(countColour(image, QColor("red")) > 50);
    QVERIFY(countColour(image, QColor("green")) > 10);
}

QTEST_MAIN(TstArrayGrafik)
#include "tst_arraygrafik.moc"
