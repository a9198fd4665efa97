#include "app/mainwindow.h"
#include "core/profilegrafik.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QClipboard>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {
const QString day = QStringLiteral("2020.01.01");

// 100 points: alternating noise of +-0.5 around 0 and a pulse of height 8 at point 50.
QVector<double> profile100() {
    QVector<double> v(100);
    for (int i = 0; i < 100; ++i) {
        const double d = (i - 50) / 3.0;
        v[i] = (i % 2 ? 0.5 : -0.5) + 8 * std::exp(-d * d / 2);
    }
    return v;
}

QString autoDecimals(double v) {
    return QString::number(v, 'f', Tools::decimalsFor(v));
}
} // namespace

class TestProfileCalc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void conversions();
    void startTextsCompleteWindow();
    void calculation_data();
    void calculation();
    void fullRun();
    void report();
    void reportWithoutMainWindow();
    void windowSlots();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    ProfileForm* form = nullptr;
    int plotCount() const { return window->centralWidget()->findChildren<ProfileGrafik*>().size(); }
};

void TestProfileCalc::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    const QString root = dir->path() + "/N1/J1234+5678";
    QVERIFY(ProfileFileWriter::write(root + "/" + ProfileFileWriter::fileName(day, "10", "0.5", 1),
                                     {{"0.5", profile100()}}));
    form = new ProfileForm(root, "periods", window);
    form->ui->pulsarName->setText("J1234+5678_long_name");
    form->ui->groupBoxCalculator->setChecked(true);
    QVERIFY(form->drawGrafikOne());
    desktop->calls.clear();
}

void TestProfileCalc::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

void TestProfileCalc::conversions() {
    QCOMPARE(form->getPointFromTime(0.25, 100, 1.0), 25);
    QCOMPARE(form->getPointFromTime(0.025, 100, 1.0), 2);  // 2.5 rounds down
    QCOMPARE(form->getPointFromTime(0.0251, 100, 1.0), 3); // 2.51 rounds up
    QVERIFY(desktop->boxes().isEmpty());
    QCOMPARE(form->getPointFromTime(0.25, 100, 0.00005), -1);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("Не выбран период!"));
}

