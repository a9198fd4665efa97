// The flux-density calculator: the pulse window kept in points and in times, the noise and the sum of
// the profile drawn by the one-profile view, and the report. Every value lives in the group's fields.
#include "core/desktop.h"
#include "core/profilegrafik.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "ui_profileform.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cmath>

QString ProfileForm::autoDecimals(double v) {
    return QString::number(v, 'f', Tools::decimalsFor(v));
}

int ProfileForm::getPointFromTime(double time, int nPoints, double period) {
    if (period < 1e-4) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Не выбран период!"));
        return -1;
    }
    return Tools::roundHalfDown(nPoints * time / period);
}

// The conversions need a period and a profile; without them the window fields stay as typed.
bool ProfileForm::calcWindowReady(int& np, double& period) const {
    np = ui->calc_np->text().toInt();
    period = ui->comboBoxPeriod->currentText().toDouble();
    return period >= 1e-4 && np >= 1;
}

void ProfileForm::pointToTime(const QLineEdit* point, QLineEdit* time) {
    int np = 0;
    double period = 0;
    if (!calcWindowReady(np, period)) {
        return;
    }
    const int n = point->text().toInt();
    if (n < 0) {
        return;
    }
    time->setText(QString::number(getTimeFromPoint(n, np, period), 'f', 1));
    drawGrafikOne();
}

void ProfileForm::timeToPoint(const QLineEdit* time, QLineEdit* point) {
    int np = 0;
    double period = 0;
    if (!calcWindowReady(np, period)) {
        return;
    }
    const double t = time->text().toDouble();
    if (t < 1e-4) {
        return;
    }
    point->setText(QString::number(getPointFromTime(t, np, period)));
    drawGrafikOne();
}

void ProfileForm::changedCalcN1() {
    pointToTime(ui->calc_n1, ui->calc_period1);
}

void ProfileForm::changedCalcN2() {
    pointToTime(ui->calc_n2, ui->calc_period2);
}

void ProfileForm::changedCalcPeriod1() {
    timeToPoint(ui->calc_period1, ui->calc_n1);
}

void ProfileForm::changedCalcPeriod2() {
    timeToPoint(ui->calc_period2, ui->calc_n2);
}

void ProfileForm::clickedCalcShowW50() {
    changedCalcPeriod1();
}

void ProfileForm::groupBoxCalculatorClicked() {
    ui->widgetCalculator->setVisible(ui->groupBoxCalculator->isChecked());
    drawGrafikOne();
}

QString ProfileForm::windowError(int n1, int n2, int size) {
    if (n1 < 0 || n1 >= size) {
        return QStringLiteral("Bad n1!");
    }
    if (n2 >= size || n2 < 0) {
        return QStringLiteral("Bad n2!");
    }
    return QString();
}

double ProfileForm::refusedMeasure(const QString& text) {
    Desktop::instance()->warning(this, QStringLiteral("Error"), text);
    return -1.0;
}

double ProfileForm::getSigmaNoise(QVector<double> arr, int n1, int n2) {
    const int size = arr.size();
    const QString bad = windowError(n1, n2, size);
    if (!bad.isEmpty()) {
        return refusedMeasure(bad);
    }
    if (n1 > n2) {
        return refusedMeasure(QStringLiteral("Error: n1 <= n2!"));
    }
    QVector<double> noise;
    noise.reserve(size - (n2 - n1 + 1));
    for (int i = 0; i < size; ++i) {
        if (i < n1 || i > n2) {
            noise.append(arr[i]);
        }
    }
    if (noise.size() < 2) {
        return refusedMeasure(QStringLiteral("Bad interval [n1,n2]!"));
    }
    return Tools::stdDev(noise);
}

double ProfileForm::getSumSp(QVector<double> arr, int n1, int n2, double sigma, double dS, int n_periods) {
    const QString bad = windowError(n1, n2, arr.size());
    if (!bad.isEmpty()) {
        return refusedMeasure(bad);
    }
    if (n_periods <= 0) {
        return refusedMeasure(QStringLiteral("Bad n_periods!"));
    }
    double s = 0;
    for (int i = n1; i <= n2; ++i) {
        s += arr[i];
    }
    return s / sigma * dS / std::sqrt(double(n_periods));
}

