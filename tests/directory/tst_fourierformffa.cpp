#include "app/mainwindow.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fourierform.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/fouriertable.h"
#include "support/ffatreewriter.h"
#include "support/findchild.h"
#include "support/recordingdesktop.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {
// Two caches of periodograms at every DM of the list, with the pulse planted at DM 40 and 4.25 s.
bool writePulsarCaches(const QString& root, const FfaTreeWriter::Layout& layout) {
    const QVector<int> dms = Tools::dmList(false);
    if (!FfaTreeWriter::writeLayout(root, layout)) {
        return false;
    }
    for (int day = 0; day < 2; ++day) {
        if (!FfaTreeWriter::writePeriodograms(root +
                                                  QStringLiteral("/cache_%1/f00_n0_av0.txt").arg(2018 + day),
                                              dms, layout, FfaTreeWriter::Pulse(), 7 + day)) {
            return false;
        }
    }
    return true;
}
} // namespace

// The FFA graph types as the directory form runs them: the period window goes back into the form.
class TestFourierFormFfa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowWrittenBack();
    void ffaMapDrawn();
    void mapPointsOfEverySeries();
    void dmGraphAfterPeriodWindow();
    void periodLinesWhole();

private:
    void openChecked(const QString& path);
    template <typename T> T* child(const QString& name) const { return findChildOrStop<T>(form, name); }

    QTemporaryDir tmp;
    QString sum;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    QPointer<FourierForm> form;
};

void TestFourierFormFfa::initTestCase() {
    TestEnv::isolate();
    QVERIFY(tmp.isValid());
    window = new MainWindow;
    desktop = std::make_unique<RecordingDesktop>();
    Settings::getInstance()->setDispersion(0);
    Settings::getInstance()->setAverageCount(0);

    sum = tmp.filePath("B0329+54");
    QVERIFY(QDir().mkpath(sum));
    QFile info(sum + "/info.txt");
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write("rows=5\ncols=1\nperiods={\n0.05\n0.075\n0.1\n0.5\n1.5\n}\nwidths={\n8\n}\n"
               "foldbins={\n64\n64\n80\n64\n80\n}\n");
    info.close();
    // One DM, the first of every list, in two caches.
    for (const char* row : {"cache_2015", "cache_2016"}) {
        const QString path = sum + "/" + QString(row) + "/f00_n0_av0.txt";
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(5, false), {{0, 1, {1, 2, 3, 4, 5}}},
                                        true));
        // "FFA - map" draws the points of the first checked row's map file; this one has none.
        QFile map(sum + "/" + QString(row) + "/harmonics.txt");
        QVERIFY(map.open(QIODevice::WriteOnly));
    }
}

void TestFourierFormFfa::cleanupTestCase() {
    WorkArea::clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete window;
}

void TestFourierFormFfa::openChecked(const QString& path) {
    form = new FourierForm(path, true, false, false, window); // "Sum of signals" > "FFA"
    QVERIFY(form->isValid());
    QVERIFY(form->table->rowCount() >= 2);
    for (int i = 0; i < form->table->rowCount(); ++i) {
        QWidget* cell = form->table->cellWidget(i, form->table->columnCount() - 1);
        QVERIFY(cell);
        cell->findChild<QCheckBox*>()->setChecked(true);
    }
}

void TestFourierFormFfa::windowWrittenBack() {
    openChecked(sum);
    child<QRadioButton>("ffa")->setChecked(true);
    child<QCheckBox>("showApproxFFA")->setChecked(false);
    child<QCheckBox>("showMinusApprox")->setChecked(false);
    child<QCheckBox>("ffaAsIs")->setChecked(true);
    child<QLineEdit>("showMinX")->setText("0.06");
    child<QLineEdit>("showMaxX")->setText("1");
    child<QPushButton>("buttonOk")->click();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    QVERIFY(form->grafikInfo && form->grafikInfo->calc);
    FourierCalculate* calc = form->grafikInfo->calc;
    QVERIFY2(calc->errors.isEmpty(), qPrintable(calc->errors));
    QCOMPARE(calc->curvePoints, 3);
    QCOMPARE(calc->days, 2);
    // Decimals by magnitude: three for 0.075, two for 0.5.
    QCOMPARE(child<QLineEdit>("showMinX")->text(), QString("0.075"));
    QCOMPARE(child<QLineEdit>("showMaxX")->text(), QString("0.50"));
    QCOMPARE(form->grafik->arrGrafikY.value(0).size(), 3);

    // Pressing again keeps the window.
    child<QPushButton>("buttonOk")->click();
    QCOMPARE(form->grafikInfo->calc->curvePoints, 3);
    QCOMPARE(child<QLineEdit>("showMinX")->text(), QString("0.075"));

    // A window without periods keeps the fields and says why.
    child<QLineEdit>("showMinX")->setText("0.2");
    child<QLineEdit>("showMaxX")->setText("0.3");
    child<QPushButton>("buttonOk")->click();
    QCOMPARE(child<QLineEdit>("showMinX")->text(), QString("0.2"));
    QCOMPARE(child<QLineEdit>("showMaxX")->text(), QString("0.3"));
    QVERIFY(form->grafik->hintShown);
    QCOMPARE(form->grafik->hintText, QString("No periods between xMin and xMax"));
}

