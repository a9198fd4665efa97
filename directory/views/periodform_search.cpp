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
    const double from = ui->periodFrom->text().toDouble();
    const double to = ui->periodTo->text().toDouble();
    const double step = ui->periodShag->text().toDouble();
    const double tolerance = ui->deltaTime->text().toDouble() * 1000;
    const double sought = ui->periodFind->text().toDouble();
    const double y = ui->yLine->text().toDouble();
    const double F = from * 1000;
    const double T = to * 1000;
    QVector<double> candidates;
    const QString refused = PeriodSearch::candidates(F, T, step * 1000, candidates);
    if (!refused.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"), refused);
        return false;
    }

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
    search.run(score, candidates, dTimes, tolerance, &trace, periods, scores);
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
    if (F <= sought * 1000 && sought * 1000 <= T) {
        grafik->markersX = {sought};
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
    const double F = ui->periodFrom->text().toDouble() * 1000;
    const double T = ui->periodTo->text().toDouble() * 1000;
    const double S = ui->periodShag->text().toDouble() * 1000;
    const double tolerance = ui->deltaTime->text().toDouble() * 1000;
    const double sought = ui->periodFind->text().toDouble();
    QVector<double> candidates;
    const QString refused = PeriodSearch::candidates(F, T, S, candidates);
    if (!refused.isEmpty()) {
        Desktop::instance()->warning(this, tr("Error"), refused);
        return false;
    }
    // Appended after what the last draw left: later lists include these candidates too.
    const QVector<PeriodSearch::PeriodCount> ranking =
        PeriodSearch::rank(candidates, dTimes, tolerance, &scores);
    for (const double p : candidates) {
        periods.append(p / 1000);
    }
    const QString text = PeriodSearch::rankingText(ranking, dTimes.size(), (T - F) / S, sought * 1000);
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
