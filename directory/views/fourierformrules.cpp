#include "directory/views/fourierformrules.h"

#include "core/tools.h"
#include "directory/calc/fouriercalculate.h"
#include "directory/calc/resultdirscan.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

QString FourierFormRules::siteCode(const QString& dir) {
    // The end of the path counts as a separator: the directory dialog returns ".../N4" without a slash.
    static const QRegularExpression code(QStringLiteral("[/_-](N\\d)(?:[/_-]|$)"));
    const QRegularExpressionMatch m = code.match(dir);
    return m.hasMatch() ? m.captured(1) : QString();
}

QVector<int> FourierFormRules::dmListFor(const QString& nCode, bool isSearch, bool isFfa) {
    if (nCode == QLatin1String("N4")) {
        return Tools::dmList(true);
    }
    if (isSearch && isFfa) {
        return Tools::dmList57();
    }
    return Tools::dmList(false);
}

QString FourierFormRules::directoryLabel(const QString& dir, bool isSearch) {
    const QStringList parts = dir.split(QLatin1Char('/'));
    QString label = parts.size() < 3 ? QStringLiteral("/") : QStringLiteral("../");
    if (parts.size() > 1) {
        label += parts.at(parts.size() - 2);
        label += isSearch ? QStringLiteral("/") + parts.last() + QStringLiteral("/")
                          : QStringLiteral("/\n") + parts.last();
    }
    return label;
}

QString FourierFormRules::xQuantity(const QString& grafikType) {
    if (grafikType == QLatin1String("fourier")) {
        return QStringLiteral("harmonic");
    }
    if (grafikType == QLatin1String("ffa") || grafikType == QLatin1String("map") ||
        grafikType == QLatin1String("ffaMap")) {
        return QStringLiteral("period");
    }
    if (grafikType.startsWith(QLatin1String("harmDisp")) ||
        grafikType.startsWith(QLatin1String("ffaSnrDisp")) || grafikType == QLatin1String("sum3sigma")) {
        return QStringLiteral("dm");
    }
    return QString();
}

QString FourierFormRules::periodTextOfHarmonic(int harmonic, double tres, int withNulls) {
    return QString::number(FourierCalculate::getPeriodOfHarmonic(harmonic, withNulls != 0, tres), 'f', 5);
}

int FourierFormRules::harmonicOfPeriod(double period, double tres, int withNulls) {
    return FourierCalculate::getHarmonicOfPeriod(period, withNulls != 0, tres);
}

QString FourierFormRules::searchModule(const QString& module, const QString& nCode) {
    if (nCode == QLatin1String("N4") && module.toInt() <= 9) {
        return QStringLiteral("0") + module;
    }
    return module;
}

QString FourierFormRules::minSecDigits(const QString& minSec) {
    return minSec.left(2) + minSec.right(2);
}

QString FourierFormRules::searchDirName(const QString& hour, const QString& minSec, const QString& module,
                                        const QString& ray) {
    return QStringLiteral("a%1%2_m%3_r%4").arg(hour, minSecDigits(minSec), module, ray);
}

QStringList FourierFormRules::filterSearchRows(const QStringList& rows, const SearchFilter& f) {
    const QString minSec = f.minSec == QLatin1String("*") ? f.minSec : minSecDigits(f.minSec);
    const bool anyModule = f.n4 ? f.module == QLatin1String("00") : f.module == QLatin1String("0");
    QStringList kept;
    for (const QString& name : rows) {
        if (f.byModule && !anyModule && name.mid(9, f.n4 ? 2 : 1) != f.module) {
            continue;
        }
        if (f.byRay && f.ray != QLatin1String("0") && name.right(1) != f.ray) {
            continue;
        }
        if (f.byHour && f.hour != QLatin1String("*") && name.mid(1, 2) != f.hour) {
            continue;
        }
        if (f.byMinSec && minSec != QLatin1String("*") && name.mid(3, 4) != minSec) {
            continue;
        }
        kept << name;
    }
    return kept;
}

