#include "app/mainwindow.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {
const QString day = QStringLiteral("2020.01.01");

QString numbers(const QVector<double>& v) {
    QStringList out;
    for (double x : v) {
        out << QString::number(x);
    }
    return out.join(' ');
}

// Every profile as "key: samples | max min index" and every period list as "date_dm: periods", sorted.
QStringList dump(const ProfileForm& f) {
    QStringList out;
    for (auto it = f.profiles.cbegin(); it != f.profiles.cend(); ++it) {
        out << it.key() + ": " + numbers(it.value()) + " | " + numbers(f.profileStats.value(it.key()));
    }
    for (auto it = f.periodsByDateDm.cbegin(); it != f.periodsByDateDm.cend(); ++it) {
        out << (it.key() + ": " + QStringList(it.value().toList()).join(' ')).trimmed();
    }
    out.sort();
    return out;
}

QString name(const QString& dm, const QString& period, int decimals, const QString& date = day) {
    return ProfileFileWriter::fileName(date, dm, period, decimals);
}
} // namespace

class TestProfileForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void parsing_data();
    void parsing();
    void site_data();
    void site();
    void preselectsBestProfile();
    void modeHidesItsWidgets_data();
    void modeHidesItsWidgets();
    void oneDateHidesDateArrows();
    void noBestProfileKeepsFirstDate();
    void bestDateWinsOverRoundedTie();
    void dmsRiseAsNumbers();
    void deletedFormLeavesTheRegistry();
    void failedReadingKeepsPreviousForm_data();
    void failedReadingKeepsPreviousForm();
    void threadedReadingEqualsSerial_data();
    void threadedReadingEqualsSerial();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    QString root;
    void write(const QString& relative, const QString& content) {
        QVERIFY(ProfileFileWriter::write(root + "/" + relative, content));
    }
};

void TestProfileForm::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    root = dir->path() + "/N1/J0000+00";
}

void TestProfileForm::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

void TestProfileForm::parsing_data() {
    QTest::addColumn<QStringList>("files"); // name, content, name, content, ...
    QTest::addColumn<QStringList>("tables");
    const QString n = name("10", "0.5", 1);
    QTest::newRow("trailing blank adds 0") << QStringList{n, "period=0.5\n1 2 3 \n"}
                                           << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 2 3 0 | 3 0 2"};
    QTest::newRow("star and double blank") << QStringList{n, "period=0.5\n1 *2  3\n"}
                                           << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 2 0 3 | 3 0 3"};
    QTest::newRow("two period lines in a row")
        << QStringList{n, "period=0.6\nperiod=0.5\n4 5\n"}
        << QStringList{day + "_10: 0.5 0.6", day + "_10_0.5: 4 5 | 5 4 1"};
    QTest::newRow("samples before the first period")
        << QStringList{n, "7 8\nperiod=0.5\n1\n"}
        << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 | 1 1 0"};
    QTest::newRow("equal maxima keep the first")
        << QStringList{n, "period=0.5\n3 1 3\n"}
        << QStringList{day + "_10: 0.5", day + "_10_0.5: 3 1 3 | 3 1 0"};
    QTest::newRow("maximum index within its line")
        << QStringList{n, "period=0.5\n1 5\n6 2\n"}
        << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 5 6 2 | 6 1 0"};
    QTest::newRow("CR LF lines") << QStringList{n, "period=0.5\r\n1 -2\r\n"}
                                 << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 -2 | 1 -2 0"};
    QTest::newRow("malformed") << QStringList{n, "period=x\n2 abc\n"}
                               << QStringList{day + "_10: 0.0", day + "_10_x: 2 0 | 2 0 0"};
    QTest::newRow("all very low") << QStringList{n, "period=0.5\n-2000000 -3000000\n"}
                                  << QStringList{day + "_10: 0.5",
                                                 day + "_10_0.5: -2e+06 -3e+06 | -1e+06 -3e+06 -1"};
    QTest::newRow("dm010 is 10") << QStringList{name("010", "0.5", 1), "period=0.5\n1\n"}
                                 << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 | 1 1 0"};
    QTest::newRow("no dm digits is 0") << QStringList{name("", "0.5", 1), "period=0.5\n1\n"}
                                       << QStringList{day + "_0: 0.5", day + "_0_0.5: 1 | 1 1 0"};
    QTest::newRow("s4 over 5-decimal periods")
        << QStringList{name("10", "0.5", 4), "period=0.50000\n1\n"}
        << QStringList{day + "_10: 0.5000", day + "_10_0.50000: 1 | 1 1 0"};
    QTest::newRow("two files of one date and DM")
        << QStringList{name("10", "0.5", 1), "period=0.7\n1\nperiod=0.5\n1 2\n", name("10", "0.7", 1),
                       "period=0.5\n9 9\n"}
        << QStringList{day + "_10: 0.5 0.7 0.5", day + "_10_0.5: 9 9 | 9 9 0", day + "_10_0.7: 1 | 1 1 0"};
    QTest::newRow("file without period line")
        << QStringList{name("5", "0.5", 1), "1 2 3\n",           name("10", "0.5", 1),
                       "period=0.5\n1\n",   "other/p2020_x.txt", "period=0.5\n1\n"}
        << QStringList{day + "_10: 0.5", day + "_10_0.5: 1 | 1 1 0", day + "_5:"};
}

