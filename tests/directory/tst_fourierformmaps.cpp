#include "app/mainwindow.h"
#include "core/workarea.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/views/fourierform.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/fouriertable.h"
#include "support/findchild.h"
#include "support/recordingdesktop.h"
#include "support/resultfilewriter.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TstFourierFormMaps : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void linkAndBack();
    void mapAllNeedsMap();
    void linkAndBackFromAll();
    void harmonicRowsFollowWithNulls();
    void threeSigmaCircleClickedAndWritten();

private:
    template <typename T> T* child(FourierForm* form, const QString& name) const {
        return findChildOrStop<T>(form, name);
    }
    QTemporaryDir tmp;
    QString sum;
    MainWindow* window = nullptr;
};

void TstFourierFormMaps::initTestCase() {
    TestEnv::isolate();
    window = new MainWindow;
    sum = tmp.filePath("B0329+54");
    for (const char* base : {"f00_n1_av0", "f00_n0_av0"}) {
        const int n = base[5] == '1' ? 16384 : 8192;
        QVector<double> values(n);
        for (int i = 0; i < n; ++i) {
            values[i] = 10.0 + std::sin(i * 0.7);
        }
        const QString path = sum + "/cache_all/" + base + ".txt";
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(ResultFileWriter::write(path, ResultFileWriter::header(n, false), {{0, 1, values}}, true));
    }
    QFile map(sum + "/cache_all/harmonics.txt");
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("position dispersion harmonic snr period\n"
              "f01_n0_av2\t57\t12\t9.5\t0.714\n"
              "f02_n0_av2\t57\t13\t3.0\t0.7\n");
}

void TstFourierFormMaps::cleanupTestCase() {
    WorkArea::clear();
    delete window;
}

void TstFourierFormMaps::linkAndBack() {
    RecordingDesktop desktop;
    auto* form = new FourierForm(sum, false, false, false, window);
    child<QComboBox>(form, "comboBoxWithNull")->setCurrentText("0");
    child<QSpinBox>(form, "averageCount")->setValue(2);
    child<QRadioButton>(form, "map")->setChecked(true);
    form->redraw();
    QCOMPARE(form->mapPoints.size(), 2);
    // The second point lies below the minimum S/N of the form.
    QVERIFY(form->mapPoints[0].selected);
    QVERIFY(!form->mapPoints[1].selected);
    const QString dmBefore = child<QComboBox>(form, "comboBoxDispersion")->currentText();
    const int shiftBefore = child<QSpinBox>(form, "firstPointShift")->value();

    form->clickedOnHarmonicLink(5, QPointF(), QPointF(), QPointF()); // outside the list: nothing
    QVERIFY(child<QRadioButton>(form, "map")->isChecked());

    form->clickedOnHarmonicLink(0, QPointF(0.714, 57), QPointF(0.7, 50), QPointF(0.72, 60));
    QVERIFY(child<QRadioButton>(form, "fourier")->isChecked());
    QCOMPARE(child<QSpinBox>(form, "firstPointShift")->value(), -1);
    QCOMPARE(child<QSpinBox>(form, "averageCount")->value(), 2);
    QCOMPARE(child<QComboBox>(form, "comboBoxWithNull")->currentText(), QString("0"));
    QVERIFY(form->canGoBack);

    form->back();
    QVERIFY(child<QRadioButton>(form, "map")->isChecked());
    QCOMPARE(child<QComboBox>(form, "comboBoxDispersion")->currentText(), dmBefore);
    QCOMPARE(child<QSpinBox>(form, "firstPointShift")->value(), shiftBefore);
    QCOMPARE(child<QSpinBox>(form, "averageCount")->value(), 2);
    QCOMPARE(child<QComboBox>(form, "comboBoxWithNull")->currentText(), QString("0"));
    QVERIFY(form->grafikInfo);
    QCOMPARE(form->grafikInfo->selectedHarmonic, 0);
    QCOMPARE(form->grafikInfo->clickPoint1, QPointF(0.7, 50));
    WorkArea::clear();
}

// A link followed from the map of every variant comes back to every variant with its point shown.
void TstFourierFormMaps::linkAndBackFromAll() {
    RecordingDesktop desktop;
    auto* form = new FourierForm(sum, false, false, false, window);
    child<QRadioButton>(form, "map")->setChecked(true);
    child<QCheckBox>(form, "mapAll")->click();
    QVERIFY(form->mapPoints[0].selected);
    form->clickedOnHarmonicLink(0, QPointF(0.714, 57), QPointF(0.7, 50), QPointF(0.72, 60));
    QCOMPARE(child<QComboBox>(form, "comboBoxWithNull")->currentText(), QString("0"));
    form->back();
    QVERIFY(form->mapPoints[0].selected);
    QCOMPARE(child<QSpinBox>(form, "firstPointShift")->value(), -4);
    QCOMPARE(child<QSpinBox>(form, "averageCount")->value(), -1);
    QCOMPARE(child<QComboBox>(form, "comboBoxWithNull")->currentText(), QString("*"));
    QVERIFY(child<QCheckBox>(form, "mapAll")->isChecked());
    WorkArea::clear();
}

void TstFourierFormMaps::mapAllNeedsMap() {
    RecordingDesktop desktop;
    auto* form = new FourierForm(sum, false, false, false, window);
    child<QRadioButton>(form, "fourier")->setChecked(true);
    const int shift = child<QSpinBox>(form, "firstPointShift")->value();
    child<QCheckBox>(form, "mapAll")->click();
    QVERIFY(!child<QCheckBox>(form, "mapAll")->isChecked());
    QCOMPARE(child<QSpinBox>(form, "firstPointShift")->value(), shift);
    WorkArea::clear();
}

