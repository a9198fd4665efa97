#include "directory/calc/fouriercalculate.h"

QString FourierCalculate::getFourierFileName(const QString&, int, int, bool) {
    return {};
}
QString FourierCalculate::getFourierFileNameWithDir(const QString&, int, int, bool) {
    return {};
}
QString FourierCalculate::getSingleFourierFileName(const QString&, int, int) {
    return {};
}
QString FourierCalculate::rowFileName(const QString&, int, int, int) const {
    return {};
}
int FourierCalculate::addFourierFromFile(const QString&, int, QVector<double>&) {
    return -1;
}
int FourierCalculate::addFourierMatrixFromFile(const QString&, QVector<QVector<double>>&, int) {
    return -1;
}
bool FourierCalculate::addFourierHashFromFile(const QString&, int, int, int, QHash<QString, QVector<double>>&,
                                              int) {
    return false;
}
bool FourierCalculate::writeFourier(double**, const int*, const QString&, int, int, int, bool,
                                    const QVector<int>&) {
    return false;
}
int FourierCalculate::deductMedianNoiseWindow(const QVector<double>&, QVector<double>&, QVector<double>&,
                                              int) {
    return 0;
}
int FourierCalculate::deductMedianNoiseWindow(QVector<double>&, int) {
    return 0;
}
bool FourierCalculate::deductPolinomNoise(const QVector<double>&, QVector<double>&, QVector<double>&) {
    return false;
}
bool FourierCalculate::deductPolinomNoise(QVector<double>&) {
    return false;
}
int FourierCalculate::getAveragedPoints(int, int, bool) {
    return 0;
}
double FourierCalculate::calcPeriodOfHarmonic(int, bool, double) {
    return 0;
}
double FourierCalculate::getPeriodOfHarmonic(int, bool, double) {
    return 0;
}
int FourierCalculate::getHarmonicOfPeriod(double, bool, double) {
    return 0;
}
bool FourierCalculate::calculateFourier() {
    return false;
}
int FourierCalculate::sumFourierN4(QVector<double>&, int, const QString&, int, int, int) {
    return -1;
}
int FourierCalculate::sumFourierN4(QVector<QVector<double>>&, int, const QString&, const QVector<int>&, int,
                                   int) {
    return -1;
}
bool FourierCalculate::createSnrDisp(QVector<double>&, const QVector<QString>&, int, int, int, int) {
    return false;
}
bool FourierCalculate::createSnrDispOneDir(QVector<double>&, int, int, int) {
    return false;
}
