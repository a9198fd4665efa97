#include "app/mainwindow.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "support/profilefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString d1 = QStringLiteral("2020.01.01");
const QString d2 = QStringLiteral("2020.01.02");
} // namespace

class TestProfileNav : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestEnv::isolate(); }
    void init();
    void cleanup();
    void dateArrows();
    void dispersionArrows();
    void periodArrows();
    void averagingLimit_data();
    void averagingLimit();
    void redrawWithoutView();
    void site();
    void dateFromStatistics();
    void save_data();
    void save();
    void saveCancelled();
    void changeSize();

private:
    MainWindow* window = nullptr;
    RecordingDesktop* desktop = nullptr;
    QTemporaryDir* dir = nullptr;
    ProfileForm* form = nullptr;
    int plotCount() const { return window->centralWidget()->findChildren<ProfileGrafik*>().size(); }
};

// Date 1: DM 10 with the periods 0.5 and 0.1 (the best profile), DM 20; date 2: DM 10.
void TestProfileNav::init() {
    desktop = new RecordingDesktop;
    window = new MainWindow;
    dir = new QTemporaryDir;
    const QString root = dir->path() + "/N1/J1234+5678";
    using ProfileFileWriter::fileName;
    using ProfileFileWriter::pulse;
    QVERIFY(ProfileFileWriter::write(root + "/a/" + fileName(d1, "10", "0.5", 1),
                                     {{"0.5", pulse(64, 20, 9)}, {"0.1", pulse(64, 30, 2)}}));
    QVERIFY(
        ProfileFileWriter::write(root + "/b/" + fileName(d1, "20", "0.5", 1), {{"0.5", pulse(64, 20, 3)}}));
    QVERIFY(
        ProfileFileWriter::write(root + "/c/" + fileName(d2, "10", "0.5", 1), {{"0.5", pulse(64, 20, 4)}}));
    form = new ProfileForm(root, "periods", window);
    QCOMPARE(form->dates, (QVector<QString>{d1, d2}));
    QCOMPARE(form->ui->comboBoxDate->currentText(), d1);
    QCOMPARE(form->ui->comboBoxPeriod->currentText(), QString("0.5"));
    desktop->calls.clear();
}

void TestProfileNav::cleanup() {
    delete window;
    delete desktop;
    delete dir;
}

void TestProfileNav::dateArrows() {
    Ui::ProfileForm* ui = form->ui;
    QVERIFY(form->drawGrafikOne());
    form->datePre(); // from the first to the last
    QCOMPARE(ui->comboBoxDate->currentText(), d2);
    QCOMPARE(form->dateDms, QVector<QString>{"10"});
    QCOMPARE(form->profileGrafik->date, d2);
    const int before = plotCount();
    form->dateNext(); // stays on the last, and redraws
    QCOMPARE(ui->comboBoxDate->currentText(), d2);
    QCOMPARE(plotCount(), before + 1);
    form->datePre();
    QCOMPARE(ui->comboBoxDate->currentText(), d1);
    // The DM list of the date, keeping the DM shown before.
    QCOMPARE(form->dateDms, (QVector<QString>{"10", "20"}));
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("10"));
    // A DM kept across dates is selected by index, so its arrows step from it.
    ui->comboBoxDispersion->setCurrentIndex(1);
    form->changedDate(d1);
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("20"));
    QCOMPARE(ui->comboBoxDispersion->currentIndex(), 1);
    QVERIFY(desktop->boxes().isEmpty());
}

void TestProfileNav::dispersionArrows() {
    Ui::ProfileForm* ui = form->ui;
    form->view = "multi";
    const int before = plotCount();
    form->dispNext();
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("20"));
    form->dispNext(); // from the last to the first
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("10"));
    QCOMPARE(plotCount(), before);
    QVERIFY(form->drawGrafikOne());
    form->dispPre(); // from the first to the last, and redraws the profile
    QCOMPARE(ui->comboBoxDispersion->currentText(), QString("20"));
    QCOMPARE(form->profileGrafik->caption2, QString("DM=20")); // the caption follows the DM shown
    QCOMPARE(plotCount(), before + 2);
}