// A harmonic read with the other with-nulls flag is red and left unchecked, unless the sum takes both.
void TstFourierFormMaps::harmonicRowsFollowWithNulls() {
    RecordingDesktop desktop;
    auto* form = new FourierForm(sum, false, false, false, window);
    form->harmonics3sigma = {64, 33};
    form->harmonicWithNulls = {{64, true}, {33, false}};
    form->withNulls = 1;
    form->redrawTableWidget("harmonics3sigma");
    QVERIFY(form->table);
    const auto colour = [form](int row) {
        return form->table->item(row, form->table->columnCount() - 1)->background().color().name();
    };
    auto* sumWithNulls = child<QCheckBox>(form, "checkBoxSumWithNulls");
    sumWithNulls->setChecked(false);
    form->clickedSumWithNulls();
    child<QRadioButton>(form, "sum3sigma")->setChecked(true);
    form->clickedSumWithNulls();
    QCOMPARE(colour(0), QString("#ccffcc"));
    QCOMPARE(colour(1), QString("#ffcccc"));
    form->checkTable();
    QVERIFY(form->table->checkBoxOf(0)->isChecked());
    QVERIFY(!form->table->checkBoxOf(1)->isChecked());

    sumWithNulls->setChecked(true);
    form->clickedSumWithNulls();
    QCOMPARE(colour(0), QString("#ccffcc"));
    QCOMPARE(colour(1), QString("#ccffcc"));
    form->checkTable();
    QVERIFY(form->table->checkBoxOf(0)->isChecked());
    QVERIFY(form->table->checkBoxOf(1)->isChecked());
    WorkArea::clear();
}

// From the 3-sigma files to a circle at its DM, its record on a click and the harmonic info file.
void TstFourierFormMaps::threeSigmaCircleClickedAndWritten() {
    RecordingDesktop desktop;
    const QString root = tmp.filePath("J0000+00");
    QVERIFY(QDir().mkpath(root + "/cache_2019"));
    auto line = [](const char* descriptor, int dm, int harmonic, const char* snr, const char* file) {
        return QByteArray("x\t") + descriptor + "\t" + QByteArray::number(dm) + "\t" +
               QByteArray::number(harmonic) + "\t" + snr + "\ty\t" + file + "\tz\n";
    };
    QFile first(root + "/harmonics_3sigma_1.txt");
    QVERIFY(first.open(QIODevice::WriteOnly));
    first.write(line("f00_n1_av0", 40, 12, "5.5", "010119_01_N1_00.pnthr") +
                line("f00_n1_av0", 99, 12, "7.25", "010119_01_N1_00.pnthr") +
                line("f00_n1_av0", 40, 24, "6", "010119_01_N1_00.pnthr"));
    first.close();
    QFile second(root + "/harmonics_3sigma_2.txt");
    QVERIFY(second.open(QIODevice::WriteOnly));
    second.write(line("f00_n1_av0", 40, 12, "4.25", "020119_01_N1_00.pnthr"));
    second.close();

    auto* form = new FourierForm(root, false, false, false, window);
    child<QSpinBox>(form, "averageCount")->setValue(0);
    child<QRadioButton>(form, "sum3sigma")->click();
    QCOMPARE(form->harmonics3sigma, QVector<int>({12, 24}));
    form->checkTable();
    child<QPushButton>(form, "buttonOk")->click();
    FourierGrafik* grafik = form->grafik;
    QVERIFY2(!grafik->hintShown, qPrintable(grafik->hintText));
    QCOMPARE(grafik->grafikMode, 2);
    QCOMPARE(grafik->arrGrafikX, FourierCalculate::dmGrid());
    QCOMPARE(grafik->points3sigma.size(), 2);
    QCOMPARE(grafik->points3sigma[0].size(), 2);
    QCOMPARE(grafik->points3sigma[0][0].disp, 40.0);
    QCOMPARE(grafik->points3sigma[0][0].snr, 9.75);
    QCOMPARE(grafik->points3sigma[0][1].disp, 99.0);

    // A click on the circle of harmonic 12 at DM 99 shows its record.
    grafik->setMinimumSize(600, 400);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    grafik->grab();
    const int H = grafik->canvasSize.height();
    const int plotH = H - grafik->dy01 - grafik->dy02;
    const int column = grafik->dx01 + int((std::log10(99.0) - grafik->xAxisMin) * grafik->xScale);
    const int height = int(plotH * (7.25 - grafik->yMin) / (grafik->yMax - grafik->yMin)) + grafik->dy01;
    QTest::mouseClick(grafik, Qt::LeftButton, Qt::NoModifier, QPoint(column, H - height));
    FourierGrafikInfo* info = form->grafikInfo;
    QVERIFY(info && info->pointInfoLabel && info->writeButton);
    QVERIFY2(info->pointInfoLabel->text().startsWith("\nposition f00_n1_av0: harmonic 12\ndisp=99\nsnr=7.3"),
             qPrintable(info->pointInfoLabel->text()));
    QVERIFY(info->pointInfoLabel->text().contains("010119_01_N1_00.pnthr"));
    QVERIFY(!info->writeButton->isHidden());

    info->writeButton->click();
    QFile file(root + "/info_harm12_disp99_f00_n1_av0.txt");
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromLocal8Bit(file.readAll()),
             QStringLiteral("file position dispersion harmonic snr\n"
                            "010119_01_N1_00.pnthr f00_n1_av0 99 12 7,25\n"
                            "sum - - - 7,3\n"));
    WorkArea::clear();
}

QTEST_MAIN(TstFourierFormMaps)
#include "tst_fourierformmaps.moc"
