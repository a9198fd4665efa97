#include "core/settings.h"

#include "app/mainwindow.h"
#include "core/tools.h"

#include <QProgressBar>

#include <cstdio>

Settings::Settings() : QObject(nullptr) {}

Settings* Settings::getInstance() {
    // Never destroyed: forms and the window may still refer to it while the process ends.
    static Settings* instance = new Settings();
    return instance;
}

void Settings::setMainWindow(MainWindow* window) {
    mainWindow = window;
}

MainWindow* Settings::getMainWindow() {
    if (!mainWindow) {
        // The constructor registers itself, its widget set and its progress bar here.
        mainWindow = new MainWindow(nullptr);
    }
    return mainWindow;
}

MainWindow* Settings::registeredMainWindow() const {
    return mainWindow;
}

void Settings::setMainWindowUi(Ui::MainWindow& ui) {
    mainWindowUi = ui;
}
Ui::MainWindow Settings::getMainWindowUi() const {
    return mainWindowUi;
}
void Settings::setProgressBar(QProgressBar* bar) {
    progressBar = bar;
}
QProgressBar* Settings::getProgressBar() const {
    return progressBar;
}

void Settings::setData(Data& record) {
    data = record;
    dataStamp = FileStamp();
}
Data Settings::getData() const {
    return data;
}
void Settings::setDataStamp(const FileStamp& stamp) {
    dataStamp = stamp;
}
FileStamp Settings::getDataStamp() const {
    return dataStamp;
}

void Settings::setProfileForm(ProfileForm* form) {
    profileForm = form;
}
ProfileForm* Settings::getProfileForm() const {
    return profileForm;
}
void Settings::setGrafikOne(QWidget* w) {
    grafikOne = w;
}
QWidget* Settings::getGrafikOne() const {
    return grafikOne;
}
void Settings::setGrafikMulti(QWidget* w) {
    grafikMulti = w;
}
QWidget* Settings::getGrafikMulti() const {
    return grafikMulti;
}
void Settings::setSearchGrafikOne(QWidget* w) {
    searchGrafikOne = w;
}
QWidget* Settings::getSearchGrafikOne() const {
    return searchGrafikOne;
}
void Settings::setSearchGrafikMulti(QWidget* w) {
    searchGrafikMulti = w;
}
QWidget* Settings::getSearchGrafikMulti() const {
    return searchGrafikMulti;
}

void Settings::setFourierModule(int v) {
    fourierModule = v;
}
int Settings::getFourierModule() const {
    return fourierModule;
}
void Settings::setFourierRay(int v) {
    fourierRay = v;
}
int Settings::getFourierRay() const {
    return fourierRay;
}
void Settings::setAverageCount(int v) {
    averageCount = v;
}
int Settings::getAverageCount() const {
    return averageCount;
}
void Settings::setDispersion(int v) {
    dispersion = v;
}
int Settings::getDispersion() const {
    return dispersion;
}
void Settings::setShowDispersion(const QString& v) {
    showDispersion = v;
}
QString Settings::getShowDispersion() const {
    return showDispersion;
}
void Settings::setPeriod(const QString& v) {
    period = v;
}
QString Settings::getPeriod() const {
    return period;
}
void Settings::setHarmonicNumber(int v) {
    harmonicNumber = v;
}
int Settings::getHarmonicNumber() const {
    return harmonicNumber;
}

void Settings::setLastOpenPath(const QString& v) {
    if (v != "") {
        lastOpenPath = v;
    }
}
QString Settings::getLastOpenPath() const {
    return lastOpenPath;
}

void Settings::setLastOpenFile(const QString& v) {
    if (v != "") {
        lastOpenFile = v;
    }
}
QString Settings::getLastOpenFile() const {
    return lastOpenFile;
}

void Settings::setLastSavePath(const QString& v) {
    if (v != "") {
        lastSavePath = v;
    }
}
QString Settings::getLastSavePath() const {
    return lastSavePath;
}

void Settings::setGraphWidth(const QString& v) {
    graphWidth = v;
}
QString Settings::getGraphWidth() const {
    return graphWidth;
}
void Settings::setGraphHeight(const QString& v) {
    graphHeight = v;
}
QString Settings::getGraphHeight() const {
    return graphHeight;
}

void Settings::setValues(const QMap<QString, QString>& v) {
    values = v;
}
QMap<QString, QString> Settings::getValues() const {
    return values;
}
void Settings::setSpareWidget(QWidget* w) {
    spareWidget = w;
}
QWidget* Settings::getSpareWidget() const {
    return spareWidget;
}
void Settings::setSpareIndex(int v) {
    spareIndex = v;
}
int Settings::getSpareIndex() const {
    return spareIndex;
}
void Settings::setSpareFlag1(bool v) {
    spareFlag1 = v;
}
bool Settings::getSpareFlag1() const {
    return spareFlag1;
}
void Settings::setSpareFlag2(bool v) {
    spareFlag2 = v;
}
bool Settings::getSpareFlag2() const {
    return spareFlag2;
}
QString Settings::dirOfPath(const QString& path) const {
    return Tools::dirOfPath(path);
}

void Settings::setProgress(int value) {
    if (progressBar) {
        if (value == 100) {
            progressBar->hide();
        } else {
            progressBar->show();
            progressBar->setValue(value);
        }
        return;
    }
    if (value != lastProgress) {
        std::fputs(".", stdout);
        if (value == 100) {
            std::fputs("\n", stdout);
        }
        std::fflush(stdout);
        lastProgress = value;
    }
}