void TestProfileNav::periodArrows() {
    Ui::ProfileForm* ui = form->ui;
    QCOMPARE(form->dmPeriods, (QVector<QString>{"0.1", "0.5"}));
    form->view = "multi";
    const int before = plotCount();
    form->periodNext(); // from the last to the first
    QCOMPARE(ui->comboBoxPeriod->currentText(), QString("0.1"));
    QCOMPARE(plotCount(), before); // "periods" keeps the grid
    QVERIFY(form->drawGrafikOne());
    form->periodNext(); // redraws the profile
    QCOMPARE(ui->comboBoxPeriod->currentText(), QString("0.5"));
    QCOMPARE(plotCount(), before + 2);
    form->periodPre();
    form->periodPre(); // from the first to the last
    QCOMPARE(ui->comboBoxPeriod->currentText(), QString("0.5"));
    // The list, not the combo box, bounds the steps.
    ui->comboBoxPeriod->addItem("9.9");
    form->periodNext();
    QCOMPARE(ui->comboBoxPeriod->currentIndex(), 0);
}

void TestProfileNav::averagingLimit_data() {
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("limit");
    QTest::newRow("0.5 s") << "0.5" << 4;
    QTest::newRow("0.1 s") << "0.1" << 2;
    QTest::newRow("0.05 s") << "0.05" << 1;
    QTest::newRow("0.03 s") << "0.03" << 0;
}

void TestProfileNav::averagingLimit() {
    QFETCH(QString, period);
    QFETCH(int, limit);
    form->ui->comboBoxPeriod->setEditable(true);
    form->ui->comboBoxPeriod->setCurrentText(period);
    form->ui->average->setValue(limit + 1);
    QCOMPARE(form->ui->average->value(), limit);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].title, QString("Error"));
    QCOMPARE(desktop->boxes()[0].text,
             QString::number(limit) + " - это максимальное усреднение для периода " + period);
    form->ui->average->setValue(limit);
    QCOMPARE(desktop->boxes().size(), 1);
}

void TestProfileNav::redrawWithoutView() {
    const int before = plotCount();
    form->view.clear(); // the form starts on its grid
    QVERIFY(!form->checkFormAndRedraw());
    QCOMPARE(plotCount(), before);
    form->view = "one";
    form->ui->comboBoxPeriod->clear();
    QVERIFY(!form->checkFormAndRedraw());
    QCOMPARE(plotCount(), before);
}

void TestProfileNav::site() {
    Ui::ProfileForm* ui = form->ui;
    ui->comboBoxPlosh->setCurrentText("N4");
    QCOMPARE(ui->comboBoxTres->currentText(), QString("0.003072"));
    ui->comboBoxPlosh->setCurrentText("N0");
    QCOMPARE(ui->comboBoxTres->currentIndex(), 1);
    form->changedPlosh("");
    QCOMPARE(ui->comboBoxTres->currentIndex(), 0);
    QCOMPARE(ui->pulsarName->text(), Tools::sourceNameFromPath(form->dirPath, "", true));
}

void TestProfileNav::dateFromStatistics() {
    form->showProfileDate("05.03.15", true);
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("Нет среднего профиля для даты 2015.03.05"));
    form->ui->comboBoxStatDisp->blockSignals(true);
    form->ui->comboBoxStatPeriod->blockSignals(true);
    form->ui->comboBoxStatDisp->addItem("20");
    form->ui->comboBoxStatPeriod->addItem("0.5");
    form->ui->comboBoxDate->setCurrentText(d2);
    form->showProfileDate("01.01.20", true);
    QCOMPARE(form->ui->comboBoxDate->currentText(), d1);
    QCOMPARE(form->ui->comboBoxDispersion->currentText(), QString("20"));
    QCOMPARE(form->view, QString("one"));
    QCOMPARE(form->profileGrafik->date, d1);
    QCOMPARE(desktop->boxes().size(), 1);
}