bool ProfileForm::applyDeclination(const QString& delta, int n0, int& n) {
    const double c = Tools::cosOfDms(delta);
    // A cosine so small that n leaves the int range is as unusable as one below the limit.
    if (!Tools::pointsOverCos(n0, c, n)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Плохой косинус дельта! ") + QString::number(c, 'f', 5));
        return false;
    }
    ui->calc_delta1->setText(QString::number(Tools::dmsToHours(delta), 'f', 2));
    ui->calc_cos->setText(QString::number(c, 'g', 6));
    return true;
}

bool ProfileForm::calculateFluxDensity() {
    auto fail = [this](const QString& text) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), text);
        return false;
    };
    const double tres = ui->comboBoxTres->currentText().toDouble();
    const QString plosh = ui->comboBoxPlosh->currentText();
    if (plosh.isEmpty()) {
        return fail(QStringLiteral("Установите площадку в поле Plosh!"));
    }
    if (plosh != QLatin1String("N1") && plosh != QLatin1String("N2") && plosh != QLatin1String("N0") &&
        plosh != QLatin1String("N4")) {
        return fail(QStringLiteral("Неверная площадка! Должно быть N0, N1, N2, или N4"));
    }
    int n1 = ui->calc_n1->text().toInt();
    int n2 = ui->calc_n2->text().toInt();
    int n0 = ui->calc_n0->text().toInt();

    if (plosh == QLatin1String("N4")) {
        const QString delta = ui->calc_delta->text();
        if (delta.isEmpty()) {
            return fail(QStringLiteral(
                "Не определена дельта! Введите её в форму, или в название директории пульсара!"));
        }
        applyDeclination(delta, n0, n0); // a bad cosine goes on with n0 as typed
    }
    const int n = n0;
    ui->calc_n->setText(QString::number(n));

    const double period = ui->comboBoxPeriod->currentText().toDouble();
    const double height = ui->calc_H->text().toDouble();
    const int np = ui->calc_np->text().toInt();
    const double sigma = ui->calc_sigma->text().toDouble();
    const double t178 = ui->calc_T178->text().toDouble();
    const double tr = ui->calc_Tr->text().toDouble();
    const double k1 = ui->calc_k1->text().toDouble();
    const double k2 = ui->calc_k2->text().toDouble();
    if (period < 1e-5) {
        return fail(QStringLiteral("period должен быть больше нуля!"));
    }
    if (k1 < 1e-5 || k2 < 1e-5) {
        return fail(QStringLiteral("k1 и k2 должны быть больше нуля!"));
    }
    if (n1 >= n2) {
        return fail(QStringLiteral("n2 должно быть больше n1!"));
    }

    // An unset window is completed around the middle; each completion redraws its marker at once.
    if (n1 < 0) {
        n1 = np / 2 - 10;
        ui->calc_n1->setText(QString::number(n1));
        ui->calc_period1->setText(QString::number(getTimeFromPoint(n1, np, period), 'f', 1));
        drawGrafikOne();
    }
    if (n2 < 1 || n2 >= np) {
        n2 = np / 2 + 10;
        ui->calc_n2->setText(QString::number(n2));
        ui->calc_period2->setText(QString::number(getTimeFromPoint(n2, np, period), 'f', 1));
        drawGrafikOne();
    }

    const int periods = Tools::roundHalfDown(n * tres / period);
    ui->calc_n_periods->setText(QString::number(periods));
    if (periods <= 0) {
        return fail(QStringLiteral("n_periods должно быть больше 0!"));
    }

    const QVector<double> profile = profileGrafik && !profileGrafik->arrGrafikY.isEmpty()
                                        ? profileGrafik->arrGrafikY[0]
                                        : QVector<double>();
    const double sigma1 = getSigmaNoise(profile, n1, n2);
    ui->calc_sigma1->setText(autoDecimals(sigma1));
    if (sigma1 < 1e-6) {
        return fail(QStringLiteral("Неверная sigma1=%1").arg(sigma1));
    }
    const double snr = height / sigma1;
    ui->calc_snr->setText(autoDecimals(snr));
    const double ts = tr + t178 * 3.33;
    ui->calc_Ts->setText(autoDecimals(ts));
    const double dS = sigma * ts / 1000;
    ui->calc_dS->setText(autoDecimals(dS));
    const double sp = snr * dS / (std::sqrt(double(periods)) * k1 * k2);
    ui->calc_Sp->setText(autoDecimals(sp));
    const double sum = getSumSp(profile, n1, n2, sigma1, dS, periods);
    ui->calc_sum->setText(autoDecimals(sum));
    const double sint = sum / (np * k1 * k2);
    ui->calc_Sint->setText(autoDecimals(sint));
    return true;
}