void TestProfileCalc::startTextsCompleteWindow() {
    Ui::ProfileForm* ui = form->ui;
    QCOMPARE(ui->calc_n1->text(), QString("-1"));
    QCOMPARE(ui->calc_n2->text(), QString());
    QCOMPARE(ui->calc_np->text(), QString("100"));
    const int before = plotCount();
    QVERIFY(form->calculateFluxDensity());
    QCOMPARE(plotCount() - before, 2);
    QCOMPARE(ui->calc_n1->text(), QString("40"));
    QCOMPARE(ui->calc_n2->text(), QString("60"));
    QCOMPARE(ui->calc_period1->text(), QString::number(0.4 * 0.5, 'f', 1));
    QCOMPARE(ui->calc_period2->text(), QString::number(0.6 * 0.5, 'f', 1));
    // The redraw marks the window.
    QCOMPARE(form->profileGrafik->markers, (QVector<int>{50, 40, 60}));
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileCalc::calculation_data() {
    QTest::addColumn<QString>("plosh");
    QTest::addColumn<QString>("tres"); // "" keeps the site's
    QTest::addColumn<QString>("n0");
    QTest::addColumn<QString>("period"); // "" keeps the shown one
    QTest::addColumn<QString>("n1");
    QTest::addColumn<QString>("n2");
    QTest::addColumn<QString>("k2");
    QTest::addColumn<QString>("delta");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("fields"); // name=text

    const double c90 = Tools::cosOfDms("90:00:00");
    const double c63 = Tools::cosOfDms("63:25:30");
    QTest::newRow("2.5 periods give 2")
        << "N1"
        << "0.5"
        << "5"
        << "1"
        << "40"
        << "60"
        << "1"
        << "" << true << QStringList{} << QStringList{"calc_n_periods=2", "calc_n=5"};
    QTest::newRow("2.51 periods give 3") << "N1"
                                         << "0.01"
                                         << "251"
                                         << "1"
                                         << "40"
                                         << "60"
                                         << "1"
                                         << "" << true << QStringList{} << QStringList{"calc_n_periods=3"};
    QTest::newRow("no periods") << "N1"
                                << "0.01"
                                << "10"
                                << "1"
                                << "40"
                                << "60"
                                << "1"
                                << "" << false << QStringList{"n_periods должно быть больше 0!"}
                                << QStringList{"calc_n_periods=0", "calc_sigma1="};
    QTest::newRow("n1 = n2") << "N1"
                             << ""
                             << "16348"
                             << ""
                             << "50"
                             << "50"
                             << "1"
                             << "" << false << QStringList{"n2 должно быть больше n1!"}
                             << QStringList{"calc_n=16348"};
    QTest::newRow("one noise point left")
        << "N1"
        << ""
        << "16348"
        << ""
        << "0"
        << "98"
        << "1"
        << "" << false << QStringList{"Bad interval [n1,n2]!", "Неверная sigma1=-1"}
        << QStringList{"calc_sigma1=-1.00", "calc_snr="};
    QTest::newRow("one-point window through completion")
        << "N1"
        << ""
        << "16348"
        << ""
        << "-1"
        << "40"
        << "1"
        << "" << true << QStringList{} << QStringList{"calc_n1=40", "calc_n2=40"};
    QTest::newRow("empty k2") << "N1"
                              << ""
                              << "16348"
                              << ""
                              << "40"
                              << "60"
                              << ""
                              << "" << false << QStringList{"k1 и k2 должны быть больше нуля!"}
                              << QStringList{};
    QTest::newRow("no site") << ""
                             << ""
                             << "16348"
                             << ""
                             << "40"
                             << "60"
                             << "1"
                             << "" << false << QStringList{"Установите площадку в поле Plosh!"}
                             << QStringList{"calc_n="};
    QTest::newRow("N4 without declination")
        << "N4"
        << ""
        << "65536"
        << ""
        << "40"
        << "60"
        << "1"
        << "" << false
        << QStringList{"Не определена дельта! Введите её в форму, или в название директории пульсара!"}
        << QStringList{};
    QTest::newRow("N4 at the pole") << "N4"
                                    << ""
                                    << "65536"
                                    << ""
                                    << "40"
                                    << "60"
                                    << "1"
                                    << "90:00:00" << true
                                    << QStringList{"Плохой косинус дельта! " + QString::number(c90, 'f', 5)}
                                    << QStringList{"calc_n=65536", "calc_cos=", "calc_delta1="};
    QTest::newRow("N4 start declination")
        << "N4"
        << ""
        << "65536"
        << ""
        << "40"
        << "60"
        << "1"
        << "63:25:30" << true << QStringList{}
        << QStringList{"calc_n=" + QString::number(int(65536 / c63)),
                       "calc_cos=" + QString::number(c63, 'g', 6),
                       "calc_delta1=" + QString::number(Tools::dmsToHours("63:25:30"), 'f', 2)};
}

void TestProfileCalc::calculation() {
    QFETCH(QString, plosh);
    QFETCH(QString, tres);
    QFETCH(QString, n0);
    QFETCH(QString, period);
    QFETCH(QString, n1);
    QFETCH(QString, n2);
    QFETCH(QString, k2);
    QFETCH(QString, delta);
    QFETCH(bool, ok);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, fields);
    Ui::ProfileForm* ui = form->ui;
    ui->comboBoxPlosh->setCurrentText(plosh);
    if (!tres.isEmpty()) {
        ui->comboBoxTres->setEditable(true);
        ui->comboBoxTres->setCurrentText(tres);
    }
    if (!period.isEmpty()) {
        ui->comboBoxPeriod->setEditable(true);
        ui->comboBoxPeriod->setCurrentText(period);
    }
    ui->calc_n0->setText(n0);
    ui->calc_n->clear();
    ui->calc_cos->clear();
    ui->calc_delta1->clear();
    ui->calc_n1->setText(n1);
    ui->calc_n2->setText(n2);
    ui->calc_k2->setText(k2);
    ui->calc_delta->setText(delta);
    desktop->calls.clear();

    QCOMPARE(form->calculateFluxDensity(), ok);
    QStringList shown;
    for (const auto& c : desktop->boxes()) {
        QCOMPARE(c.title, QString("Error"));
        shown << c.text;
    }
    QCOMPARE(shown, boxes);
    for (const QString& f : fields) {
        const QString name = f.section('=', 0, 0);
        auto* edit = form->findChild<QLineEdit*>(name);
        QVERIFY2(edit, qPrintable(name));
        QCOMPARE(edit->text(), f.section('=', 1));
    }
}

