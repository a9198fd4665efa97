// The best-profile links of the profile form and the order of its date selector. A link's index points
// into the list it was made from; links of a former list go with the next rebuild.
#include "core/clicklable.h"
#include "core/formcolumn.h"
#include "core/tools.h"
#include "profiles/profileform.h"
#include "ui_profileform.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int linksShown = 5;
} // namespace

void ProfileForm::sortSnr() {
    ui->comboBoxDate->clear();
    for (const QString& d : ui->sortSnr->isChecked() ? datesByMax : dates) {
        ui->comboBoxDate->addItem(d);
    }
    if (ui->comboBoxDate->count() > 0) {
        ui->comboBoxDate->setCurrentIndex(0);
    }
}

void ProfileForm::changedFlagMaximums(int currentIndex) {
    if (currentIndex != 0) {
        showBestProfilesForDate(ui->comboBoxDate->currentText());
        bestForDate = true;
    } else {
        showBestProfilesAll();
        bestForDate = false;
    }
}

// A pressed link may be the one being removed: its press is still on the stack, so it goes later.
void ProfileForm::clearBestLinks() {
    while (QLayoutItem* item = ui->layoutMaximums->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
}

void ProfileForm::addBestLink(const QString& entry, int index, bool forDate) {
    const QStringList parts = entry.split(QLatin1Char('_'));
    if (parts.size() != 4) {
        return;
    }
    const QString text =
        QStringLiteral("%1   p=%2   disp=%3   %4\n")
            .arg(QString::number(parts[0].toInt() / 100.0, 'f', 2), parts[3], parts[2], parts[1]);
    auto* link = new ClickLable(QString(), this);
    // Period and DM texts come from file names and may be of any length.
    FormColumn::setWrappedText(link, text);
    link->setIndex(index);
    ui->layoutMaximums->addWidget(link);
    connect(link, &ClickLable::clicked, this,
            forDate ? &ProfileForm::clickedOnDateLink : &ProfileForm::clickedOnLink);
}

void ProfileForm::showBestProfilesAll() {
    clearBestLinks();
    if (bestList.isEmpty()) {
        ui->layoutMaximums->addWidget(new QLabel(QStringLiteral("Нет данных в выбранной директории"), this));
        return;
    }
    const int n = std::min(linksShown, int(bestList.size()));
    for (int i = 0; i < n; ++i) {
        addBestLink(bestList[i], i, false);
    }
}

void ProfileForm::showBestProfilesForDate() {
    showBestProfilesForDate(ui->comboBoxDate->currentText());
}

void ProfileForm::showBestProfilesForDate(QString date) {
    clearBestLinks();
    if (date.isEmpty()) {
        ui->layoutMaximums->addWidget(new QLabel(QStringLiteral("Выберите дату"), this));
        return;
    }
    const QStringList entries = bestByDate.value(date);
    if (entries.isEmpty()) {
        ui->layoutMaximums->addWidget(new QLabel(QStringLiteral("Нет данных для ") + date, this));
        return;
    }
    const int n = std::min(linksShown, int(entries.size()));
    for (int i = 0; i < n; ++i) {
        addBestLink(entries[i], i, true);
    }
}

void ProfileForm::clickedOnLink() {
    const auto* link = qobject_cast<ClickLable*>(sender());
    if (bestList.isEmpty() || !link) {
        return;
    }
    const int i = link->index();
    linkIndex = i;
    const QStringList parts = bestList.value(i).split(QLatin1Char('_'));
    if (parts.size() != 4) {
        return;
    }
    const QString date = parts[1];
    const QString dm = parts[2];
    const QString period = parts[3];
    changedDate(date);
    ui->comboBoxDate->setCurrentIndex(std::max(0, ui->comboBoxDate->findText(date)));
    changedDispersion(dm);
    ui->comboBoxDispersion->setCurrentIndex(Tools::indexOfString(dateDms, dm));
    ui->comboBoxPeriod->setCurrentIndex(Tools::indexOfString(dmPeriods, period));
    drawGrafikOne();
}

void ProfileForm::clickedOnDateLink() {
    const auto* link = qobject_cast<ClickLable*>(sender());
    if (bestList.isEmpty() || !link) {
        return;
    }
    const int i = link->index();
    linkIndex = i;
    const QStringList entries = bestByDate.value(ui->comboBoxDate->currentText());
    if (i < 0 || i >= entries.size()) {
        return;
    }
    const QStringList parts = entries[i].split(QLatin1Char('_'));
    if (parts.size() != 4) {
        return;
    }
    const QString dm = parts[2];
    const QString period = parts[3];
    changedDispersion(dm);
    ui->comboBoxDispersion->setCurrentIndex(Tools::indexOfString(dateDms, dm));
    ui->comboBoxPeriod->setCurrentIndex(Tools::indexOfString(dmPeriods, period));
    drawGrafikOne();
}
