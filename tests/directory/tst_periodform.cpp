#include "app/mainwindow.h"
#include "core/busyguard.h"
#include "core/settings.h"
#include "core/workarea.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/periodform.h"
#include "support/pulsefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "support/widgettext.h"
#include "ui_periodform.h"

#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
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

QStringList traceLines() {
    QFile f("test1.txt");
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {"<no trace>"};
    }
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestPeriodForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void formTexts_data();
    void formTexts();
    void opensOrFails_data();
    void opensOrFails();
    void drawPeriodFillsGraphAndPanel();
    void sumSearches_data();
    void sumSearches();
    void secondDrawEmptiesTrace();
    void refusedRangeChangesNothing_data();
    void refusedRangeChangesNothing();
    void unwritableTraceHidesProgress();
    void progressThroughTheBar();
    void changeSlots();
    void firstNumberAndLimitEdits();
    void tableBoxes();
    void findPeriodAppendsAndShowsRanking();
    void buttonsRefusedWhileBusy();
    void emptyRangeDrawsNoCandidate();
    void fractionalGcd_data();
    void fractionalGcd();

private:
    PeriodForm* open(const QString& file, const QString& mode = QString());
    // Range 0.9 .. 1.1 s by 0.01 s, tolerance 15 ms, sought 1 s.
    void setRange();
    QLineEdit* edit(const char* name) { return form->findChild<QLineEdit*>(name); }
    FourierGrafikInfo* panel() const { return qobject_cast<FourierGrafikInfo*>(workArea().value(2)); }

    QTemporaryDir dir;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    PeriodForm* form = nullptr;
};

void TestPeriodForm::initTestCase() {
    qputenv("TZ", "UTC");
    tzset();
    TestEnv::isolate();
    QVERIFY(dir.isValid());
    QDir::setCurrent(dir.path());
    window = new MainWindow;
    // Differences 1000, 2000 and 3010 ms.
    QVERIFY(PulseFileWriter::writeTimes(dir.filePath("times.txt"),
                                        PulseFileWriter::timesAt({0, 1000, 3000, 6010})));
    QVERIFY(PulseFileWriter::write(dir.filePath("010118_01_N1_00.txt"),
                                   "010118_01_N1_00.pnthr: 0 80 240\n010118_01_N1_00.pnthr: 481\n"));
    QVERIFY(PulseFileWriter::write(dir.filePath("one.txt"), "2018-01-01T00:00:00\n"));
}

void TestPeriodForm::cleanupTestCase() {
    delete window;
    flushDeletes();
}

void TestPeriodForm::init() {
    desktop.reset(new RecordingDesktop);
    WorkArea::install({new QLabel("previous")});
    QFile::remove("test1.txt");
}

void TestPeriodForm::cleanup() {
    WorkArea::clear();
    if (form && !form->isValid()) {
        delete form;
    }
    flushDeletes();
    form = nullptr;
    desktop.reset();
}

PeriodForm* TestPeriodForm::open(const QString& file, const QString& mode) {
    form = new PeriodForm(dir.filePath(file), mode, window);
    return form;
}

void TestPeriodForm::setRange() {
    edit("periodFrom")->setText("0.9");
    edit("periodTo")->setText("1.1");
    edit("periodShag")->setText("0.01");
    edit("deltaTime")->setText("0.015");
}

void TestPeriodForm::formTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QList<QPair<QString, QString>> rows = {
        {"label", "File name: "},
        {"groupBox_2", "Action"},
        {"showNative", "test"},
        {"groupBox_3", ""},
        {"harmonicNumberLabel", "from"},
        {"label_2", " to"},
        {"label_3", "shag"},
        {"label_5", "period"},
        {"periodFrom", "0.5"},
        {"periodTo", "2"},
        {"periodShag", "0.0001"},
        {"label_4", "sec"},
        {"label_6", "delta time"},
        {"deltaTime", "0.025"},
        {"label_7", "sec"},
        {"label_8", "find peiod"},
        {"periodFind", "1"},
        {"label_9", "sec"},
        {"label_10", "first number"},
        {"firstNumber", "0"},
        {"label_12", "limit"},
        {"limit", "0"},
        {"showCurve", "curve"},
        {"label_11", "lineY"},
        {"yLine", "0"},
        {"showTimes", "Show times"},
        {"showDTimes", "Show delta times"},
        {"drawPeriod", "Period"},
        {"drawPeriodMnk", "MNK"},
        {"drawPeriodMnkPre", "MNK pre"},
    };
    for (const auto& r : rows) {
        QTest::newRow(qPrintable(r.first)) << r.first << r.second;
    }
}