bool ProfileForm::calculateFluxDensityShow() {
    if (!calculateFluxDensity()) {
        return false;
    }
    const QString report =
        QStringLiteral(
            "Pulsar:\t\t%1\nPeriod:\t\t%2\nDispersion:\t%3\n\nT178:\t%4 К\nT111:\t%5 К\nTr:\t%6 К\n"
            "Tsys:\t%7 К\n\nСШ в пике:  snr=H/sigma1=%8/%9=%10\n"
            "Чувствительность в направлении пульсара:\tdS=%11\n"
            "Пиковая плотность потока:\t\t\tSp=%12\nИнтегральная плотность потока:\t\tSint=%13")
            .arg(ui->pulsarName->text().left(10))
            .arg(ui->comboBoxPeriod->currentText() + QStringLiteral(" cек"))
            .arg(ui->comboBoxDispersion->currentText())
            .arg(ui->calc_T178->text())
            .arg(3.33 * ui->calc_T178->text().toDouble())
            .arg(ui->calc_Tr->text())
            .arg(ui->calc_Ts->text())
            .arg(ui->calc_H->text())
            .arg(ui->calc_sigma1->text())
            .arg(ui->calc_snr->text())
            .arg(ui->calc_dS->text())
            .arg(ui->calc_Sp->text())
            .arg(ui->calc_Sint->text());
    if (mainWindow) {
        QGuiApplication::clipboard()->setText(report, QClipboard::Clipboard); // the main window's clipboard
    }

    const QString signs = QStringLiteral("=====================================\n");
    QString text = signs + QStringLiteral("  РЕЗУЛЬТАТ:\n") + signs + report +
                   QStringLiteral("\n-------------------------------------------------\n") +
                   QStringLiteral("(Результат скопирован в буфер)\n\n") + signs +
                   QStringLiteral("  Другие значения:\n") + signs +
                   QStringLiteral("Площадка:\t%1\ntres:\t\t%2 (разрешение, сек)\n")
                       .arg(ui->comboBoxPlosh->currentText(), ui->comboBoxTres->currentText());
    if (ui->comboBoxPlosh->currentText() == QLatin1String("N4")) {
        text += QStringLiteral("delta:\t\t%1 = %2\ncos(delta):\t%3\nn0:\t\t%4\t(точек в исходном отрезке)\n"
                               "n:\t\t%5\t(с поправкой на cos)\n")
                    .arg(ui->calc_delta->text(), ui->calc_delta1->text(), ui->calc_cos->text(),
                         ui->calc_n0->text(), ui->calc_n->text());
    } else {
        text += QStringLiteral("n0:\t\t%1\t(точек в исходном отрезке)\n").arg(ui->calc_n->text());
    }
    text += QStringLiteral("np:\t\t%1\t(точек в среднем профиле)\nn_periods:\t%2\t(сложено периодов)\n"
                           "sigma:\t\t%3\t(флуктуац. чувствительность)\nsigma1:\t\t%4\t(сигма шумов)\n"
                           "k1:\t\t%5\t(поправка на огиб. лучей)\nk2:\t\t%6\t(поправка не попадания в луч)\n"
                           "H:\t\t%7\t(высота среднего профиля)\nw50:\t\t%8\t(полуширина профиля)\n")
                .arg(ui->calc_np->text(), ui->calc_n_periods->text(), ui->calc_sigma->text(),
                     ui->calc_sigma1->text(), ui->calc_k1->text(), ui->calc_k2->text(), ui->calc_H->text(),
                     ui->calc_w50->text());
    Desktop::instance()->warning(this, QStringLiteral("RESULT"), text);
    return true;
}