void TestProfileForm::parsing() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, tables);
    for (int i = 0; i + 1 < files.size(); i += 2) {
        write(files[i], files[i + 1]);
    }
    ProfileForm form(root, "periods", window);
    tables.sort();
    QCOMPARE(dump(form), tables);
    QCOMPARE(form.dates, QVector<QString>{day});
    QCOMPARE(form.dmsByDate.value(day).size(), 1);
}

void TestProfileForm::site_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("plosh");
    QTest::addColumn<QString>("tres");
    QTest::addColumn<QString>("n0");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("warning");
    const QString noSite =
        "В выбранной директории нет информации о площадке.\nУкажите площадку вручную поле plosh формы!";
    QTest::newRow("N4 without declination") << "/N4/J1"
                                            << "N4"
                                            << "0.003072"
                                            << "65536"
                                            << ""
                                            << "";
    QTest::newRow("N2 directory beats N1_") << "/N1_x/N2/J1"
                                            << "N2"
                                            << "0.0124928"
                                            << "16348"
                                            << "16348"
                                            << "";
    QTest::newRow("N0 in a name") << "/N0_2020/J1"
                                  << "N0"
                                  << "0.0124928"
                                  << "16348"
                                  << "16348"
                                  << "";
    QTest::newRow("no site") << "/N3/J1"
                             << ""
                             << ""
                             << "16348"
                             << "" << noSite;
    QTest::newRow("N4 with declination")
        << "/N4/123456_d352530_m1_r2"
        << "N4"
        << "0.003072"
        << "65536" << QString::number(int(65536 / Tools::cosOfDms("35:25:30"))) << "";
    QTest::newRow("N4 at the pole") << "/N4/123456_d900000_m1_r2"
                                    << "N4"
                                    << "0.003072"
                                    << "65536"
                                    << ""
                                    << "Плохой косинус дельта! 0.00000";
    QTest::newRow("N4 cosine beyond int") << "/N4/123456_d895956_m1_r2"
                                          << "N4"
                                          << "0.003072"
                                          << "65536"
                                          << ""
                                          << "Плохой косинус дельта! 0.00002";
}

void TestProfileForm::site() {
    QFETCH(QString, path);
    QFETCH(QString, plosh);
    QFETCH(QString, tres);
    QFETCH(QString, n0);
    QFETCH(QString, n);
    QFETCH(QString, warning);
    root = dir->path() + path;
    write(name("10", "0.5", 1), "period=0.5\n1 2\n");
    ProfileForm form(root, "periods", window);
    QCOMPARE(form.ui->comboBoxPlosh->currentText(), plosh);
    QCOMPARE(form.ui->comboBoxTres->currentText(), tres);
    QCOMPARE(form.ui->calc_n0->text(), n0);
    QCOMPARE(form.ui->calc_n->text(), n);
    QStringList boxes;
    for (const auto& c : desktop->boxes()) {
        QCOMPARE(c.title, QString("Error"));
        QCOMPARE(c.parent, &form);
        boxes << c.text;
    }
    QCOMPARE(boxes, warning.isEmpty() ? QStringList() : QStringList{warning});
    if (path == "/N4/123456_d352530_m1_r2") {
        QCOMPARE(form.ui->calc_delta->text(), QString("35:25:30"));
        QCOMPARE(form.ui->calc_delta1->text(), QString("35.42"));
    }
}

