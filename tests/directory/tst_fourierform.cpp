#include "app/mainwindow.h"
#include "core/calculationholder.h"
#include "core/settings.h"
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
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

QList<QWidget*> workArea() {
    QList<QWidget*> widgets;
    QLayout* layout = WorkArea::widget()->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        widgets << layout->itemAt(i)->widget();
    }
    return widgets;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A result file of one DM (the first of every list) whose spectrum holds a peak at `peak`: 8192
// harmonics without nulls, 16384 with them, fewer by 2 per averaging.
bool writeSpectrum(const QString& path, int withNulls, int averages, int peak = 64) {
    const int n = (withNulls ? 16384 : 8192) >> averages;
    QVector<double> values(n);
    for (int i = 0; i < n; ++i) {
        values[i] = 10.0 + std::sin(i * 0.7) + std::cos(i * 1.3);
    }
    if (peak < n) {
        values[peak] += 50.0;
    }
    QDir().mkpath(QFileInfo(path).path());
    return ResultFileWriter::write(path, ResultFileWriter::header(n, false), {{0, 1, values}}, true);
}

bool touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class TestFourierForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void siteCodeChoosesDmList_data();
    void siteCodeChoosesDmList();
    void startActions();
    void missingDirectoryKeepsPreviousForm();
    void rememberedValues();
    void refusals();
    void mapFromFirstCheckedRow();
    void allChoicesResolvedWithOneCalculation();
    void mapFileOfDaysAndRetry();
    void handOver();
    void everyDayLocationIsSummed();
    void fileTableClickKeepsChecks();
    void periodAndHarmonicEdits();
    void yearsCheckRows();
    void searchSelectAndFilter();
    void searchClickDraws();
    void fileRowSetsInputs();
    void saving();

private:
    FourierForm* open(const QString& path, bool isFfa, bool isMap, bool isSearch);
    template <typename T> T* child(const QString& name) const { return findChildOrStop<T>(form, name); }
    QStringList warnings() const {
        QStringList out;
        for (const auto& c : desktop->callsOf("warning")) {
            out << c.text;
        }
        return out;
    }
    void checkRow(int row, bool checked) {
        QWidget* cell = form->table->cellWidget(row, form->table->columnCount() - 1);
        QVERIFY(cell);
        cell->findChild<QCheckBox*>()->setChecked(checked);
    }
    void choose(const QString& type) { child<QRadioButton>(type)->setChecked(true); }
    FourierCalculate* drawn() const { return form->grafikInfo ? form->grafikInfo->calc : nullptr; }

    QTemporaryDir tmp;
    QString sum;    // caches, a year tree and a dated day
    QString search; // an N4 search tree
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    QPointer<FourierForm> form;
};

void TestFourierForm::initTestCase() {
    TestEnv::isolate();
    QVERIFY(tmp.isValid());
    window = new MainWindow;

    sum = tmp.filePath("B0329+54");
    for (const char* row : {"cache_2015", "cache_2016", "cache_2017", "cache_2015_03", "cache_all"}) {
        QVERIFY(writeSpectrum(sum + "/" + QString(row) + "/f00_n1_av0.txt", 1, 0));
        QVERIFY(writeSpectrum(sum + "/" + QString(row) + "/f00_n0_av0.txt", 0, 0));
    }
    // Days: one in a year tree, one in a dated directory.
    QVERIFY(writeSpectrum(sum + "/2019/03/2019.03.15_f00_n1_av0.txt", 1, 0));
    QVERIFY(writeSpectrum(sum + "/2015.04.01_extra/f00_n1_av0.txt", 1, 0));
    QVERIFY(touch(sum + "/cache_all/harmonics.txt"));
    QVERIFY(touch(sum + "/cache_2016/harmonics.txt"));
    QVERIFY(touch(sum + "/cache_2017/harmonics.txt"));

    search = tmp.filePath("N4/search");
    for (const char* d : {"16/a163000_m03_r5", "16/a163000_m12_r3", "17/a170130_m01_r2"}) {
        QVERIFY(writeSpectrum(search + "/" + QString(d) + "/f00_n1_av0.txt", 1, 0));
    }
}

