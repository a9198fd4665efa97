// Reading of the profile directory: the files, the site of the observations, and the tables derived
// from the profiles (per-date extremes, dates by maximum, best-profile lists).
#include "core/desktop.h"
#include "core/dirscan.h"
#include "core/settings.h"
#include "core/tools.h"
#include "profiles/profilefile.h"
#include "profiles/profileform.h"
#include "ui_profileform.h"

#include <QDebug>
#include <QDir>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// A DM text without leading zeros; no digits give "0". Written from the digits, so no length overflows.
QString dmText(const QString& digits) {
    int i = 0;
    while (i < digits.size() - 1 && digits.at(i) == QLatin1Char('0')) {
        ++i;
    }
    return digits.isEmpty() ? QStringLiteral("0") : digits.mid(i);
}

// "%1_%2" of the code written with at least 8 digits, padded with "0", and the key; built by hand for
// the usual code, as a year of profiles makes a hundred thousand of them.
QString bestEntry(int code, const QString& key) {
    if (code < 0) {
        return QStringLiteral("%1_%2").arg(QStringLiteral("%1").arg(code, 8, 10, QLatin1Char('0')), key);
    }
    const QString digits = QString::number(code);
    QString entry;
    entry.reserve(std::max(8, digits.size()) + 1 + key.size());
    entry.fill(QLatin1Char('0'), std::max(0, 8 - digits.size()));
    entry += digits;
    entry += QLatin1Char('_');
    entry += key;
    return entry;
}

// The maximum times 100, truncated, computed wide and held to the int range.
int maximumCode(double max) {
    const double v = std::trunc(max * 100);
    if (!(v < double(INT_MAX))) {
        return v > 0 ? INT_MAX : INT_MIN; // NaN cannot reach here: the maximum only takes greater values
    }
    if (!(v > double(INT_MIN))) {
        return INT_MIN;
    }
    return int(v);
}
} // namespace

bool ProfileForm::readProfileFile(QString path, QString date, QString dm, int decimals) {
    FileTables tables = readFileTables(path, date, dm, decimals);
    return storeFileTables(path, date, dm, tables);
}

ProfileForm::FileTables ProfileForm::readFileTables(const QString& path, const QString& date,
                                                    const QString& dm, int decimals) {
    FileTables t;
    ProfileFile content;
    t.opened = ProfileFile::read(path, content);
    if (!t.opened) {
        return t;
    }
    const QString prefix = date + QLatin1Char('_') + dm + QLatin1Char('_');
    t.keys.reserve(content.blocks.size());
    t.samples.reserve(content.blocks.size());
    t.stats.reserve(content.blocks.size());
    for (const ProfileFile::Block& block : content.blocks) {
        t.keys.append(prefix + block.periodText);
        // The parser keeps a profile in room of its size, so the form shares it as it is.
        t.samples.append(block.samples);
        t.stats.append(QVector<double>{block.max, block.min, double(block.maxIndex)});
    }
    t.hasPeriods = !content.periods.isEmpty();
    t.periodTexts = content.periodTexts(decimals);
    return t;
}

bool ProfileForm::storeFileTables(const QString& path, const QString& date, const QString& dm,
                                  const FileTables& t) {
    if (!t.opened) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Can't open file=") + path);
        return false;
    }
    for (int i = 0; i < t.keys.size(); ++i) {
        profiles.insert(t.keys[i], t.samples[i]);
        profileStats.insert(t.keys[i], t.stats[i]);
    }
    QVector<QString>& list = periodsByDateDm[date + QLatin1Char('_') + dm];
    if (!t.hasPeriods) {
        qDebug().noquote() << "В файле " + path + " не найдено ни одного периода!";
        return false;
    }
    list += t.periodTexts;
    return true;
}

bool ProfileForm::readDirProfile(QString dir) {
    if (!QDir(dir).exists()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), dir + QStringLiteral(" does not exist!"));
        return false;
    }
    progressBar = Settings::getInstance()->getProgressBar();
    dates.clear();
    dmsByDate.clear();
    periodsByDateDm.clear();
    profiles.clear();
    profileStats.clear();
    dateStats.clear();

    // Files are parsed on worker threads; the tables are filled here, in scan order, as a serial scan
    // fills them.
    struct Parsed {
        bool ours = false;
        QString date;
        QString dm;
        FileTables tables;
    };
    static const QRegularExpression name(
        QStringLiteral("p(20\\d\\d.\\d\\d.\\d\\d)_dm(\\d*)_p([\\d.]*)_s(\\d).txt"));
    QSet<QString> knownDates; // a year has hundreds of dates, met in no particular order
    DirScan::runParallel<Parsed>(
        dir, {QStringLiteral("p20*.txt")}, progressBar,
        [](const QString& path) {
            Parsed p;
            const QRegularExpressionMatch m = name.match(path);
            if (!m.hasMatch()) {
                return p;
            }
            p.ours = true;
            p.date = m.captured(1);
            p.dm = dmText(m.captured(2));
            p.tables = readFileTables(path, p.date, p.dm, m.captured(4).toInt());
            return p;
        },
        [this, &knownDates](int, const QString& path, Parsed& p) {
            if (!p.ours) {
                return DirScan::Step::Skipped;
            }
            if (storeFileTables(path, p.date, p.dm, p.tables)) {
                if (!knownDates.contains(p.date)) {
                    knownDates.insert(p.date);
                    dates.append(p.date);
                }
                appendOnce(dmsByDate[p.date], p.dm);
            }
            return DirScan::Step::Visited;
        });

    if (dates.isEmpty()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("В этой директории ничего не найдено"));
        return false;
    }
    detectSite(dir);
    buildDerivedTables();
    if (progressBar) {
        progressBar->hide();
    }
    return true;
}

