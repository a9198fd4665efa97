// Slots whose grids of profiles and best-profile lists come with later work. Each does nothing; the
// drawing ones return false.
#include "profiles/profileform.h"

void ProfileForm::showBestProfilesAll() {}
void ProfileForm::showBestProfilesForDate() {}

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
void ProfileForm::changedFlagMaximums(int) {}
void ProfileForm::sortSnr() {}
void ProfileForm::scrollToBestGrafik() {}
void ProfileForm::drawAndScrollToBestGrafik() {}