void TestFourierForm::cleanupTestCase() {
    delete window;
}

void TestFourierForm::init() {
    desktop = std::make_unique<RecordingDesktop>();
    TestEnv::clearSettingsStore();
    Settings* s = Settings::getInstance();
    s->setFourierModule(0);
    s->setFourierRay(0);
    s->setAverageCount(0);
    s->setDispersion(0);
    s->setPeriod("");
    s->setHarmonicNumber(32);
}

void TestFourierForm::cleanup() {
    WorkArea::clear();
    flushDeletes();
    desktop.reset();
}

FourierForm* TestFourierForm::open(const QString& path, bool isFfa, bool isMap, bool isSearch) {
    form = new FourierForm(path, isFfa, isMap, isSearch, window);
    return form;
}

void TestFourierForm::siteCodeChoosesDmList_data() {
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("dms");
    QTest::newRow("N4 wins over the FFA search list") << "N4/s"
                                                      << "N4" << 126;
    QTest::newRow("N1 above N4") << "N1/x_N4_y"
                                 << "N1" << 57;
}

void TestFourierForm::siteCodeChoosesDmList() {
    QFETCH(QString, sub);
    QFETCH(QString, code);
    QFETCH(int, dms);
    const QString path = tmp.filePath(sub);
    QVERIFY(QDir().mkpath(path));
    open(path, true, false, true); // "Search" > "FFA"
    QVERIFY(form->isValid());
    QCOMPARE(form->nCode, code);
    QCOMPARE(child<QComboBox>("comboBoxDispersion")->count(), dms);
    QCOMPARE(form->calculations, 0);
}

void TestFourierForm::startActions() {
    // "Sum" > "FFA": the start hint only.
    open(sum, true, false, false);
    QVERIFY(child<QRadioButton>("ffa")->isChecked());
    QCOMPARE(form->calculations, 0);
    QVERIFY(form->grafik->hintShown);

    // "Sum" > "Fourier": one drawing, the "all" start values resolved.
    open(sum, false, false, false);
    QCOMPARE(form->calculations, 1);
    QCOMPARE(child<QSpinBox>("averageCount")->value(), 0);
    QCOMPARE(child<QComboBox>("comboBoxWithNull")->currentText(), QString("1"));
    QVERIFY(!form->grafik->hintShown);
    QCOMPARE(workArea().size(), 4);

    // "Search" > "Fourier" before a pick: the calculation's own message.
    open(search, false, false, true);
    QCOMPARE(form->calculations, 1);
    QVERIFY(form->grafik->hintShown);
    QCOMPARE(form->grafik->hintText, QString("Click on string in the table!"));
}

void TestFourierForm::missingDirectoryKeepsPreviousForm() {
    open(sum, false, false, false);
    QPointer<FourierForm> previous = form;
    desktop->directoryAnswers << tmp.filePath("nowhere");
    QMetaObject::invokeMethod(window, "openDirSumFourier");
    flushDeletes();
    QVERIFY(previous);
    QCOMPARE(workArea().value(0), previous.data());
    QVERIFY(!Settings::getInstance()->getProgressBar()->isVisible());
    QCOMPARE(window->findChildren<FourierForm*>().size(), 1);
    const QStringList w = warnings();
    QCOMPARE(w.size(), 2);
    QCOMPARE(w.at(0), tmp.filePath("nowhere") + "does not exist!");
    QCOMPARE(w.at(1), QString("Bad directory of sum results!"));
    // The previous form still draws.
    form = previous;
    child<QPushButton>("buttonOk")->click();
    QCOMPARE(form->calculations, 2);
}

