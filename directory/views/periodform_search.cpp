#include "directory/views/periodform.h"

#include "core/busyguard.h"
#include "core/desktop.h"
#include "directory/views/fouriergrafik.h"
#include "ui_periodform.h"

#include <QDebug>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTextStream>

#include <cmath>

namespace {

const char* const traceName = "test1.txt";

} // namespace

bool PeriodForm::readSearchInputs(SearchInputs& in) {
    in.fromMs = ui->periodFrom->text().toDouble() * 1000;
    in.toMs = ui->periodTo->text().toDouble() * 1000;
    in.stepMs = ui->periodShag->text().toDouble() * 1000;
    in.toleranceMs = ui->deltaTime->text().toDouble() * 1000;
    in.sought = ui->periodFind->text().toDouble();
    const QString refused = PeriodSearch::candidates(in.fromMs, in.toMs, in.stepMs, in.candidates);
    if (!refused.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"), refused);
        return false;
    }
    return true;
}

bool PeriodForm::drawPeriod() {
    return draw(PeriodSearch::Score::Count, QStringLiteral("period"));
}

bool PeriodForm::drawPeriodMnk() {
    return draw(PeriodSearch::Score::SumMs, QStringLiteral("periodMnk"));
}

bool PeriodForm::drawPeriodMnkPre() {
    return draw(PeriodSearch::Score::SumPercent, QStringLiteral("periodMnkPre"));
}

bool PeriodForm::draw(PeriodSearch::Score score, const QString& kind) {
    if (!valid || BusyGuard::busy()) {
        return false;
    }
    if (dTimes.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"), tr("Ошибка! Нет промежутков времени"));
        return false;
    }
    SearchInputs in;
    if (!readSearchInputs(in)) {
        return false;
    }
    const double y = ui->yLine->text().toDouble();

    periodType = kind;
    if (progressBar) {
        progressBar->setValue(0);
        progressBar->show();
    }
    QFile file(QString::fromLatin1(traceName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug() << "ERROR! Can't open file " << traceName;
        if (progressBar) {
            progressBar->hide();
        }
        return false;
    }
    QTextStream trace(&file);
    trace.setCodec("UTF-8");
    if (score != PeriodSearch::Score::Count) {
        trace << PeriodSearch::sumTraceHeader(ui->periodFrom->text(), ui->periodTo->text(),
                                              ui->periodShag->text(), dTimes);
    }
    search.run(score, in.candidates, dTimes, in.toleranceMs, &trace, periods, scores);
    if (progressBar) {
        progressBar->hide();
    }
    trace.flush();
    file.close();

    grafik->hintShown = false;
    grafik->grafikMode = 4;
    grafik->arrGrafikX = periods;
    grafik->arrGrafikY = {scores};
    grafik->visible = {true};
    grafik->precisionY = 0;
    grafik->precisionX = 3;
    grafik->points = periods.size();
    if (in.fromMs <= in.sought * 1000 && in.sought * 1000 <= in.toMs) {
        grafik->markersX = {in.sought};
    }
    grafik->markersY = {y};
    grafik->updateRange();

    infoText = nearPeriodText(ui->periodFind->text(), 20) + resultsText(ui->yLine->text());
    redraw();
    return true;
}

bool PeriodForm::findPeriod() {
    if (!valid || BusyGuard::busy()) {
        return false;
    }
    SearchInputs in;
    if (!readSearchInputs(in)) {
        return false;
    }
    // Appended after what the last draw left: later lists include these candidates too.
    const QVector<PeriodSearch::PeriodCount> ranking =
        PeriodSearch::rank(in.candidates, dTimes, in.toleranceMs, &scores);
    for (const double p : in.candidates) {
        periods.append(p / 1000);
    }
    const QString text = PeriodSearch::rankingText(ranking, dTimes.size(), (in.toMs - in.fromMs) / in.stepMs,
                                                   in.sought * 1000);
    Desktop::instance()->warning(this, QString(), text);
    return true;
}

void PeriodForm::periodFindChanged(QString periodFind) {
    if (!valid || grafik->arrGrafikX.isEmpty()) {
        return;
    }
    const double from = ui->periodFrom->text().toDouble();
    const double to = ui->periodTo->text().toDouble();
    const double f = periodFind.toDouble();
    infoText.clear();
    if (from <= f && f <= to) {
        grafik->markersX = {f};
        infoText = nearPeriodText(periodFind, 20) + resultsText(ui->yLine->text());
    } else {
        grafik->markersX.clear();
    }
    grafik->updateRange();
    redraw();
}

void PeriodForm::yLineChanged(QString yLine) {
    if (!valid) {
        return;
    }
    grafik->markersY = {yLine.toDouble()};
    infoText = nearPeriodText(ui->periodFind->text(), 20) + resultsText(yLine);
    grafik->updateRange();
    redraw();
}

QString PeriodForm::resultsText(const QString& value) const {
    return periodType == QLatin1String("period") ? resultsOverYText(value, 20) : resultsUnderYText(value, 20);
}

QString PeriodForm::nearPeriodText(const QString& value, int limit) const {
    return PeriodSearch::nearPeriodText(periods, scores, ui->periodFrom->text().toDouble(),
                                        ui->periodTo->text().toDouble(), ui->periodShag->text().toDouble(),
                                        value, limit);
}

QString PeriodForm::resultsUnderYText(const QString& value, int limit) const {
    return PeriodSearch::resultsUnderYText(periods, scores, value, limit);
}

QString PeriodForm::resultsOverYText(const QString& value, int limit) const {
    return PeriodSearch::resultsOverYText(periods, scores, value, limit);
}

double PeriodForm::fractionalGcd(qint64 time1, qint64 time2) {
    if (time1 == time2) {
        return double(time2);
    }
    if (time1 == 0) {
        return 0;
    }
    if (time2 == 0) {
        qDebug() << "Error! time1=" << time1 << " time2=" << time2;
        return -1;
    }
    const qint64 larger = std::max(time1, time2);
    const qint64 smaller = std::min(time1, time2);
    double x = double(larger);
    double r = double(larger % smaller);
    // The fractional parts need not reach the bound; a few hundred rounds are far beyond any real pair.
    for (int round = 0; r > 0.0001 && round < 1000; ++round) {
        const double q = x / r;
        x = r;
        r = q - std::floor(q);
    }
    return r;
}