bool FourierFormRules::parseDescriptor(const QString& descriptor, int& shift, int& withNulls, int& averages) {
    if (descriptor.size() < 10) {
        return false;
    }
    shift = descriptor.mid(2, 1).toInt();
    if (descriptor.at(1) == QLatin1Char('0')) {
        shift = -shift;
    }
    withNulls = descriptor.mid(5, 1).toInt();
    averages = descriptor.mid(9, 1).toInt();
    return true;
}

int FourierFormRules::yearOfRow(const QString& row, const QString& kind) {
    return kind == QLatin1String("days") ? row.left(4).toInt() : row.mid(6, 4).toInt();
}

QString FourierFormRules::yearsName(const QHash<int, int>& yearStates, int firstYear, int currentYear) {
    QString name;
    int checked = 0;
    for (int year = firstYear; year <= currentYear; ++year) {
        if (yearStates.value(year, -1) != 1) {
            continue;
        }
        ++checked;
        if (checked == 1) {
            name = QString::number(year);
        } else if (checked <= 3) {
            name += QStringLiteral("_") + QString::number(year);
        } else {
            name.clear();
        }
    }
    return name;
}

QString FourierFormRules::sumMapFile(const QString& dir, const QString& row, const QString& location,
                                     bool asIs) {
    const QString file = asIs ? QStringLiteral("/harmonics_all.txt") : QStringLiteral("/harmonics.txt");
    if (row.startsWith(QLatin1String("cache"))) {
        return dir + QStringLiteral("/") + row + file;
    }
    // Days are named YYYY?MM?DD whatever the separators; the year tree is looked at first.
    if (row.size() >= 10) {
        const QString yearMonth = ResultDirScan::yearTreeMonth(row);
        if (QDir(dir + QStringLiteral("/") + yearMonth).exists()) {
            return dir + QStringLiteral("/") + yearMonth + file;
        }
    }
    return dir + QStringLiteral("/") + (location.isEmpty() ? row : location) + file;
}

QString FourierFormRules::searchMapFile(const QString& selectedDir, const QString& grafikType,
                                        const QString& nCode, bool asIs) {
    if (grafikType == QLatin1String("ffaMap")) {
        return selectedDir + QStringLiteral("/harmonics.txt");
    }
    if (nCode == QLatin1String("N4")) {
        return selectedDir + QStringLiteral("/harmonics_sum_alfa.txt");
    }
    return selectedDir + (asIs ? QStringLiteral("/harmonics_all.txt") : QStringLiteral("/harmonics.txt"));
}

QString FourierFormRules::reportText(const QString& pulsarName, const QString& grafikType,
                                     const QString& shift, const QString& withNulls, const QString& averages,
                                     const QString& dispersion, const QVector<double>& curve) {
    QString text = QStringLiteral("Pulsar: %1\n------------------\nGraph type: %2\nFirst point shift: %3\n"
                                  "With nulls: %4\nAverage count: %5\nDispersion: %6\nPoints: %7\n"
                                  "------------------\n")
                       .arg(pulsarName, grafikType, shift, withNulls, averages, dispersion,
                            QString::number(curve.size()));
    for (int i = 0; i < curve.size(); ++i) {
        text += QStringLiteral("%1 %2\n").arg(i + 1).arg(curve.at(i));
    }
    return text;
}

QString FourierFormRules::proposedReportName(const QString& pulsarName, const QString& shift,
                                             const QString& averages, const QString& withNulls,
                                             const QString& dispersion, const QString& grafikType) {
    const QString base = Tools::fourierFileBase(shift.toInt(), averages.toInt(), withNulls.toInt() != 0);
    return QStringLiteral("%1_%2_d%3_%4").arg(pulsarName, base, dispersion, grafikType);
}

QString FourierFormRules::withSuffix(const QString& name, const QString& suffix) {
    return name.endsWith(suffix) ? name : name + suffix;
}