void TestProfileNav::save_data() {
    QTest::addColumn<QString>("answer"); // relative to the temporary directory
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("saved"); // "" when the save fails
    QTest::addColumn<QSize>("size");
    QTest::newRow("name without .png") << "a"
                                       << "500"
                                       << "500"
                                       << "a.png" << QSize(500, 500);
    QTest::newRow("upper-case ending") << "b.PNG"
                                       << "300"
                                       << "200"
                                       << "b.PNG.png" << QSize(300, 200);
    QTest::newRow("0 x 0 keeps the shown size") << "c.png"
                                                << "0"
                                                << "0"
                                                << "c.png" << QSize(640, 480);
    QTest::newRow("negative sizes keep the shown size") << "f.png"
                                                        << "-100000"
                                                        << "-100000"
                                                        << "f.png" << QSize(640, 480);
    QTest::newRow("unwritable directory") << "missing/d.png"
                                          << "500"
                                          << "500"
                                          << "" << QSize();
    QTest::newRow("too large to allocate") << "e.png"
                                           << "100000"
                                           << "100000"
                                           << "" << QSize();
}

void TestProfileNav::save() {
    QFETCH(QString, answer);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, saved);
    QFETCH(QSize, size);
    window->resize(1000, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(form->drawGrafikOne());
    QCoreApplication::processEvents();
    form->profileGrafik->resize(640, 480);
    form->ui->printWidth->setText(width);
    form->ui->printHeight->setText(height);
    Settings::getInstance()->setLastSavePath("/last");
    const QString out = dir->path() + "/" + answer;
    desktop->fileAnswers << out;
    form->saveImage();

    const auto dialog = desktop->callsOf("save");
    QCOMPARE(dialog.size(), 1);
    QCOMPARE(dialog[0].title, QString("Image save"));
    QCOMPARE(dialog[0].text, "/last/" + form->ui->pulsarName->text() + "_" + d1 + ".png");
    QCOMPARE(form->profileGrafik->size(), QSize(640, 480));
    const QString file = saved.isEmpty() ? out : dir->path() + "/" + saved;
    QCOMPARE(Settings::getInstance()->getLastSavePath(), QFileInfo(file).path());
    if (saved.isEmpty()) {
        QCOMPARE(desktop->boxes().size(), 1);
        QCOMPARE(desktop->boxes()[0].text, "Can't save image: " + out);
        return;
    }
    QVERIFY(desktop->boxes().isEmpty());
    QImage image(file);
    QCOMPARE(image.size(), size);
}

void TestProfileNav::saveCancelled() {
    Settings::getInstance()->setLastSavePath("/kept");
    desktop->fileAnswers << QString();
    form->saveImage();
    QCOMPARE(desktop->boxes().size(), 1);
    QCOMPARE(desktop->boxes()[0].text, QString("File name was not selected"));
    QCOMPARE(Settings::getInstance()->getLastSavePath(), QString("/kept"));
}

void TestProfileNav::changeSize() {
    window->resize(1000, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(form->drawGrafikOne());
    form->view = "multi";
    form->changeSize();
    form->view = "one";
    form->ui->printWidth->setText("0");
    form->changeSize();
    QStringList texts;
    for (const auto& c : desktop->boxes()) {
        texts << c.text;
    }
    QCOMPARE(texts, (QStringList{"Переведите график в режим одиночного графика",
                                 "Установите ненулевой размер окна"}));

    QTRY_VERIFY(form->profileGrafik->width() > 100);
    form->ui->printWidth->setText("560");
    form->ui->printHeight->setText("900");
    form->changeSize();
    QTRY_COMPARE(form->profileGrafik->size(), QSize(560, 900));
}

QTEST_MAIN(TestProfileNav)
#include "tst_profilenav.moc"