void TestPeriodForm::formTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget w;
    Ui::PeriodForm ui;
    ui.setupUi(&w);
    QCOMPARE(w.objectName(), QString("PeriodForm"));
    QCOMPARE(w.windowTitle(), QString("PeriodForm"));
    QCOMPARE(w.maximumWidth(), 291);
    QCOMPARE(w.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(ui.periodShag->maximumSize(), QSize(60, 50));
    QVERIFY(!ui.showNative->isChecked() && !ui.showCurve->isChecked());
    QCOMPARE(ui.showCurve->layoutDirection(), Qt::RightToLeft);
    QCOMPARE(ui.groupBox_3->whatsThis(), QString("Averaging"));
    QString shown;
    const QObject* o = w.findChild<QObject*>(name);
    QVERIFY2(o, qPrintable(name));
    QVERIFY(WidgetText::shown(o, shown));
    QCOMPARE(shown, text);
}

void TestPeriodForm::opensOrFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("times");
    QTest::newRow("times file") << "times.txt"
                                << ""
                                << "" << 4;
    QTest::newRow("pulse list") << "010118_01_N1_00.txt"
                                << "points"
                                << "" << 4;
    QTest::newRow("mode is exact") << "010118_01_N1_00.txt"
                                   << "Points"
                                   << "Нет данных в файле " << 0;
    QTest::newRow("missing file") << "absent.txt"
                                  << ""
                                  << "Нет файла " << 0;
    QTest::newRow("one time") << "one.txt"
                              << ""
                              << "Всего одно время в файле " << 0;
}

void TestPeriodForm::opensOrFails() {
    QFETCH(QString, file);
    QFETCH(QString, mode);
    QFETCH(QString, box);
    QFETCH(int, times);
    QPointer<QWidget> previous = workArea().value(0);
    open(file, mode);
    flushDeletes();
    QCOMPARE(form->times.size(), times);
    if (!box.isEmpty()) {
        QVERIFY(!form->isValid());
        QVERIFY(previous);
        QCOMPARE(workArea(), QList<QWidget*>{previous.data()});
        QCOMPARE(desktop->boxes().size(), 1);
        QCOMPARE(desktop->boxes()[0].text, box + dir.filePath(file));
        // Nothing of a failed form runs.
        QVERIFY(!form->drawPeriod());
        form->yLineChanged("5");
        QCOMPARE(workArea(), QList<QWidget*>{previous.data()});
        return;
    }
    QVERIFY(form->isValid());
    QVERIFY(!previous);
    QVERIFY(desktop->boxes().isEmpty());
    QCOMPARE(form->findChild<QLabel*>("fileName")->text(), file);
    const QList<QWidget*> area = workArea();
    QCOMPARE(area.size(), 3);
    QCOMPARE(area[0], static_cast<QWidget*>(form));
    QCOMPARE(area[1], static_cast<QWidget*>(form->grafik));
    QCOMPARE(area[2], static_cast<QWidget*>(form->grafikInfo));
    QVERIFY(form->grafik->hintShown);
    QCOMPARE(form->dTimes0.size(), 4);
    QCOMPARE(form->dTimes0[0], 0.0);
    QCOMPARE(form->dTimes.size(), 3);
    if (mode == "points") {
        // Points 0, 80, 240, 481 of 12.4928 ms.
        QCOMPARE(form->dTimes0, (QVector<double>{0, 999, 1999, 3011}));
    }
}

