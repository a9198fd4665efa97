// The one-profile view: the selected profile, smoothed and centred on request, with its captions,
// markers and the half-height fields of the flux-density calculator.
#include "core/desktop.h"
#include "core/profilegrafik.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "profiles/profileform.h"
#include "ui_profileform.h"

#include <climits>
#include <cmath>

namespace {
// A stored index as an int; values the int cannot hold (never met in real files) saturate.
int indexOf(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= double(INT_MAX)) {
        return INT_MAX;
    }
    if (v <= double(INT_MIN)) {
        return INT_MIN;
    }
    return int(v);
}
} // namespace

QVector<QString> ProfileForm::getTimeLabels(double period, int count) {
    QVector<QString> labels;
    if (count < 0) {
        return labels;
    }
    if (count == 0) {
        return {QString::number(0.0, 'f', 1)}; // one label, without the 0/0 of the spacing
    }
    labels.reserve(count + 1);
    const double step = period / count;
    for (int i = 0; i <= count; ++i) {
        labels.append(QString::number(i * step, 'f', 1));
    }
    return labels;
}

QVector<int> ProfileForm::getHalfHeightPoints(QVector<double> v, double level) {
    const int n = v.size();
    if (n < 2) {
        return {0, 0};
    }
    int first = -1;
    int i = 0;
    for (; i < n - 1; ++i) {
        if (v[i] >= level && v[i + 1] >= level) {
            first = i;
            break;
        }
    }
    if (first < 0) {
        return {0, 0};
    }
    for (i = first + 1; i < n - 1; ++i) {
        if (v[i] <= level && v[i + 1] <= level) {
            return {first, i};
        }
    }
    return {0, 0};
}

double ProfileForm::getTimeFromPoint(int index, int nPoints, double period) {
    if (nPoints <= 0) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Нет числа точек в профиле!"));
        return -1;
    }
    return double(index) * period / double(nPoints);
}

void ProfileForm::followSelectionInCaptions(const QString& dm, const QString& period) {
    if (dm != captionDm) {
        captionDm = dm;
        ui->printDispersion->setText(dm);
    }
    if (period != captionPeriod) {
        captionPeriod = period;
        ui->printPeriod->setText(period);
    }
}

