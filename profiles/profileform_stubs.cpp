// Slots whose views, navigation, statistics, best-profile lists and calculator come with later work.
// Each does nothing; the drawing ones return false, so the start hint stays.
#include "profiles/profileform.h"

bool ProfileForm::readDirStatistic(QString) {
    return false;
}

void ProfileForm::statYearNext() {}
void ProfileForm::statYearPre() {}
void ProfileForm::statDispNext() {}
void ProfileForm::statDispPre() {}
void ProfileForm::statPeriodNext() {}
void ProfileForm::statPeriodPre() {}
void ProfileForm::radiusChanged(int) {}

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
void ProfileForm::groupBoxCalculatorClicked() {}

void ProfileForm::changedCalcN1() {}
void ProfileForm::changedCalcN2() {}
void ProfileForm::changedCalcPeriod1() {}
void ProfileForm::changedCalcPeriod2() {}
void ProfileForm::clickedCalcShowW50() {}
bool ProfileForm::calculateFluxDensity() {
    return false;
}
bool ProfileForm::calculateFluxDensityShow() {
    return false;
}
double ProfileForm::getSumSp(QVector<double>, int, int, double, double, int) {
    return 0;
}
double ProfileForm::getSigmaNoise(QVector<double>, int, int) {
    return 0;
}
