// Day-by-day statistics: the statistics files below the directory, the day series of one year or of
// all years, and the statistics graph with its side panel.
#include "core/desktop.h"
#include "core/dirscan.h"
#include "core/profilegrafik.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "profiles/profileform.h"
#include "profiles/profilegrafikinfo.h"
#include "profiles/statisticsfile.h"
#include "ui_profileform.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QRegExp>

namespace {
QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
} // namespace

void ProfileForm::appendOnce(QVector<QString>& list, const QString& s) {
    // A scan meets the files of one date or DM one after another: the last entry answers most calls.
    if ((list.isEmpty() || list.last() != s) && !list.contains(s)) {
        list.append(s);
    }
}

bool ProfileForm::readDirStatistic(QString dir) {
    if (!QDir().exists(dir)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), dir + QStringLiteral(" does not exist!"));
        return false;
    }
    statYears.clear();
    statDms.clear();
    statPeriods.clear();
    statTable.clear();

    QRegExp name(QStringLiteral("sigma_dm(\\d*)_p([\\d.]*)_(20\\d\\d).txt"));
    // The plain test first, before the listing is sorted: a tree of profiles holds tens of thousands of
    // other text files.
    const QStringList paths = DirScan::files(dir, {QStringLiteral("*.txt")}, [](const QString& path) {
        return path.contains(QLatin1String("sigma_dm"));
    });
    for (const QString& path : paths) {
        if (name.indexIn(path) < 0) {
            continue;
        }
        const QString dm = name.cap(1);
        const QString period = name.cap(2);
        const QString year = name.cap(3);
        appendOnce(statDms, dm);
        appendOnce(statPeriods, period);
        appendOnce(statYears, year);
        QHash<QString, StatisticsRow> rows;
        if (!StatisticsFile::read(path, rows)) {
            Desktop::instance()->warning(this, QStringLiteral("Error"),
                                         QStringLiteral("Can't open file=") + path);
            return false;
        }
        statTable.insert(QStringLiteral("%1_%2_%3").arg(year, dm, period), rows);
    }
    if (statPeriods.isEmpty()) {
        return false;
    }
    if (statYears.size() >= 2) {
        statYears.append(QStringLiteral("all"));
    }
    return true;
}

void ProfileForm::appendStatYear(const QString& year, bool inAll, bool lastYear, const QString& nextYear) {
    const QString key =
        QStringLiteral("%1_%2_%3")
            .arg(year, ui->comboBoxStatDisp->currentText(), ui->comboBoxStatPeriod->currentText());
    // A lookup only: a year without a file must not leave an empty entry behind.
    const auto found = statTable.constFind(key);
    const QHash<QString, StatisticsRow>* rows = found == statTable.cend() ? nullptr : &found.value();
    const double limit = inAll ? 1000 : 10000;
    const int y = year.toInt();
    for (int m = year == QLatin1String("2014") ? 8 : 1; m <= 12; ++m) {
        const int days = QDate(y, m, 1).daysInMonth();
        const QString mm = twoDigits(m);
        for (int d = 1; d <= days; ++d) {
            const QString dd = twoDigits(d);
            const QString label = QStringLiteral("%1.%2.%3").arg(dd, mm, year);
            double sigma = 0;
            double snr = 0;
            double signal = 0;
            if (rows) {
                const auto row = rows->constFind(QStringLiteral("%1.%2.%3").arg(year, mm, dd));
                if (row != rows->cend() && row->sigma >= 0 && row->sigma <= limit && row->snr >= -limit &&
                    row->snr <= limit && row->signal >= -limit && row->signal <= limit) {
                    sigma = row->sigma;
                    snr = row->snr;
                    signal = row->signal;
                }
            }
            statSigma.append(sigma);
            statSnr.append(snr);
            statSignal.append(signal);
            statLabelsX.append(label);

            QString tick;
            bool hasTick = false;
            if (d == 1) {
                hasTick = true;
                if (inAll) {
                    tick = m == 1 ? label.right(4) : QString();
                } else {
                    tick = m == 1 ? label : label.mid(3, 2);
                }
            } else if (m == 12 && d == 31 && (!inAll || lastYear)) {
                hasTick = true;
                tick = inAll ? nextYear : label;
            }
            if (hasTick) {
                statTicksX.append({label, tick});
                statMarkerLabels.append(label);
            }
        }
    }
}

bool ProfileForm::redrawDataStat() {
    const QString year = ui->comboBoxStatYear->currentText();
    const QString dm = ui->comboBoxStatDisp->currentText();
    const QString period = ui->comboBoxStatPeriod->currentText();
    if (period.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Нет периода для графика статистики!"));
        return false;
    }
    if (dm.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Нет дисперсии для графика статистики!"));
        return false;
    }
    const bool all = year == QLatin1String("all");
    if (!all) {
        const QString key = QStringLiteral("%1_%2_%3").arg(year, dm, period);
        if (!statTable.contains(key)) {
            Desktop::instance()->warning(this, QStringLiteral("Error"),
                                         QStringLiteral("Нет данных в массиве для ") + key);
            return false;
        }
    }
    statSigma.clear();
    statSnr.clear();
    statSignal.clear();
    statLabelsX.clear();
    statTicksX.clear();
    statMarkerLabels.clear();
    if (!all) {
        appendStatYear(year, false, false, QString());
        return true;
    }
    if (statYears.size() < 2) {
        return true;
    }
    // The entry before the final "all" (a reading that stopped early added no "all").
    const int last = statYears.size() - (statYears.last() == QLatin1String("all") ? 2 : 1);
    const QString nextYear = QString::number(statYears[last].toInt() + 1);
    for (int i = 0; i <= last; ++i) {
        appendStatYear(statYears[i], true, i == last, nextYear);
    }
    return true;
}

