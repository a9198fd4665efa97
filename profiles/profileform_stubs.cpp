// Slots whose views, navigation, statistics, best-profile lists and calculator come with later work.
// Each does nothing; the drawing ones return false, so the start hint stays.
#include "profiles/profileform.h"

bool ProfileForm::readDirStatistic(QString) {
    return false;
}
void ProfileForm::showBestProfilesAll() {}
void ProfileForm::showBestProfilesForDate() {}

void ProfileForm::statYearNext() {}
void ProfileForm::statYearPre() {}
void ProfileForm::statDispNext() {}
void ProfileForm::statDispPre() {}
void ProfileForm::statPeriodNext() {}
void ProfileForm::statPeriodPre() {}
void ProfileForm::radiusChanged(int) {}

void ProfileForm::clickedOnLink() {}
void ProfileForm::clickedOnDateLink() {}

bool ProfileForm::drawGrafikDisp() {
    return false;
}
bool ProfileForm::drawGrafikMulti() {
    return false;
}
bool ProfileForm::drawGrafikMultiDispPeriods() {
    return false;
}
bool ProfileForm::drawGrafikMultiDispersions() {
    return false;
}
bool ProfileForm::redrawDataStat() {
    return false;
}
bool ProfileForm::redrawGrafikStat() {
    return false;
}
bool ProfileForm::drawGrafikStat() {
    return false;
}
bool ProfileForm::drawGrafikStatOne() {
    return false;
}
void ProfileForm::groupBoxStatisticClicked() {}
void ProfileForm::changedFlagMaximums(int) {}
void ProfileForm::sortSnr() {}
void ProfileForm::scrollToBestGrafik() {}
void ProfileForm::drawAndScrollToBestGrafik() {}