bool ProfileForm::drawGrafikOne() {
    const QString date = ui->comboBoxDate->currentText();
    const QString dm = ui->comboBoxDispersion->currentText();
    const QString period = ui->comboBoxPeriod->currentText();
    const int a = ui->average->value();
    const int p2 = Tools::powerInt(2, a);
    const QString n1Text = ui->calc_n1->text();
    const QString n2Text = ui->calc_n2->text();
    const int n1 = n1Text.toInt();
    const int n2 = n2Text.toInt();

    auto fail = [this](const QString& text) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), text);
        return false;
    };
    if (date.isEmpty()) {
        return fail(QStringLiteral("Выберите дату!"));
    }
    if (dm.isEmpty()) {
        return fail(QStringLiteral("Выберите дисперсию!"));
    }
    if (period.isEmpty()) {
        return fail(QStringLiteral("Выберите период!"));
    }
    const QString key = QStringLiteral("%1_%2_%3").arg(date, dm, period);
    const auto found = profiles.constFind(key);
    if (found == profiles.cend()) {
        return fail(QStringLiteral("Нет данных в для key=") + key);
    }
    QVector<double> p = found.value();
    if (p.isEmpty()) {
        return fail(QStringLiteral("Пустой массив для key=") + key);
    }
    const QVector<double> stats = profileStats.value(key, QVector<double>{0, 0, 0});
    double m = stats.value(0);
    double snr = m;
    if (a >= 1) {
        p = Tools::smoothRepeated(p, a);
        m = Tools::maxValue(p);
        snr = Tools::power(1.4142135623730951, a) * m;
    }

    auto* plot = new ProfileGrafik(QStringLiteral("profile"), this);
    profileGrafik = plot;
    Settings::getInstance()->setGrafikOne(plot);
    plot->showStartMessage();
    workLayout = WorkArea::install({this, plot});
    bestRow = 0;
    bestCol = 0;

    const int n = p.size();
    plot->inGrid = false;
    plot->arrGrafikY = {maxToCenter ? Tools::centerMaximum(p) : p};
    plot->visible = {true};
    plot->colors = {QStringLiteral("blue")};
    plot->arrGrafikX.clear();
    plot->labelsBottom = getTimeLabels(period.toDouble(), 10);
    plot->labelsTop = {QStringLiteral("0"), QStringLiteral("0.25"), QStringLiteral("0.5"),
                       QStringLiteral("0.75"), QStringLiteral(" ")};
    plot->grafikMode = 1;
    plot->drawCircles = false;
    plot->hintShown = false;
    plot->nPoints = n;
    plot->fixedYRange = true;
    plot->yMax = stats.value(0);
    plot->yMin = stats.value(1);
    plot->caption8.clear();
    plot->caption1 = Tools::normalizeJName(ui->pulsarName->text());
    followSelectionInCaptions(dm, period);
    plot->caption2 = QStringLiteral("DM=%1").arg(ui->printDispersion->text());
    plot->caption3 = QStringLiteral("period=%1").arg(ui->printPeriod->text());
    plot->caption4.clear();
    plot->caption5.clear();
    plot->markers.clear();
    plot->maxValue = stats.value(0);
    plot->mainWindow = mainWindow;
    plot->date = date;

    const bool dispersions = dirMode == QLatin1String("dispersions");
    const QString maxCaption = QStringLiteral("max=%1").arg(QString::number(m, 'f', 1));
    const QString numCaption = QStringLiteral("num=%1").arg(stats.value(2));
    if (ui->groupBoxForPrint->isChecked()) {
        plot->forPrint = true;
        if (ui->forPrintShowMax->isChecked()) {
            plot->caption4 = maxCaption;
            if (dispersions) {
                plot->caption5 = numCaption;
            }
        }
    } else {
        plot->forPrint = false;
        if (ui->showMax->isChecked()) {
            plot->caption4 = maxCaption;
            if (dispersions) {
                plot->caption5 = numCaption;
            } else {
                plot->caption5 = QStringLiteral("snr=%1").arg(QString::number(snr, 'f', 1));
                plot->caption6 = a >= 1 ? QStringLiteral("average=%1 (2^%2=%3)").arg(a).arg(a).arg(p2)
                                        : QStringLiteral("average=0");
            }
        }
        plot->markers = {maxToCenter ? plot->nPoints / 2 : indexOf(stats.value(2))};
    }

    const QVector<double>& drawn = plot->arrGrafikY[0];
    const double h0 = Tools::maxValue(drawn);
    const double half = 0.5 * h0;
    ui->calc_H->setText(autoDecimals(h0));
    ui->calc_h2->setText(autoDecimals(half));
    ui->calc_np->setText(QString::number(n));
    const QVector<int> points = getHalfHeightPoints(drawn, half);
    const double pd = period.toDouble();
    const double t1 = getTimeFromPoint(points[0], n, pd);
    const double t2 = getTimeFromPoint(points[1], n, pd);
    ui->calc_x1->setText(autoDecimals(t1));
    ui->calc_x2->setText(autoDecimals(t2));
    ui->calc_w50->setText(autoDecimals(t2 - t1));

    if (ui->groupBoxCalculator->isChecked()) {
        if (!n1Text.isEmpty() && n1 >= 0 && n1 < n) {
            plot->markers.append(n1);
        }
        if (!n2Text.isEmpty() && n2 >= 0 && n2 < n) {
            plot->markers.append(n2);
        }
    }
    if (ui->calc_show_w50->isChecked()) {
        plot->arrGrafikY.append(Tools::filledVector(half, n));
        plot->visible.append(true);
        plot->colors.append(QStringLiteral("red"));
    }

    plot->redraw();
    view = QStringLiteral("one");
    ui->groupBoxCalculator->show();
    ui->widgetCalculator->setVisible(ui->groupBoxCalculator->isChecked());
    return true;
}