void TestProfileForm::deletedFormLeavesTheRegistry() {
    QVERIFY(ProfileFileWriter::write(root + "/" + name("10", "0.5", 1),
                                     {{"0.5", ProfileFileWriter::pulse(64, 10, 5)}}));
    auto* form = new ProfileForm(root, "periods", window);
    Settings::getInstance()->setProfileForm(form);
    QCOMPARE(Settings::getInstance()->getProfileForm(), form);
    delete form;
    QCOMPARE(Settings::getInstance()->getProfileForm(), static_cast<ProfileForm*>(nullptr));
}

void TestProfileForm::preselectsBestProfile() {
    using ProfileFileWriter::pulse;
    const QString d2 = "2020.02.02";
    // Scan order (by path): a/ before b/, so 2020.02.02 is met first.
    QVERIFY(ProfileFileWriter::write(root + "/a/" + name("30", "0.7", 1, d2),
                                     {{"0.5", pulse(64, 10, 5)}, {"0.7", pulse(64, 20, 8)}}));
    QVERIFY(ProfileFileWriter::write(root + "/b/" + name("20", "0.5", 1),
                                     {{"0.5", pulse(64, 30, 4)}, {"0.7", pulse(64, 40, 6)}}));
    QVERIFY(ProfileFileWriter::write(
        root + "/b/" + name("10", "0.5", 1),
        {{"0.5", pulse(128, 50, 3)}, {"0.6", pulse(128, 77, 9)}, {"0.7", pulse(128, 2, 1)}}));
    ProfileForm form(root, "dispersions", window);
    QCOMPARE(form.dates, (QVector<QString>{d2, day}));
    QCOMPARE(form.datesByMax, (QVector<QString>{day, d2}));
    QCOMPARE(form.bestList.first(), QString("00001000_2020.01.01_10_0.6"));
    QCOMPARE(form.bestFiveByDate.value(day).first(), QString("2020.01.01_10_0.6"));
    QCOMPARE(form.bestFiveByDate.value(day).size(), 5);
    QCOMPARE(form.bestByDate.value(day).size(), 5);
    QCOMPARE(form.ui->comboBoxDate->currentText(), day);
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("10"));
    QCOMPARE(form.dateDms, (QVector<QString>{"10", "20"}));
    QCOMPARE(form.ui->comboBoxPeriod->currentText(), QString("0.6"));
    QCOMPARE(form.dmPeriods, (QVector<QString>{"0.5", "0.6", "0.7"}));
    QCOMPARE(form.ui->printDispersion->text(), QString("10"));
    QCOMPARE(form.ui->printPeriod->text(), QString("0.6"));
    QCOMPARE(form.ui->harmonic->maximum(), 128);
    QCOMPARE(form.ui->harmonic->value(), 77);
    QVERIFY(form.ui->sortSnr->isChecked());
    QCOMPARE(form.ui->dirName->text(), Tools::shortPath(root));
    QCOMPARE(form.ui->pulsarName->text(), Tools::sourceNameFromPath(root, "", true));

    // Collapsed groups, and the form beside the grid of the best date in the work area.
    QVERIFY(form.ui->groupBoxStatistic->isHidden());
    QVERIFY(form.ui->groupBoxCalculator->isHidden() && !form.ui->groupBoxCalculator->isChecked());
    QVERIFY(form.ui->widgetForPrint->isHidden() && !form.ui->groupBoxForPrint->isChecked());
    QVERIFY(!form.ui->dateNext->isHidden() && !form.ui->comboBoxMaximums->isHidden());
    QLayout* area = window->centralWidget()->layout();
    QCOMPARE(area, form.workLayout);
    QCOMPARE(area->count(), 2);
    QCOMPARE(area->itemAt(0)->widget(), &form);
    QCOMPARE(area->itemAt(1)->widget(), form.multiGrafik.data());
    QCOMPARE(form.view, QString("multi"));
    QCOMPARE(form.ui->comboBoxMaximums->currentIndex(), 1);
    QCOMPARE(form.mainWindow, window);
    QVERIFY(desktop->boxes().isEmpty());
    QVERIFY(window->progressBar->isHidden());

    // Ranges after construction; the maxima selector never takes a third item.
    QCOMPARE(form.ui->average->maximum(), 12);
    QCOMPARE(form.ui->radius->minimum(), 1);
    QCOMPARE(form.ui->radius->maximum(), 10);
    form.ui->comboBoxMaximums->addItem("third");
    QCOMPARE(form.ui->comboBoxMaximums->count(), 2);
}

void TestProfileForm::modeHidesItsWidgets_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("periods") << "periods" << true;
    QTest::newRow("dispersions") << "dispersions" << false;
}