void TestFourierForm::rememberedValues() {
    Settings::getInstance()->setDispersion(7777); // in no list
    Settings::getInstance()->setFourierModule(12);
    open(search, false, false, true);
    QCOMPARE(child<QComboBox>("comboBoxDispersion")->currentText(), QString("0"));
    QCOMPARE(child<QSpinBox>("module")->value(), 12);
    QCOMPARE(child<QComboBox>("comboBoxTresolution")->currentText(), QString("0.003072"));
}

void TestFourierForm::refusals() {
    open(sum, false, false, false);
    const int runs = form->calculations;
    for (int i = 0; i < form->table->rowCount(); ++i) {
        checkRow(i, false);
    }
    for (QRadioButton* type : form->findChildren<QRadioButton*>()) {
        type->setAutoExclusive(false);
        type->setChecked(false);
    }
    form->redraw();
    QCOMPARE(warnings().value(0), QString("Отметьте хотя бы один день или кеш в таблице"));
    checkRow(0, true);
    form->redraw();
    QCOMPARE(warnings().value(1), QString("Выберите тип графика в блоке Type of graph"));
    choose("map");
    checkRow(1, true);
    form->redraw();
    QCOMPARE(warnings().value(2), QString("Для карты нужно отметить только один кеш"));
    QCOMPARE(form->calculations, runs);
}

void TestFourierForm::mapFromFirstCheckedRow() {
    open(sum, true, false, false);
    // Rows: cache_all (others), then the year caches 2015, 2016, 2017.
    QCOMPARE(form->tableRows.value(2), QString("cache_2016"));
    checkRow(0, false);
    checkRow(2, true);
    checkRow(3, true);
    choose("ffaMap");
    form->redraw();
    QCOMPARE(form->lastMapFile, sum + "/cache_2016/harmonics.txt");
    // A changed check in an FFA form forgets the points and the file they came from.
    checkRow(2, false);
    QVERIFY(form->lastMapFile.isEmpty());
    QVERIFY(form->mapPoints.isEmpty());
}

void TestFourierForm::allChoicesResolvedWithOneCalculation() {
    open(sum, false, false, false);
    const int runs = form->calculations;
    child<QSpinBox>("firstPointShift")->setValue(-4);
    child<QSpinBox>("averageCount")->setValue(-1);
    QCOMPARE(form->calculations, runs); // "all" without a map type does not recalculate
    child<QLineEdit>("harmonicNumber")->setText("32");
    child<QComboBox>("comboBoxWithNull")->setCurrentText("*"); // halves to 16, then redraws
    QCOMPARE(form->calculations, runs + 1);
    QCOMPARE(child<QSpinBox>("firstPointShift")->value(), 0);
    QCOMPARE(child<QSpinBox>("averageCount")->value(), 0);
    QCOMPARE(child<QComboBox>("comboBoxWithNull")->currentText(), QString("1"));
    QVERIFY(drawn());
    QCOMPARE(drawn()->harmonic, child<QLineEdit>("harmonicNumber")->text().toInt());
    QCOMPARE(drawn()->withNulls, 1);
}

void TestFourierForm::mapFileOfDaysAndRetry() {
    open(sum, false, false, false);
    child<QCheckBox>("checkBoxDays")->click();
    const int day = int(form->tableRows.indexOf("2019.03.15"));
    QVERIFY(day >= 0);
    for (int i = 0; i < form->table->rowCount(); ++i) {
        checkRow(i, i == day);
    }
    choose("map");
    form->redraw();
    QCOMPARE(warnings().value(0), "Нет карты:\n" + sum + "/2019/03/harmonics.txt");
    QVERIFY(form->lastMapFile.isEmpty());
    QVERIFY(touch(sum + "/2019/03/harmonics.txt"));
    form->redraw(); // tried again
    QCOMPARE(form->lastMapFile, sum + "/2019/03/harmonics.txt");
    QVERIFY(QFile::remove(sum + "/2019/03/harmonics.txt"));

    // A day outside the year tree: its own directory.
    const int dated = int(form->tableRows.indexOf("2015.04.01"));
    for (int i = 0; i < form->table->rowCount(); ++i) {
        checkRow(i, i == dated);
    }
    form->redraw();
    QCOMPARE(warnings().last(), "Нет карты:\n" + sum + "/2015.04.01_extra/harmonics.txt");

    // A search form without a pick reads nothing.
    open(search, false, false, true);
    choose("map");
    const int before = warnings().size();
    form->redraw();
    QCOMPARE(warnings().size(), before);
    QCOMPARE(form->grafik->hintText, QString("Click on string in the table!"));
}