void TestProfileCalc::fullRun() {
    Ui::ProfileForm* ui = form->ui;
    ui->calc_n1->setText("40");
    ui->calc_n2->setText("60");
    QVERIFY(form->calculateFluxDensity());
    QVERIFY(desktop->boxes().isEmpty());

    const QVector<double> p = form->profileGrafik->arrGrafikY[0];
    QVector<double> noise;
    double window = 0;
    for (int i = 0; i < p.size(); ++i) {
        if (i < 40 || i > 60) {
            noise << p[i];
        } else {
            window += p[i];
        }
    }
    double mean = 0;
    for (double v : noise) {
        mean += v;
    }
    mean /= noise.size();
    double ss = 0;
    for (double v : noise) {
        ss += (v - mean) * (v - mean);
    }
    const double sigma1 = std::sqrt(ss / (noise.size() - 1));
    const double h = ui->calc_H->text().toDouble();
    const int n = int(std::round(16348 * 0.0124928 / 0.5 - 0.5 + 1e-9)); // 408.47 -> 408
    const double snr = h / sigma1;
    const double ts = 270 + 300 * 3.33;
    const double dS = 0.28 * ts / 1000;
    const double sp = snr * dS / (std::sqrt(double(n)) * 0.85 * 1);
    const double sum = window / sigma1 * dS / std::sqrt(double(n));
    const double sint = sum / (100 * 0.85 * 1);

    QCOMPARE(ui->calc_n->text(), QString("16348"));
    QCOMPARE(ui->calc_n_periods->text(), QString("408"));
    QCOMPARE(n, 408);
    QCOMPARE(ui->calc_sigma1->text(), autoDecimals(sigma1));
    QCOMPARE(ui->calc_snr->text(), autoDecimals(snr));
    QCOMPARE(ui->calc_Ts->text(), QString("1269.0"));
    QCOMPARE(ui->calc_dS->text(), autoDecimals(dS));
    QCOMPARE(ui->calc_Sp->text(), autoDecimals(sp));
    QCOMPARE(ui->calc_sum->text(), autoDecimals(sum));
    QCOMPARE(ui->calc_Sint->text(), autoDecimals(sint));
}

void TestProfileCalc::report() {
    Ui::ProfileForm* ui = form->ui;
    ui->calc_n1->setText("40");
    ui->calc_n2->setText("60");
    ui->calc_T178->setText("301");
    QGuiApplication::clipboard()->clear();
    QVERIFY(form->calculateFluxDensityShow());
    QCOMPARE(desktop->boxes().size(), 1);
    const auto box = desktop->boxes()[0];
    QCOMPARE(box.title, QString("RESULT"));
    const QString clip = QGuiApplication::clipboard()->text();
    const QStringList lines = clip.split('\n');
    QCOMPARE(lines[0], QString("Pulsar:\t\tJ1234+5678"));
    QCOMPARE(lines[1], QString("Period:\t\t0.5 cек"));
    QCOMPARE(lines[5], "T111:\t" + QString("%1").arg(3.33 * 301) + " К");
    QCOMPARE(lines.last(), "Интегральная плотность потока:\t\tSint=" + ui->calc_Sint->text());
    QVERIFY(box.text.startsWith("=====================================\n  РЕЗУЛЬТАТ:\n"));
    QVERIFY(box.text.contains(clip + "\n-------------------------------------------------\n"));
    QVERIFY(box.text.contains("n0:\t\t" + ui->calc_n->text() + "\t(точек в исходном отрезке)\n"));
    QVERIFY(box.text.endsWith("w50:\t\t" + ui->calc_w50->text() + "\t(полуширина профиля)\n"));

    // A failed calculation neither shows the box nor touches the clipboard.
    QGuiApplication::clipboard()->setText("kept");
    ui->calc_k1->setText("0");
    desktop->calls.clear();
    QVERIFY(!form->calculateFluxDensityShow());
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
}

void TestProfileCalc::reportWithoutMainWindow() {
    form->mainWindow = nullptr;
    form->ui->calc_n1->setText("40");
    form->ui->calc_n2->setText("60");
    QGuiApplication::clipboard()->setText("kept");
    QVERIFY(form->calculateFluxDensityShow());
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("RESULT"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
}

void TestProfileCalc::windowSlots() {
    Ui::ProfileForm* ui = form->ui;
    ui->calc_n1->setText("25");
    form->changedCalcN1();
    QCOMPARE(ui->calc_period1->text(), QString("0.1")); // 0.125
    QCOMPARE(form->profileGrafik->markers, (QVector<int>{50, 25}));
    ui->calc_period2->setText("0.3");
    form->changedCalcPeriod2();
    QCOMPARE(ui->calc_n2->text(), QString("60"));
    QCOMPARE(form->profileGrafik->markers, (QVector<int>{50, 25, 60}));
    // No period: nothing at all happens.
    ui->comboBoxPeriod->setEditable(true);
    ui->comboBoxPeriod->setCurrentText("");
    ui->calc_n1->setText("30");
    const int before = plotCount();
    form->changedCalcN1();
    QCOMPARE(ui->calc_period1->text(), QString("0.1"));
    QCOMPARE(plotCount(), before);
    QVERIFY(desktop->boxes().isEmpty());
}

QTEST_MAIN(TestProfileCalc)
#include "tst_profilecalc.moc"