void TestProfileForm::modeHidesItsWidgets() {
    QFETCH(QString, mode);
    QFETCH(bool, hidden);
    write(name("10", "0.5", 1), "period=0.5\n1 2\n");
    ProfileForm form(root, mode, window);
    for (QWidget* w :
         {static_cast<QWidget*>(form.ui->harmonic), static_cast<QWidget*>(form.ui->harmonicLabel),
          static_cast<QWidget*>(form.ui->drawGrafikDisp), static_cast<QWidget*>(form.ui->labelShowMaxDisp),
          static_cast<QWidget*>(form.ui->showMaxDisp)}) {
        QVERIFY2(w->isHidden() == hidden, qPrintable(w->objectName()));
    }
}

void TestProfileForm::oneDateHidesDateArrows() {
    write(name("10", "0.5", 1), "period=0.5\n1 2\n");
    write(name("20", "0.5", 1), "period=0.5\n1 3\n");
    ProfileForm form(root, "periods", window);
    QVERIFY(form.ui->dateNext->isHidden());
    QVERIFY(form.ui->datePre->isHidden());
    QVERIFY(form.ui->comboBoxMaximums->isHidden());
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("20"));
}

void TestProfileForm::noBestProfileKeepsFirstDate() {
    write(name("10", "0.5", 1, "2020.03.03"), "period=0.5\n");
    write(name("10", "0.5", 1, "2020.04.04"), "period=0.5\n");
    ProfileForm form(root, "periods", window);
    QVERIFY(form.bestList.isEmpty());
    QCOMPARE(form.dates.size(), 2);
    QCOMPARE(form.ui->comboBoxDate->currentIndex(), 0);
    QCOMPARE(form.ui->comboBoxDate->currentText(), form.dates[0]);
    QCOMPARE(form.ui->comboBoxPeriod->count(), 0);
    QVERIFY(form.workLayout);
}

// 1.499996 and 1.5 tie as six digits, so the dates by maximum keep the scan order, while the best list
// puts 1.5 first: the form opens on the best profile's date, with its DM, not on the first date.
void TestProfileForm::bestDateWinsOverRoundedTie() {
    const QString later = "2020.01.02";
    write(name("10", "0.5", 1), "period=0.5\n1 1.499996\n");
    write(name("20", "0.5", 1, later), "period=0.5\n1 1.5\n");
    ProfileForm form(root, "periods", window);
    QCOMPARE(form.datesByMax.first(), day);
    QCOMPARE(form.ui->comboBoxDate->currentText(), later);
    QCOMPARE(form.ui->comboBoxDispersion->currentText(), QString("20"));
    QVERIFY(form.multiGrafik);
    QCOMPARE(form.multiGrafik->columnTitles, (QVector<QString>{"period", "DM=20"}));
    QVERIFY(form.multiGrafik->grafiks.value(0).value(0));
}

// File names list "dm19_" before "dm1_" as text; the selectors, the grid and the statistics read the
// DMs in rising order.
void TestProfileForm::dmsRiseAsNumbers() {
    const QStringList dms{"206", "38", "20", "19", "3", "1"};
    for (int i = 0; i < dms.size(); ++i) {
        write(name(dms[i], "0.5", 1),
              ProfileFileWriter::text({{"0.5", ProfileFileWriter::pulse(32, 10, 2 + i)}}));
        write("st/sigma_dm" + dms[i] + "_p0.5_2020.txt", "2020.01.02;1;0;3;4;0\n");
    }
    ProfileForm form(root, "periods", window);
    const QVector<QString> rising{"1", "3", "19", "20", "38", "206"};
    QCOMPARE(form.dmsByDate.value(day), rising);
    QCOMPARE(form.dateDms, rising);
    QStringList items;
    for (int i = 0; i < form.ui->comboBoxDispersion->count(); ++i) {
        items << form.ui->comboBoxDispersion->itemText(i);
    }
    QCOMPARE(items, QStringList(rising.toList()));
    QVERIFY(form.multiGrafik);
    QCOMPARE(form.multiGrafik->columnTitles,
             (QVector<QString>{"period", "DM=1", "DM=3", "DM=19", "DM=20", "DM=38", "DM=206"}));
    QCOMPARE(form.statDms, rising);
}

void TestProfileForm::failedReadingKeepsPreviousForm_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("warning");
    QTest::newRow("missing") << false << " does not exist!";
    QTest::newRow("empty") << true << "В этой директории ничего не найдено";
}