void ProfileForm::detectSite(const QString& dir) {
    static const QRegularExpression inDir(QStringLiteral("/N([0|1|2|4])/"));
    static const QRegularExpression inName(QStringLiteral("/N([0|1|2|4])_"));
    QRegularExpressionMatch m = inDir.match(dir);
    if (!m.hasMatch()) {
        m = inName.match(dir);
    }
    if (!m.hasMatch()) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("В выбранной директории нет информации о "
                                                    "площадке.\nУкажите площадку вручную поле plosh формы!"));
        return;
    }
    const int site = m.captured(1).toInt();
    if (site != 4) {
        ui->comboBoxPlosh->setCurrentIndex(site + 1);
        ui->comboBoxTres->setCurrentIndex(1);
        ui->calc_n0->setText(QStringLiteral("16348"));
        ui->calc_n->setText(QStringLiteral("16348"));
        return;
    }
    ui->comboBoxPlosh->setCurrentIndex(4);
    ui->comboBoxTres->setCurrentIndex(2);
    ui->calc_n0->setText(QStringLiteral("65536"));
    const QString delta = Tools::decFromFileName(dir, 4);
    if (delta.isEmpty()) {
        return;
    }
    int n = 0;
    if (applyDeclination(delta, 65536, n)) {
        ui->calc_delta->setText(delta);
        ui->calc_n->setText(QString::number(n));
    }
}

ProfileForm::BestEntry ProfileForm::splitBestEntry(const QString& entry) {
    const int afterCode = entry.indexOf(QLatin1Char('_')) + 1;
    BestEntry e;
    e.date = entry.mid(afterCode, 10);
    const int afterDm = entry.indexOf(QLatin1Char('_'), afterCode + 11);
    e.dm = afterDm < 0 ? entry.mid(afterCode + 11) : entry.mid(afterCode + 11, afterDm - afterCode - 11);
    e.period = afterDm < 0 ? QString() : entry.mid(afterDm + 1);
    return e;
}

void ProfileForm::buildDerivedTables() {
    for (auto it = profileStats.cbegin(); it != profileStats.cend(); ++it) {
        const QString date = it.key().left(10);
        const QVector<double>& s = it.value();
        const auto found = dateStats.find(date);
        if (found == dateStats.end()) {
            dateStats.insert(date, s);
            continue;
        }
        QVector<double>& stored = found.value();
        if (s[0] > stored[0]) {
            stored[0] = s[0];
            stored[2] = s[2];
        }
        if (stored[1] > s[1]) {
            stored[1] = s[1];
        }
    }

    // Dates by their largest maximum as six significant digits show it; ties keep the scan order.
    QVector<QPair<double, QString>> byMax;
    for (const QString& date : dates) {
        const auto found = dateStats.constFind(date);
        const double max = found != dateStats.cend() ? found.value()[0] : -1000000;
        byMax.append({QString::number(max, 'g', 6).toDouble(), date});
    }
    std::stable_sort(
        byMax.begin(), byMax.end(),
        [](const QPair<double, QString>& a, const QPair<double, QString>& b) { return a.first > b.first; });
    datesByMax.clear();
    for (const auto& d : byMax) {
        datesByMax.append(d.second);
    }

    // The code orders the list numerically (for codes of eight digits that is the text order), ties by
    // the key, descending.
    struct Ranked {
        int code;
        QString key;
    };
    QVector<Ranked> ranked;
    ranked.reserve(profileStats.size());
    for (auto it = profileStats.cbegin(); it != profileStats.cend(); ++it) {
        ranked.append({maximumCode(it.value()[0]), it.key()});
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.code != b.code ? a.code > b.code : a.key > b.key;
    });
    bestList.clear();
    bestByDate.clear();
    bestFiveByDate.clear();
    bestFiveByDatePeriod.clear();
    for (const Ranked& r : ranked) {
        const QString entry = bestEntry(r.code, r.key);
        bestList.append(entry);
        // The cut splitBestEntry makes of the entry (the code holds no '_'), made on the key without
        // parsing the entry back: the date is the first ten characters, the period follows the first '_'
        // from the twelfth on.
        const QString date = r.key.left(10);
        const int afterDm = r.key.indexOf(QLatin1Char('_'), 11);
        const QStringRef period = afterDm < 0 ? QStringRef() : r.key.midRef(afterDm + 1);
        bestByDate[date].append(entry);
        QStringList& five = bestFiveByDate[date];
        if (five.size() <= 4) {
            five.append(r.key);
        }
        QStringList& fivePeriod = bestFiveByDatePeriod[date + QLatin1Char('_') + period];
        if (fivePeriod.size() <= 4) {
            fivePeriod.append(r.key);
        }
    }
}