void TestPeriodForm::drawPeriodFillsGraphAndPanel() {
    open("times.txt");
    setRange();
    edit("yLine")->setText("3");
    flushDeletes();
    QPointer<FourierGrafikInfo> before = panel();
    FourierGrafik* grafik = form->grafik;
    QVERIFY(form->drawPeriod());
    flushDeletes();
    QVERIFY(!before);
    QCOMPARE(form->periodType, QString("period"));
    QCOMPARE(form->periods.size(), 20);
    QCOMPARE(form->scores[10], 3.0);
    QCOMPARE(form->scores[9], 1.0);
    QCOMPARE(form->scores[11], 1.0);
    QCOMPARE(workArea(), (QList<QWidget*>{form, grafik, panel()}));
    QVERIFY(!grafik->hintShown);
    QCOMPARE(grafik->grafikMode, 4);
    QCOMPARE(grafik->arrGrafikX, form->periods);
    QCOMPARE(grafik->arrGrafikY, QVector<QVector<double>>{form->scores});
    QCOMPARE(grafik->visible, QVector<bool>{true});
    QCOMPARE(grafik->precisionX, 3);
    QCOMPARE(grafik->precisionY, 0);
    QCOMPARE(grafik->markersX, QVector<double>{1.0});
    QCOMPARE(grafik->markersY, QVector<double>{3.0});
    QCOMPARE(panel()->text, form->infoText);
    QVERIFY(form->infoText.startsWith("Near period=1: \n0.90000: 0.000 \n"));
    QVERIFY(form->infoText.contains("1.00000: 3.000  <---\n"));
    QVERIFY(form->infoText.endsWith("\n\nResults over y=3:\n1.00000: 3.000\n"));
    const QStringList trace = traceLines();
    QCOMPARE(trace.size(), 20);
    QCOMPARE(trace[10], QString("1.0000 \t 3 "));
    QVERIFY(desktop->boxes().isEmpty());
}

void TestPeriodForm::sumSearches_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("kind");
    QTest::newRow("MNK") << "drawPeriodMnk"
                         << "periodMnk";
    QTest::newRow("MNK pre") << "drawPeriodMnkPre"
                             << "periodMnkPre";
}

void TestPeriodForm::sumSearches() {
    QFETCH(QString, button);
    QFETCH(QString, kind);
    open("times.txt");
    setRange();
    QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(form->periodType, kind);
    QCOMPARE(form->scores[10], 0.0);
    QVERIFY(form->scores[9] > 0);
    QVERIFY(form->infoText.contains("\nResults under y=0:\n1.00: 0.000\n"));
    const QStringList trace = traceLines();
    QCOMPARE(trace.mid(0, 5),
             (QStringList{"periodFrom=0.9", "periodTo=1.1", "shag=0.01", "dTimes:", "0.\t\t1000"}));
    QCOMPARE(trace[7], QString("period\t\t Sum(abs(rem))"));
    QCOMPARE(trace.size(), 8 + 20);
}

void TestPeriodForm::secondDrawEmptiesTrace() {
    open("times.txt");
    setRange();
    QVERIFY(form->drawPeriodMnk());
    QVERIFY(form->drawPeriod());
    QCOMPARE(traceLines().size(), 20);
    QVERIFY(form->drawPeriod());
    QCOMPARE(traceLines().size(), 20);
}

void TestPeriodForm::refusedRangeChangesNothing_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("step");
    QTest::newRow("step 0") << "0.9"
                            << "0";
    QTest::newRow("step unreadable") << "0.9"
                                     << "abc";
    QTest::newRow("step negative") << "0.9"
                                   << "-0.01";
    QTest::newRow("too many") << "0"
                              << "0.00000001";
}

void TestPeriodForm::refusedRangeChangesNothing() {
    QFETCH(QString, from);
    QFETCH(QString, step);
    open("times.txt");
    setRange();
    QVERIFY(form->drawPeriodMnk());
    flushDeletes();
    const QVector<double> periods = form->periods;
    const QString info = form->infoText;
    QWidget* before = panel();
    QFile::remove("test1.txt");
    edit("periodFrom")->setText(from);
    edit("periodShag")->setText(step);
    desktop->calls.clear();
    for (const char* slot : {"drawPeriod", "drawPeriodMnkPre", "findPeriod"}) {
        bool ok = true;
        QVERIFY(QMetaObject::invokeMethod(form, slot, Q_RETURN_ARG(bool, ok)));
        QVERIFY2(!ok, slot);
    }
    QCOMPARE(desktop->boxes().size(), 3);
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(form->periodType, QString("periodMnk"));
    QCOMPARE(form->periods, periods);
    QCOMPARE(form->infoText, info);
    flushDeletes();
    QCOMPARE(panel(), before);
    QVERIFY(!QFile::exists("test1.txt"));
}