bool ProfileForm::redrawGrafikStat() {
    if (!redrawDataStat()) {
        qDebug() << "ERROR! redrawDataStat()";
        return false;
    }
    return drawGrafikStat();
}

bool ProfileForm::drawGrafikStat() {
    ui->groupBoxCalculator->hide();
    if (!ui->drawMulti->isChecked()) {
        drawGrafikStatOne();
    }
    return true;
}

bool ProfileForm::drawGrafikStatOne() {
    const QVector<QString> names{QStringLiteral("Sigma"), QStringLiteral("S/N"), QStringLiteral("Signal")};
    const QVector<QString> colors{QStringLiteral("#0000FF"), QStringLiteral("#009900"),
                                  QStringLiteral("#FF0000")};
    QVector<bool> visible{false, false, false};
    QString title;
    auto addTitle = [&title](const QString& part) {
        if (!title.isEmpty()) {
            title += QStringLiteral(" - ");
        }
        title += part;
    };
    if (ui->showSigma->isChecked()) {
        visible[0] = true;
        title = QStringLiteral("Sigma");
    }
    if (ui->showSnr->isChecked()) {
        visible[1] = true;
        addTitle(QStringLiteral("SNR"));
    }
    if (ui->showVal->isChecked()) {
        visible[2] = true;
        addTitle(QStringLiteral("Signal"));
    }
    if (!visible[0] && !visible[1] && !visible[2]) {
        Desktop::instance()->warning(
            this, QStringLiteral("Error"),
            QStringLiteral("Отметьте график, для которого нужно показать статистику!"));
        return false;
    }

    auto* plot = new ProfileGrafik(QStringLiteral("statistics"), this);
    profileGrafik = plot;
    plot->arrGrafikY = {statSigma, statSnr, statSignal};
    plot->colors = colors;
    plot->labelsX = statLabelsX;
    plot->ticksX = statTicksX;
    plot->markerLabels = statMarkerLabels;
    plot->markers.clear();
    plot->inGrid = false;
    plot->grafikMode = 1;
    plot->nPoints = statLabelsX.size();
    plot->visible = visible;
    plot->forPrint = ui->groupBoxForPrint->isChecked();
    plot->caption8 = plot->forPrint ? QString() : title;
    plot->drawCircles = ui->drawCircle->isChecked();
    plot->radius = ui->radius->text().toInt();
    plot->precisionY = 0;
    plot->fixedYRange = false;
    plot->hintShown = false;
    plot->caption1 = Tools::normalizeJName(ui->pulsarName->text());
    plot->caption2 = QStringLiteral("DM=%1").arg(ui->printDispersion->text());
    plot->caption3 = QStringLiteral("period=%1").arg(ui->printPeriod->text());
    plot->caption4.clear();
    plot->caption5.clear();
    plot->mainWindow = mainWindow;

    auto* info = new ProfileGrafikInfo(this);
    info->grafik = plot;
    info->names = names;
    info->colors = colors;
    info->visible = visible;
    info->grafikType = QStringLiteral("statistics");
    info->createLayout();

    workLayout = WorkArea::install({this, plot, info});
    plot->redraw();
    view = QStringLiteral("statistics");
    connect(plot, &ProfileGrafik::clickedStatisticDate, this, &ProfileForm::showProfileDate);
    return true;
}

void ProfileForm::stepStatSelector(QComboBox* box, int size, bool forward) {
    if (size <= 0) {
        return;
    }
    box->setCurrentIndex(Tools::stepIndex(box->currentIndex(), size, forward, true));
    redrawDataStat();
    drawGrafikStat();
}

void ProfileForm::statYearNext() {
    stepStatSelector(ui->comboBoxStatYear, statYears.size(), true);
}

void ProfileForm::statYearPre() {
    stepStatSelector(ui->comboBoxStatYear, statYears.size(), false);
}

void ProfileForm::statDispNext() {
    stepStatSelector(ui->comboBoxStatDisp, statDms.size(), true);
}

void ProfileForm::statDispPre() {
    stepStatSelector(ui->comboBoxStatDisp, statDms.size(), false);
}

void ProfileForm::statPeriodNext() {
    stepStatSelector(ui->comboBoxStatPeriod, statPeriods.size(), true);
}

void ProfileForm::statPeriodPre() {
    stepStatSelector(ui->comboBoxStatPeriod, statPeriods.size(), false);
}

void ProfileForm::groupBoxStatisticClicked() {
    ui->widgetStatistic->setVisible(ui->groupBoxStatistic->isChecked());
}

void ProfileForm::radiusChanged(int) {
    if (ui->drawCircle->isChecked()) {
        drawGrafikStat();
    }
}