void TestFourierForm::handOver() {
    open(sum, false, false, false);
    auto notes = [this]() {
        QStringList out;
        for (const GrafikNote& n : form->grafik->notes) {
            out << n.text + "|" + n.hAlign + "|" + n.vAlign;
        }
        return out;
    };
    child<QLineEdit>("period")->setText("");
    form->redraw();
    QVERIFY(!notes().join(";").contains("harmonic="));
    QCOMPARE(form->grafik->grafikMode, 0);

    choose("harmDispOne");
    child<QLineEdit>("period")->setText("");
    child<QLineEdit>("harmonicNumber")->setText("");
    child<QLineEdit>("showDispersion")->setText("");
    form->redraw();
    QVERIFY2(!form->grafik->hintShown, qPrintable(form->grafik->hintText));
    QVERIFY2(notes().contains("harmonic=, period= s|right|top"), qPrintable(notes().join(";")));

    // Two successful runs: form, table, graph and the newest panel, and one calculation alive.
    form->redraw();
    form->redraw();
    flushDeletes();
    QCOMPARE(workArea().size(), 4);
    QCOMPARE(workArea().value(3), static_cast<QWidget*>(form->grafikInfo));
    QCOMPARE(CalculationHolder::liveCount(), 1);

    // FFA maps draw with a linear X axis unless the log box is ticked; "*" is with nulls for the panel.
    // Their axes come from the periodogram layout of the directory.
    QFile info(sum + "/info.txt");
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write("rows=3\ncols=1\nperiods={\n0.5\n1.0\n1.5\n}\nwidths={\n8\n}\nfoldbins={\n64\n80\n64\n}\n");
    info.close();
    open(sum, true, false, false);
    choose("ffaMap");
    QCOMPARE(child<QComboBox>("comboBoxWithNull")->currentText(), QString("*"));
    form->redraw();
    QVERIFY(form->grafikInfo->withNulls);
    QCOMPARE(form->grafik->grafikMode, 3);
    child<QCheckBox>("ffaMapLog")->click();
    QCOMPARE(form->grafik->grafikMode, 1);
    QVERIFY(info.remove());
}

void TestFourierForm::everyDayLocationIsSummed() {
    open(sum, false, false, false);
    child<QCheckBox>("checkBoxOthers")->setChecked(false);
    child<QCheckBox>("checkBoxYears")->setChecked(false);
    child<QCheckBox>("checkBoxDays")->click();
    QCOMPARE(form->tableRows, (QStringList{"2015.04.01", "2019.03.15"}));
    for (int day = 0; day < 2; ++day) {
        checkRow(0, day == 0);
        checkRow(1, day == 1);
        form->redraw();
        QVERIFY2(drawn(), qPrintable(form->grafik->hintText));
        QCOMPARE(drawn()->days, 1);
    }
}

