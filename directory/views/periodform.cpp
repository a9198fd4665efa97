#include "directory/views/periodform.h"

#include "core/busyguard.h"
#include "core/desktop.h"
#include "core/formcolumn.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "directory/calc/pulsetimes.h"
#include "directory/views/fouriergrafik.h"
#include "directory/views/fouriergrafikinfo.h"
#include "ui_periodform.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

PeriodForm::PeriodForm(const QString& fileName, const QString& mode, QWidget* parent) : QWidget(parent) {
    ui = new Ui::PeriodForm;
    ui->setupUi(this);
    FormColumn::setElidedText(ui->fileName, Tools::lastPathPart(fileName));
    FormColumn::fit(this, nullptr);

    // Builds and registers the main window when there is none yet; its work area leads back to it.
    Settings::getInstance()->getMainWindow();
    mainWindow = WorkArea::widget() ? WorkArea::widget()->window() : nullptr;
    progressBar = Settings::getInstance()->getProgressBar();
    if (progressBar) {
        connect(this, &PeriodForm::progress, progressBar, &QProgressBar::setValue);
    }
    connect(&search, &PeriodSearch::progress, this, &PeriodForm::progress);

    // Read before the work area is touched: a file that cannot be read leaves the previous view.
    const bool read = mode == QLatin1String("points") ? readPnthrList(fileName) : readTimesFile(fileName);
    if (!read) {
        hide();
        return;
    }
    createDTimes0();
    createDTimes();

    grafik = new FourierGrafik(this);
    grafik->mainWindow = mainWindow;
    grafik->showStartHint();
    grafikInfo = new FourierGrafikInfo(this);
    grafikInfo->grafik = grafik;
    grafikInfo->createWidgets();
    layout = WorkArea::install({this, grafik, grafikInfo});

    connect(ui->showTimes, &QPushButton::clicked, this, &PeriodForm::showTimes);
    connect(ui->showDTimes, &QPushButton::clicked, this, &PeriodForm::showDTimes);
    connect(ui->drawPeriod, &QPushButton::clicked, this, &PeriodForm::drawPeriod);
    connect(ui->drawPeriodMnk, &QPushButton::clicked, this, &PeriodForm::drawPeriodMnk);
    connect(ui->drawPeriodMnkPre, &QPushButton::clicked, this, &PeriodForm::drawPeriodMnkPre);
    connect(ui->firstNumber, &QLineEdit::textChanged, this, qOverload<QString>(&PeriodForm::createDTimes));
    connect(ui->limit, &QLineEdit::textChanged, this, qOverload<QString>(&PeriodForm::createDTimes));
    connect(ui->periodFind, &QLineEdit::textChanged, this, &PeriodForm::periodFindChanged);
    connect(ui->yLine, &QLineEdit::textChanged, this, &PeriodForm::yLineChanged);
    valid = true;
}

PeriodForm::~PeriodForm() {
    qDebug() << "---------------------------------------- PeriodForm::~FfaForm";
    delete ui;
    qDebug() << "---------------------------------------- PeriodForm::~FfaForm - ok";
}

bool PeriodForm::readTimesFile(const QString& fileName) {
    return PulseTimes::readTimesFile(fileName, times, this);
}

bool PeriodForm::readPnthrList(const QString& fileName) {
    return PulseTimes::readPnthrList(fileName, times, this);
}

bool PeriodForm::createDTimes0() {
    qDebug() << "---------------------------- PeriodForm::createDTimes0()";
    qDebug() << "times.size()=" << times.size();
    if (times.size() < 2) {
        Desktop::instance()->warning(this, tr("Ошибка"),
                                     tr("В массиве times должно быть минимум два импульса!"));
        return false;
    }
    dTimes0 = PulseTimes::differences(times);
    qDebug() << "dTimes0.size()=" << dTimes0.size();
    return true;
}

bool PeriodForm::createDTimes(QString str) {
    qDebug() << "--------------- PeriodForm::createDTimes() str=" << str;
    return createDTimes();
}

bool PeriodForm::createDTimes() {
    qDebug() << "---------------------------- PeriodForm::createDTimes()";
    qDebug() << "dTimes0.size()=" << dTimes0.size();
    switch (PulseTimes::positiveDifferences(dTimes0, ui->firstNumber->text().toInt(),
                                            ui->limit->text().toInt(), dTimes)) {
    case PulseTimes::Cut::Ok:
        return true;
    case PulseTimes::Cut::NoDifferences:
        Desktop::instance()->warning(this, tr("Ошибка"), tr("В массиве dTimes0 нет элементов!"));
        return false;
    case PulseTimes::Cut::BadFirstNumber:
        Desktop::instance()->warning(this, tr("Ошибка"), tr("Неверное firstNumber"));
        return false;
    }
    return false;
}

bool PeriodForm::showTimes() {
    if (BusyGuard::busy()) {
        return false;
    }
    if (times.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"), tr("Нет данных, загрузите другой файл!"));
        return false;
    }
    if (dTimes0.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"),
                                     tr("Ошибка данных! Измените число first number или файл с данными."));
        return false;
    }
    Desktop::instance()->warning(this, tr("Information"), PulseTimes::timesTable(times, dTimes0));
    return true;
}

bool PeriodForm::showDTimes() {
    if (BusyGuard::busy()) {
        return false;
    }
    if (dTimes.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"),
                                     tr("Ошибка данных! Измените число first number или файл с данными."));
        return false;
    }
    Desktop::instance()->warning(this, tr("Information"), PulseTimes::differencesTable(dTimes));
    return true;
}

void PeriodForm::redraw() {
    if (!valid) {
        return;
    }
    auto* info = new FourierGrafikInfo(this);
    info->grafik = grafik;
    info->text = infoText;
    info->createWidgets();
    // The old panel leaves with the emptying of the work area.
    layout = WorkArea::install({this, grafik, info});
    grafikInfo = info;
}