void TestProfileForm::failedReadingKeepsPreviousForm() {
    QFETCH(bool, exists);
    QFETCH(QString, warning);
    if (exists) {
        write("p2020_not_a_profile.txt", "period=0.5\n1\n");
    }
    QPointer<QLabel> previous = new QLabel("previous", window);
    window->centralWidget()->setLayout(new QHBoxLayout);
    window->centralWidget()->layout()->addWidget(previous);
    window->progressBar->hide();
    auto* form = new ProfileForm(root, "periods", window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(previous);
    QCOMPARE(window->centralWidget()->layout()->count(), 1);
    QVERIFY(form->isHidden());
    QVERIFY(!form->workLayout);
    QCOMPARE(desktop->boxes().size(), 1);
    QVERIFY(desktop->boxes()[0].text.endsWith(warning));
    QCOMPARE(desktop->boxes()[0].parent, form);
    // Hidden whether the directory is missing or holds nothing: a bar left at 100 looks like a hang.
    QVERIFY(window->progressBar->isHidden());
    if (exists) {
        QCOMPARE(window->progressBar->value(), 100);
    }
}

void TestProfileForm::threadedReadingEqualsSerial_data() {
    QTest::addColumn<int>("threads");
    QTest::newRow("2 threads") << 2;
    QTest::newRow("8 threads") << 8;
}

// Files whose order decides the tables: a later file replaces a profile of the same key and appends to
// the period list of its date and DM, "dm010" and "dm10" are one DM, equal maxima tie, and some files
// hold no period. Read on the calling thread alone (a pool of one) and on several, all tables and the
// preselected best profile must come out the same.
void TestProfileForm::threadedReadingEqualsSerial() {
    QFETCH(int, threads);
    unsigned state = 99;
    const auto next = [&state](unsigned range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 16) % range;
    };
    for (int d = 0; d < 5; ++d) {
        const QString date = QString("2020.0%1.1%2").arg(1 + d % 3).arg(d);
        for (int m = 0; m < 30; ++m) {
            const QString dir = QString("%1/d%2/").arg(root).arg(m % 3);
            const QString dm = m % 10 == 0 ? QString("0%1").arg(m) : QString::number(m);
            QVector<ProfileFileWriter::Block> blocks;
            for (const char* period : {"0.5", "0.6", "0.7"}) {
                blocks.append({period, ProfileFileWriter::pulse(32, int(next(32)), 1 + next(7))});
            }
            QVERIFY(ProfileFileWriter::write(dir + name(dm, "0.7", 1, date), blocks));
            if (m % 7 == 0) {
                QVERIFY(ProfileFileWriter::write(dir + name(QString::number(m), "0.9", 1, date),
                                                 {{"0.6", ProfileFileWriter::pulse(32, 3, 1 + next(7))}}));
            }
            if (m % 11 == 0) {
                QVERIFY(ProfileFileWriter::write(dir + name(dm, "0.2", 1, date), QString("1 2 3\n")));
            }
        }
    }
    QThreadPool* pool = QThreadPool::globalInstance();
    const int poolSize = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    ProfileForm serial(root, "periods", window);
    pool->setMaxThreadCount(threads);
    ProfileForm threaded(root, "periods", window);
    pool->setMaxThreadCount(poolSize);

    QCOMPARE(serial.dates.size(), 5);
    QCOMPARE(serial.profiles.size(), 5 * 30 * 3);
    QCOMPARE(threaded.dates, serial.dates);
    QCOMPARE(threaded.dmsByDate, serial.dmsByDate);
    QCOMPARE(threaded.periodsByDateDm, serial.periodsByDateDm);
    QCOMPARE(threaded.profiles, serial.profiles);
    QCOMPARE(threaded.profileStats, serial.profileStats);
    QCOMPARE(threaded.dateStats, serial.dateStats);
    QCOMPARE(threaded.datesByMax, serial.datesByMax);
    QCOMPARE(threaded.bestList, serial.bestList);
    QCOMPARE(threaded.bestByDate, serial.bestByDate);
    QCOMPARE(threaded.bestFiveByDate, serial.bestFiveByDate);
    QCOMPARE(threaded.bestFiveByDatePeriod, serial.bestFiveByDatePeriod);
    for (QComboBox* box :
         {threaded.ui->comboBoxDate, threaded.ui->comboBoxDispersion, threaded.ui->comboBoxPeriod}) {
        QCOMPARE(box->currentText(), serial.findChild<QComboBox*>(box->objectName())->currentText());
    }
    QVERIFY(desktop->boxes().isEmpty());
}

QTEST_MAIN(TestProfileForm)
#include "tst_profileform.moc"