void TestFourierForm::fileTableClickKeepsChecks() {
    QFile list(sum + "/list_in_files.txt");
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("150318_05_N4_00.pnthr\tf00_n0_av0\t0\t64\t7,25\n");
    list.close();
    open(sum, false, false, false);
    checkRow(0, false);
    checkRow(2, true); // cache_2016
    child<QCheckBox>("tableFromFile")->click();
    QCOMPARE(form->table->tableType, QString("datesFromFile"));
    const int runs = form->calculations;
    form->changeFormByTable({form->table->item(0, 0), form->table->item(0, 1), form->table->item(0, 2),
                             form->table->item(0, 3), form->table->item(0, 4)});
    QCOMPARE(form->calculations, runs + 1);
    QVERIFY(drawn());
    QCOMPARE(drawn()->rowChecked.toList(), (QList<bool>{false, false, true, false}));
    QCOMPARE(drawn()->withNulls, 0);
    QCOMPARE(child<QLineEdit>("harmonicNumber")->text(), QString("64"));
    QVERIFY(QFile::remove(sum + "/list_in_files.txt"));
}

void TestFourierForm::periodAndHarmonicEdits() {
    open(sum, false, false, false);
    auto* harmonic = child<QLineEdit>("harmonicNumber");
    auto* period = child<QLineEdit>("period");
    form->withNulls = 0;
    harmonic->clear();
    harmonic->setText("32");
    QCOMPARE(period->text(), QString("6.39631"));
    QCOMPARE(Settings::getInstance()->getPeriod(), QString("6.39631"));
    QCOMPARE(harmonic->text(), QString("32")); // the echo does not convert back
    form->withNulls = 1;
    period->setText("1");
    QCOMPARE(harmonic->text(), QString("409"));
    QCOMPARE(Settings::getInstance()->getHarmonicNumber(), 409);

    open(sum, true, false, false); // FFA: neither edit follows the other
    child<QLineEdit>("harmonicNumber")->setText("32");
    child<QLineEdit>("period")->setText("7");
    QCOMPARE(child<QLineEdit>("harmonicNumber")->text(), QString("32"));
    QCOMPARE(Settings::getInstance()->getPeriod(), QString("1"));
}

void TestFourierForm::yearsCheckRows() {
    open(sum, false, false, false);
    child<QCheckBox>("checkBoxMonthes")->click();
    child<QCheckBox>("checkBoxDays")->click();
    QCOMPARE(form->tableRows, (QStringList{"cache_all", "cache_2015", "cache_2016", "cache_2017",
                                           "cache_2015_03", "2015.04.01", "2019.03.15"}));
    child<QCheckBox>("checkBox2015")->click();
    child<QCheckBox>("checkBox2017")->click();
    QCOMPARE(form->rowChecked.toList(), (QList<bool>{false, true, false, true, true, true, false}));
    for (int i = 0; i < form->table->rowCount(); ++i) {
        QCOMPARE(form->table->cellWidget(i, 1)->findChild<QCheckBox*>()->isChecked(), form->rowChecked.at(i));
    }
    QCOMPARE(child<QLineEdit>("cacheName")->text(), QString("2015_2017"));
    for (const char* year : {"checkBox2016", "checkBox2019"}) {
        child<QCheckBox>(year)->click();
    }
    QCOMPARE(child<QLineEdit>("cacheName")->text(), QString());
    child<QPushButton>("checkAllYears")->click();
    QCOMPARE(child<QLineEdit>("cacheName")->text(), QString("all"));
    QCOMPARE(form->rowChecked.count(true), form->tableRows.size());
    child<QPushButton>("clearAllYears")->click();
    QCOMPARE(form->rowChecked.count(true), 0);
}

void TestFourierForm::searchSelectAndFilter() {
    open(search, false, false, true);
    child<QSpinBox>("module")->setValue(3);
    child<QSpinBox>("ray")->setValue(4);
    child<QComboBox>("comboBoxHour")->setCurrentText("16");
    child<QComboBox>("comboBoxMinSec")->setCurrentText("30:00");
    child<QPushButton>("selectInTable")->click();
    QVERIFY(warnings().last().endsWith("a163000_m03_r4"));

    // Only the ray filter, ray 0: every row stays.
    child<QSpinBox>("ray")->setValue(0);
    child<QCheckBox>("rayTable")->click();
    QCOMPARE(form->table->rowCount(), 3);
    child<QSpinBox>("ray")->setValue(5);
    child<QPushButton>("redrawTable")->click();
    QCOMPARE(form->tableRows, QStringList{"a163000_m03_r5"});
    child<QSpinBox>("ray")->setValue(3);
    child<QSpinBox>("module")->setValue(12);
    child<QPushButton>("selectInTable")->click();
    QVERIFY(warnings().last().startsWith("В таблице не видна строка"));
}

