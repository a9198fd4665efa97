// Reading of the profile directory: the files, the site of the observations, and the tables derived
// from the profiles (per-date extremes, dates by maximum, best-profile lists).
#include "core/appendunseen.h"
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
#include <QStringView>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

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

// Numbered slots of texts, found by a view or by two views joined with '_' without making a string
// of them; each text is made once, when its slot is.
class Slots {
public:
    int of(QStringView text) { return of(text, QStringView(), false); }
    int of(QStringView first, QStringView second) { return of(first, second, true); }
    int size() const { return texts.size(); }
    const QString& text(int slot) const { return texts[slot]; }

private:
    struct Key {
        QStringView first;
        QStringView second;
        bool joined;
        bool operator==(const Key& o) const {
            return joined == o.joined && first == o.first && second == o.second;
        }
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept {
            return qHash(k.first) ^ (qHash(k.second) * 31u) ^ uint(k.joined);
        }
    };

    int of(QStringView first, QStringView second, bool joined) {
        const auto found = index.find(Key{first, second, joined});
        if (found != index.end()) {
            return found->second;
        }
        QString made = first.toString();
        if (joined) {
            made += QLatin1Char('_');
            made.append(second.data(), int(second.size()));
        }
        texts.append(made);
        // The views must outlive the caller's strings: they are taken from the text kept here, whose
        // characters stay where they are when the list grows.
        const QStringView kept(texts.last());
        const Key key = joined ? Key{kept.left(first.size()), kept.mid(first.size() + 1), true}
                               : Key{kept, QStringView(), false};
        index.emplace(key, texts.size() - 1);
        return texts.size() - 1;
    }

    QVector<QString> texts;
    std::unordered_map<Key, int, KeyHash> index;
};

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
    return storeFileTables(path, tables);
}

ProfileForm::FileTables ProfileForm::readFileTables(const QString& path, const QString& date,
                                                    const QString& dm, int decimals) {
    FileTables t;
    ProfileFile content;
    t.opened = ProfileFile::read(path, content);
    if (!t.opened) {
        return t;
    }
    t.dateDm = date + QLatin1Char('_') + dm;
    const QString prefix = t.dateDm + QLatin1Char('_');
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

bool ProfileForm::storeFileTables(const QString& path, const FileTables& t) {
    if (!t.opened) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Can't open file=") + path);
        return false;
    }
    for (int i = 0; i < t.keys.size(); ++i) {
        profiles.insert(t.keys[i], t.samples[i]);
        profileStats.insert(t.keys[i], t.stats[i]);
    }
    QVector<QString>& list = periodsByDateDm[t.dateDm];
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
    int listed = 0;
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
        [this, &knownDates, &listed](int, const QString& path, Parsed& p) {
            if (!p.ours) {
                return DirScan::Step::Skipped;
            }
            if (profiles.isEmpty() && !p.tables.keys.isEmpty()) {
                // Sized once, from the first file, rather than rehashed over and over while a year of
                // profiles comes in; a first file with many periods asks for 8 MiB of buckets at most.
                const int expected = int(std::min<qint64>(qint64(listed) * p.tables.keys.size(), 1 << 20));
                profiles.reserve(expected);
                profileStats.reserve(expected);
                periodsByDateDm.reserve(std::min(listed, 1 << 20));
            }
            if (storeFileTables(path, p.tables)) {
                appendUnseen(dates, knownDates, p.date);
                appendOnce(dmsByDate[p.date], p.dm);
            }
            return DirScan::Step::Visited;
        },
        [&listed](int count) { listed = count; });

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
    // A year holds a hundred thousand profiles of a few hundred dates: each profile finds the slot of
    // its date, and of its date and period, by views into its key, and the tables get one entry per
    // slot at the end, in the order the slots were first met, as entries made on the way would come.
    Slots dateSlots;
    QVector<QVector<double>> slotStats;
    struct Ranked {
        int code;
        int date; // slot
        QString key;
    };
    QVector<Ranked> ranked;
    ranked.reserve(profileStats.size());
    for (auto it = profileStats.cbegin(); it != profileStats.cend(); ++it) {
        const QString& key = it.key();
        const QVector<double>& s = it.value();
        const int d = dateSlots.of(QStringView(key).left(10));
        ranked.append({maximumCode(s[0]), d, key});
        if (d == slotStats.size()) {
            slotStats.append(s);
            continue;
        }
        QVector<double>& stored = slotStats[d];
        if (s[0] > stored[0]) {
            stored[0] = s[0];
            stored[2] = s[2];
        }
        if (stored[1] > s[1]) {
            stored[1] = s[1];
        }
    }
    for (int d = 0; d < slotStats.size(); ++d) {
        dateStats.insert(dateSlots.text(d), slotStats[d]);
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
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.code != b.code ? a.code > b.code : a.key > b.key;
    });
    bestList.clear();
    bestByDate.clear();
    bestFiveByDate.clear();
    bestFiveByDatePeriod.clear();
    bestList.reserve(ranked.size());
    QVector<QStringList> byDate(dateSlots.size());
    QVector<QStringList> fiveByDate(dateSlots.size());
    QVector<int> dateOrder; // date slots in the order of their best profile
    Slots periodSlots;      // "%1_%2" of date and period
    QVector<QStringList> fiveByPeriod;
    for (const Ranked& r : ranked) {
        const QString entry = bestEntry(r.code, r.key);
        bestList.append(entry);
        // The cut splitBestEntry makes of the entry (the code holds no '_'), made on the key without
        // parsing the entry back: the date is the first ten characters, the period follows the first '_'
        // from the twelfth on.
        if (byDate[r.date].isEmpty()) {
            dateOrder.append(r.date);
        }
        byDate[r.date].append(entry);
        if (fiveByDate[r.date].size() <= 4) {
            fiveByDate[r.date].append(r.key);
        }
        const int afterDm = r.key.indexOf(QLatin1Char('_'), 11);
        const QStringView period = afterDm < 0 ? QStringView() : QStringView(r.key).mid(afterDm + 1);
        const int p = periodSlots.of(dateSlots.text(r.date), period);
        if (p == fiveByPeriod.size()) {
            fiveByPeriod.append(QStringList());
        }
        if (fiveByPeriod[p].size() <= 4) {
            fiveByPeriod[p].append(r.key);
        }
    }
    for (int d : dateOrder) {
        bestByDate.insert(dateSlots.text(d), byDate[d]);
        bestFiveByDate.insert(dateSlots.text(d), fiveByDate[d]);
    }
    for (int p = 0; p < fiveByPeriod.size(); ++p) {
        bestFiveByDatePeriod.insert(periodSlots.text(p), fiveByPeriod[p]);
    }
}