void TestPeriodForm::unwritableTraceHidesProgress() {
    open("times.txt");
    setRange();
    QVERIFY(QDir().mkdir("test1.txt"));
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    const bool ok = form->drawPeriod();
    QDir().rmdir("test1.txt");
    QVERIFY(!ok);
    QCOMPARE(form->periodType, QString("period"));
    QVERIFY(form->periods.isEmpty());
    QVERIFY(form->grafik->hintShown);
    QVERIFY(bar->isHidden());
}

void TestPeriodForm::progressThroughTheBar() {
    open("times.txt");
    setRange();
    QProgressBar* bar = Settings::getInstance()->getProgressBar();
    QSignalSpy spy(form, &PeriodForm::progress);
    QList<bool> visible;
    connect(form, &PeriodForm::progress, [&visible, bar] { visible << bar->isVisible(); });
    window->show();
    QVERIFY(form->drawPeriod());
    // 60 pairs: every pair moves the whole percentage, each value once and rising.
    QCOMPARE(spy.size(), 60);
    int last = 0;
    for (const QList<QVariant>& args : spy) {
        QVERIFY(args.at(0).toInt() > last);
        last = args.at(0).toInt();
    }
    QCOMPARE(last, 100);
    QCOMPARE(bar->value(), 100);
    QVERIFY(!visible.contains(false));
    QVERIFY(bar->isHidden());
    window->hide();
}

void TestPeriodForm::changeSlots() {
    open("times.txt");
    setRange();
    flushDeletes();
    QWidget* first = panel();
    // Before a draw the sought period changes nothing.
    edit("periodFind")->setText("0.95");
    flushDeletes();
    QCOMPARE(panel(), first);
    QVERIFY(form->grafik->markersX.isEmpty());

    QVERIFY(form->drawPeriod());
    QCOMPARE(form->grafik->markersX, QVector<double>{0.95});
    edit("periodFind")->setText("1.01");
    QCOMPARE(form->grafik->markersX, QVector<double>{1.01});
    QVERIFY(form->infoText.startsWith("Near period=1.01: \n"));
    QVERIFY(form->infoText.contains("Results over y=0:"));
    flushDeletes();
    QCOMPARE(panel()->text, form->infoText);
    edit("periodFind")->setText("5");
    QVERIFY(form->grafik->markersX.isEmpty());
    QCOMPARE(form->infoText, QString());

    edit("yLine")->setText("1");
    QCOMPARE(form->grafik->markersY, QVector<double>{1.0});
    QVERIFY(
        form->infoText.startsWith("Near period=5: \n\nResults over y=1:\n0.99000: 1.000\n1.00000: 3.000\n"));
    QVERIFY(form->drawPeriodMnk());
    edit("yLine")->setText("20");
    QVERIFY(form->infoText.contains("Results under y=20:\n"));
}

void TestPeriodForm::firstNumberAndLimitEdits() {
    open("times.txt");
    edit("firstNumber")->setText("1");
    QCOMPARE(form->dTimes, (QVector<double>{2000, 3010}));
    edit("limit")->setText("1");
    QCOMPARE(form->dTimes, QVector<double>{2000});
    QVERIFY(desktop->boxes().isEmpty());
    edit("firstNumber")->setText("3");
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("Ошибка"));
    QCOMPARE(desktop->boxes()[0].text, QString("Неверное firstNumber"));
    QCOMPARE(form->dTimes, (QVector<double>{1000, 2000, 3010}));
    // An edit draws nothing.
    QVERIFY(form->grafik->hintShown);
}