void TestFourierForm::searchClickDraws() {
    open(search, false, false, true);
    const int runs = form->calculations;
    form->clickedTableItem1("a163000_m03_r5");
    QCOMPARE(child<QSpinBox>("module")->value(), 3);
    QCOMPARE(child<QSpinBox>("ray")->value(), 5);
    QCOMPARE(child<QComboBox>("comboBoxMinSec")->currentText(), QString("30:00"));
    QCOMPARE(child<QComboBox>("comboBoxHour")->currentText(), QString("16"));
    QCOMPARE(form->selectedDir, search + "/16/a163000_m03_r5");
    QCOMPARE(form->calculations, runs + 1);
}

void TestFourierForm::fileRowSetsInputs() {
    open(sum, false, false, false);
    child<QLineEdit>("harmonicNumber")->setText("65");
    child<QComboBox>("comboBoxWithNull")->setCurrentText("0");
    QCOMPARE(child<QLineEdit>("harmonicNumber")->text(), QString("32"));

    QTableWidget cells(1, 5);
    const QStringList texts = {"1", "2018.03.15", "f12_n1_av3", "0", "64"};
    for (int c = 0; c < 5; ++c) {
        cells.setItem(0, c, new QTableWidgetItem(texts.at(c)));
    }
    form->changeFormByTable(
        {cells.item(0, 0), cells.item(0, 1), cells.item(0, 2), cells.item(0, 3), cells.item(0, 4)});
    QCOMPARE(child<QSpinBox>("firstPointShift")->value(), 2);
    QCOMPARE(child<QComboBox>("comboBoxWithNull")->currentText(), QString("1"));
    QCOMPARE(child<QSpinBox>("averageCount")->value(), 3);
    QCOMPARE(child<QLineEdit>("harmonicNumber")->text(), QString("64"));
    QVERIFY(child<QRadioButton>("fourier")->isChecked());
}

void TestFourierForm::saving() {
    // Only the start hint: nothing to write, and no file is left behind.
    open(sum, true, false, false);
    const QString hinted = tmp.filePath("hint.txt");
    desktop->fileAnswers << hinted;
    form->saveText();
    QVERIFY(warnings().last().startsWith("Данные не сохранены"));
    QVERIFY(!QFile::exists(hinted));

    open(sum, false, false, false);
    // The inputs as they stand, changed after the drawing without a new run.
    form->goingBack = true;
    child<QComboBox>("comboBoxWithNull")->setCurrentText("*");
    form->goingBack = false;
    const QString upper = tmp.filePath("x.TXT");
    desktop->fileAnswers << upper;
    form->saveText();
    QVERIFY(desktop->callsOf("save").last().text.contains("_f00_n0_av0_d0_fourier"));
    QFile saved(upper + ".txt");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(saved.readAll());
    QVERIFY(text.contains("With nulls: *\n"));
    QVERIFY(text.contains("\n1 "));
    QCOMPARE(desktop->boxes().last().title, QString("Result"));

    // An image that cannot be written is reported.
    form->grafik->setMinimumSize(200, 150);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    desktop->fileAnswers << tmp.filePath("missing/dir/graph");
    form->saveImage();
    QCOMPARE(warnings().last(), QString("Ошибка открытия файла для записи!"));
    desktop->fileAnswers << tmp.filePath("graph");
    form->saveImage();
    QVERIFY2(QFile::exists(tmp.filePath("graph.png")), qPrintable(warnings().join("|")));
}

QTEST_MAIN(TestFourierForm)
#include "tst_fourierform.moc"