void TestFourierFormFfa::ffaMapDrawn() {
    openChecked(sum);
    child<QLineEdit>("showMinX")->setText("0");
    child<QLineEdit>("showMaxX")->setText("0");
    child<QRadioButton>("ffaMap")->setChecked(true);
    child<QCheckBox>("ffaAsIs")->setChecked(false);
    child<QPushButton>("buttonOk")->click();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    QCOMPARE(form->grafik->grafikMode, 3);
    QCOMPARE(form->grafik->arrGrafikX.last(), 2.0);
    QCOMPARE(form->grafik->arrGridY.size(), 29);
    form->grafik->resize(600, 400);
    QImage image(form->grafik->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    form->grafik->render(&image); // the linear FFA axis paints under the sanitizers
}

// The FFA map writer names every point's series without nulls; a sum form shows them all.
void TestFourierFormFfa::mapPointsOfEverySeries() {
    const QString root = tmp.filePath("ffamap");
    QVERIFY(FfaTreeWriter::writeLayout(root, FfaTreeWriter::Layout()));
    QVERIFY(QDir().mkpath(root + "/cache_2019"));
    QFile map(root + "/cache_2019/harmonics.txt");
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("file_name     dispersion     point      snr     period       size\n"
              "f00_n0_av0\t\t  40\t\t  100\t\t31.0\t\t4.2500\t\t5\n"
              "f02_n0_av0\t\t  41\t\t  100\t\t12.5\t\t4.2500\t\t3\n"
              "f11_n0_av0\t\t 212\t\t   19\t\t7.0\t\t1.2125\t\t1\n");
    map.close();
    form = new FourierForm(root, true, true, false, window); // "Sum of signals" > "FFA - map"
    QVERIFY(form->isValid());
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    QCOMPARE(form->mapPoints.size(), 3);
    for (const MapPoint& p : form->mapPoints) {
        QVERIFY2(p.selected, qPrintable(QString::number(p.dispersion)));
    }
    // The linear map paints its points red on white.
    form->grafik->setMinimumSize(600, 400);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QImage image = form->grafik->grab().toImage();
    window->hide();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            red += image.pixelColor(x, y) == QColor("#FF0000");
        }
    }
    QVERIFY(red > 0);
}

// A period window that "ffa" wrote back cuts no DM axis, and comes back with the period graph.
void TestFourierFormFfa::dmGraphAfterPeriodWindow() {
    const QString root = tmp.filePath("ffadisp");
    const FfaTreeWriter::Layout layout;
    QVERIFY(writePulsarCaches(root, layout));
    const QVector<int> dms = Tools::dmList(false);
    openChecked(root);
    child<QLineEdit>("period")->setText("4.25");
    child<QRadioButton>("ffa")->click();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    // The last period, 7.9625 s, is kept whole: rounded to 7.96 it would fall out at the next press.
    QCOMPARE(child<QLineEdit>("showMinX")->text(), QString("0.50"));
    QCOMPARE(child<QLineEdit>("showMaxX")->text(), QString("7.9625"));
    QCOMPARE(child<QLineEdit>("showMaxX")->cursorPosition(), 0); // its leading digits in sight

    child<QRadioButton>("ffaSnrDisp")->click();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    const QVector<double> snr = form->grafik->arrGrafikY.value(0);
    QCOMPARE(snr.size(), dms.size());
    const int peak = int(std::max_element(snr.cbegin(), snr.cend()) - snr.cbegin());
    QCOMPARE(dms[peak], 40);
    // Every DM is drawn, the peak within the Y range.
    QCOMPARE(form->grafik->points, dms.size());
    QVERIFY(form->grafik->yMax >= snr[peak]);
    QCOMPARE(child<QLineEdit>("showMaxX")->text().toDouble(), -1.0);

    child<QRadioButton>("ffa")->click();
    QCOMPARE(child<QLineEdit>("showMinX")->text(), QString("0.50"));
    QCOMPARE(child<QLineEdit>("showMaxX")->text(), QString("7.9625"));
    QCOMPARE(form->grafikInfo->calc->curvePoints, layout.rows);
    child<QPushButton>("buttonOk")->click();
    QCOMPARE(form->grafikInfo->calc->curvePoints, layout.rows);
}

// The periods above the level, the numbers the user came for, show whole in the panel at the form's own
// width, each line as the calculation wrote it, its columns aligned.
void TestFourierFormFfa::periodLinesWhole() {
    const QString root = tmp.filePath("ffalines");
    QVERIFY(writePulsarCaches(root, FfaTreeWriter::Layout()));
    window->resize(1400, 900);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    openChecked(root);
    child<QComboBox>("comboBoxDispersion")->setCurrentText("40");
    child<QLineEdit>("showSigmaLevel")->setText("2");
    child<QRadioButton>("ffa")->click();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    QTest::qWait(50);

    const QString& text = form->grafikInfo->calc->text;
    QStringList periodLines;
    for (const QString& line : text.split('\n')) {
        if (line.startsWith("i=")) {
            periodLines << line;
        }
    }
    QVERIFY2(periodLines.size() >= 2, qPrintable(text));
    auto* label = findChildOrStop<QLabel>(form->grafikInfo, "textLabel");
    QVERIFY(label->isVisible());
    const QStringList shown = label->text().split('\n');
    for (const QString& line : periodLines) {
        QVERIFY2(shown.contains(line), qPrintable(line + " is shown as:\n" + label->text()));
    }
    window->hide();
}

QTEST_MAIN(TestFourierFormFfa)
#include "tst_fourierformffa.moc"