void TestPeriodForm::tableBoxes() {
    open("times.txt");
    QTest::mouseClick(form->findChild<QPushButton*>("showTimes"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>("showDTimes"), Qt::LeftButton);
    QCOMPARE(desktop->boxes().size(), 2);
    QCOMPARE(desktop->boxes()[0].title, QString("Information"));
    QVERIFY(desktop->boxes()[0].text.contains("003   2018.01.01 00:00:06.010"));
    QVERIFY(desktop->boxes()[1].text.contains("00002:   0000000003010   0000   00:00:03.010\n"));
    QVERIFY(desktop->boxes()[1].text.endsWith("Всего строк: 3"));

    // No differences left: both the table and the searches refuse.
    form->dTimes.clear();
    QVERIFY(!form->showDTimes());
    QCOMPARE(desktop->boxes().last().text,
             QString("Ошибка данных! Измените число first number или файл с данными."));
    QVERIFY(!form->drawPeriod());
    QCOMPARE(desktop->boxes().last().text, QString("Ошибка! Нет промежутков времени"));
}

void TestPeriodForm::findPeriodAppendsAndShowsRanking() {
    open("times.txt");
    setRange();
    QVERIFY(form->drawPeriod());
    QVERIFY(form->findPeriod());
    // The draw's 20 and the ranking's 20, in candidate order.
    QCOMPARE(form->periods.size(), 40);
    QCOMPARE(form->periods[20], 0.9);
    // Entry 0 (1000 ms) is left out of the ranking's counts.
    QCOMPARE(form->scores[30], 2.0);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString());
    const QString text = desktop->boxes()[0].text;
    QVERIFY(text.startsWith("i=1\t period=1.0:\t     2\n"));
    QVERIFY(text.contains("Всего гармоник в файле:\t 3\nПротестировано периодов:\t 20\n"));
    QVERIFY(text.endsWith("Ищем период: 1000 msec\ni=1\t period=1.0:\t     2\n"));
}

void TestPeriodForm::buttonsRefusedWhileBusy() {
    open("times.txt");
    setRange();
    {
        BusyGuard busy;
        for (const char* name :
             {"showTimes", "showDTimes", "drawPeriod", "drawPeriodMnk", "drawPeriodMnkPre"}) {
            QTest::mouseClick(form->findChild<QPushButton*>(name), Qt::LeftButton);
        }
        bool ok = true;
        QVERIFY(QMetaObject::invokeMethod(form, "findPeriod", Q_RETURN_ARG(bool, ok)));
        QVERIFY(!ok);
    }
    QVERIFY(desktop->boxes().isEmpty());
    QVERIFY(form->periods.isEmpty());
    QCOMPARE(form->periodType, QString());
}

void TestPeriodForm::emptyRangeDrawsNoCandidate() {
    open("times.txt");
    setRange();
    edit("periodTo")->setText("0.9");
    QVERIFY(form->drawPeriodMnk());
    QVERIFY(form->periods.isEmpty());
    QVERIFY(form->grafik->arrGrafikX.isEmpty());
    QCOMPARE(form->infoText, QString());
    // The sums' trace keeps its head.
    QCOMPARE(traceLines().size(), 8);
    form->grafik->resize(400, 300);
    QImage image(form->grafik->size(), QImage::Format_ARGB32);
    form->grafik->render(&image);
    // Without X values the sought period changes nothing.
    edit("periodFind")->setText("0.95");
    QVERIFY(form->grafik->markersX.isEmpty() || form->grafik->markersX == QVector<double>{1.0});
}

void TestPeriodForm::fractionalGcd_data() {
    QTest::addColumn<qint64>("time1");
    QTest::addColumn<qint64>("time2");
    QTest::addColumn<double>("result");
    QTest::newRow("equal") << qint64(700) << qint64(700) << 700.0;
    QTest::newRow("first 0") << qint64(0) << qint64(300) << 0.0;
    QTest::newRow("second 0") << qint64(300) << qint64(0) << -1.0;
    QTest::newRow("whole remainders") << qint64(1000) << qint64(300) << 0.0;
}

void TestPeriodForm::fractionalGcd() {
    QFETCH(qint64, time1);
    QFETCH(qint64, time2);
    QFETCH(double, result);
    QCOMPARE(PeriodForm::fractionalGcd(time1, time2), result);
}

QTEST_MAIN(TestPeriodForm)
#include "tst_periodform.moc"
