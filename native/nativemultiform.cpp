#include "native/nativemultiform.h"

#include "core/busyguard.h"
#include "core/desktop.h"
#include "core/dirscan.h"
#include "core/formcolumn.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/reader.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "native/channelsumseries.h"
#include "native/greendates.h"
#include "ui_nativemultiform.h"

#include <QDebug>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// Channels 0 .. 6 of module 0 and ray 0: the six bands and the one after them.
constexpr int channelsKept = 7;

// "20YY.MM.DD" from a path ending in DDMMYY_hh_Nd_00....pnt, or "" when the path has no date.
QString dateOfPath(const QString& path) {
    static const QRegularExpression datePattern(
        QStringLiteral("(\\d\\d)(\\d\\d)(\\d\\d)_\\d\\d_N\\d_00.*.pnt"));
    const QRegularExpressionMatch m = datePattern.match(path);
    return m.hasMatch() ? QStringLiteral("20%1.%2.%3").arg(m.captured(3), m.captured(2), m.captured(1))
                        : QString();
}

} // namespace

NativeMultiForm::NativeMultiForm(QString dirPath, QWidget* parent) : QWidget(parent), dirPath(dirPath) {
    // Menus and forms are refused until the form stands complete: the scan and any box shown meanwhile
    // let the event loop run.
    BusyGuard guard;
    fbands = {109.21, 109.62, 110.04, 110.45, 110.87, 111.29};
    tres = 0.0999424;

    ui = new Ui::NativeMultiForm;
    ui->setupUi(this);
    FormColumn::fit(this, ui->scrollArea);

    Settings* settings = Settings::getInstance();
    progressBar = settings->getProgressBar();
    mainWindow = settings->getMainWindow();

    grafik = new ProfileGrafik(QString(), this);
    grafik->showStartMessage();
    workLayout = WorkArea::install({this, grafik});

    readDirectory(dirPath);

    greenFilePath = dirPath + QStringLiteral("/green_dates.txt");
    greenDates = readGreenDates(greenFilePath);
    currentRow = 0;
    currentCol = 0;

    if (!dates.isEmpty()) {
        for (const QString& date : qAsConst(dates)) {
            ui->comboBoxDate->addItem(date);
        }
        for (int d = 0; d < 100; ++d) {
            ui->comboBoxDispersion->addItem(QString::number(d));
            dispersions.append(QString::number(d));
        }
    }
    ui->comboBoxAverageType->addItem(QStringLiteral("simple twice"));
    ui->comboBoxAverageType->addItem(QStringLiteral("movig average"));
    FormColumn::setElidedText(ui->dirName, Tools::shortPath(dirPath));
    sourceName = Tools::sourceNameFromPath(dirPath, QStringLiteral("N1"), false);

    drawGrafikMulti();

    // Made last, so that filling the boxes above started no slot.
    connect(ui->drawGrafikOne, SIGNAL(clicked()), this, SLOT(drawGrafikOne()));
    connect(ui->drawGrafikMulti, SIGNAL(clicked()), this, SLOT(drawGrafikMulti()));
    connect(ui->dateNext, SIGNAL(clicked()), this, SLOT(dateNext()));
    connect(ui->datePre, SIGNAL(clicked()), this, SLOT(datePre()));
    connect(ui->dispNext, SIGNAL(clicked()), this, SLOT(dispNext()));
    connect(ui->dispPre, SIGNAL(clicked()), this, SLOT(dispPre()));
    connect(ui->comboBoxDate, SIGNAL(currentTextChanged(QString)), this, SLOT(changedDate(QString)));
    connect(ui->comboBoxDispersion, SIGNAL(currentTextChanged(QString)), this, SLOT(redraw(QString)));
    connect(ui->deductNoise, SIGNAL(stateChanged(int)), this, SLOT(redraw(int)));
    connect(ui->showApprox, SIGNAL(stateChanged(int)), this, SLOT(redraw(int)));
    connect(ui->len, SIGNAL(valueChanged(int)), this, SLOT(redraw(int)));
    connect(ui->deleteStep, SIGNAL(stateChanged(int)), this, SLOT(redraw(int)));
    connect(ui->average, SIGNAL(valueChanged(int)), this, SLOT(redraw(int)));
    connect(ui->comboBoxAverageType, SIGNAL(currentTextChanged(QString)), this, SLOT(redraw(QString)));
    connect(ui->showDisp, SIGNAL(toggled(bool)), this, SLOT(redraw(bool)));
    connect(ui->showDisp0, SIGNAL(toggled(bool)), this, SLOT(redraw(bool)));
    connect(ui->showDisp2, SIGNAL(toggled(bool)), this, SLOT(redraw(bool)));
    connect(ui->saveGreen, SIGNAL(clicked()), this, SLOT(saveGreenAndSay()));
    connect(ui->writeGreen, SIGNAL(clicked()), this, SLOT(writeGreen()));
}

NativeMultiForm::~NativeMultiForm() {
    delete ui;
}

bool NativeMultiForm::readDirectory(QString dir) {
    if (!QFileInfo::exists(dir)) {
        Desktop::instance()->warning(this, QStringLiteral("Error"), dir + QStringLiteral(" does not exist!"));
        return false;
    }
    dates.clear();
    series.clear();
    filePaths.clear();
    greenDates.clear();
    greenComments.clear();

    // The first file of each date in path order is read; a later one is never opened. The files are
    // read on worker threads and taken here in path order.
    std::vector<QString> firstOfDate; // the date of a path read, empty for the others
    std::vector<Reader::SeriesRead> reads;
    DirScan::runParallelSlots(
        dir, {QStringLiteral("*.pnt")}, progressBar,
        [&firstOfDate, &reads](const QStringList& paths) {
            firstOfDate.assign(size_t(paths.size()), QString());
            reads.resize(size_t(paths.size()));
            QSet<QString> seen;
            for (int i = 0; i < paths.size(); ++i) {
                const QString date = dateOfPath(paths.at(i));
                if (!date.isEmpty() && !seen.contains(date)) {
                    seen.insert(date);
                    firstOfDate[size_t(i)] = date;
                }
            }
        },
        [&firstOfDate, &reads](int i, const QString& path) {
            if (!firstOfDate[size_t(i)].isEmpty()) {
                reads[size_t(i)] = Reader::readSeries(path, channelsKept);
            }
        },
        [&](int i, const QString& path) {
            const QString& date = firstOfDate[size_t(i)];
            if (date.isEmpty()) {
                return DirScan::Step::Skipped;
            }
            Reader::SeriesRead read = std::move(reads[size_t(i)]);
            reads[size_t(i)] = Reader::SeriesRead(); // held by the series table only
            Reader::report(read);
            dates.append(date);
            series.insert(date, read.series.size() == channelsKept ? read.series
                                                                   : QVector<QVector<float>>(channelsKept));
            filePaths.insert(date, path);
            return DirScan::Step::Visited;
        });
    if (!dates.isEmpty()) {
        std::sort(dates.begin(), dates.end());
        if (progressBar) {
            progressBar->hide();
        }
        return true;
    }
    Desktop::instance()->warning(this, QStringLiteral("Error"),
                                 QStringLiteral("В этой директории ничего не найдено"));
    return false;
}

QVector<QVector<float>> NativeMultiForm::readNativeFile(QString path) {
    Reader reader(nullptr);
    Data data = reader.readFile(path, false);
    QVector<QVector<float>> out(channelsKept);
    // Only a record with the first module, first ray and seven channels gives series; any other keeps
    // seven empty ones, so its date shows no graph.
    if (data.samples && data.modules >= 1 && data.rays >= 1 && data.channels >= channelsKept &&
        data.npoints > 0) {
        for (int c = 0; c < channelsKept; ++c) {
            const float* s = data.samples[0][c][0];
            out[c] = QVector<float>(s, s + data.npoints);
        }
    }
    freeSamples(data);
    return out;
}

QHash<QString, int> NativeMultiForm::readGreenDates(QString path) {
    GreenDates::List list = GreenDates::read(path);
    greenComments = list.comments;
    return list.values;
}

QVector<double> NativeMultiForm::sumChannels(QVector<QVector<float>> channels, double dm) {
    return ChannelSumSeries::sumChannels(channels, dm, fbands, tres);
}

QVector<double> NativeMultiForm::deductNoise(QWidget* parent, QVector<double> series, int len) {
    return ChannelSumSeries::deductNoise(parent, series, len);
}

ChannelSumSeries::Options NativeMultiForm::seriesOptions(int averageN, int averageType) const {
    ChannelSumSeries::Options o;
    o.deleteStep = ui->deleteStep->isChecked();
    o.deductNoise = ui->deductNoise->isChecked();
    o.showApprox = ui->showApprox->isChecked();
    o.len = ui->len->value();
    o.averageN = averageN;
    o.averageType = averageType;
    return o;
}

QVector<double> NativeMultiForm::seriesOf(const QString& date, double dm,
                                          const ChannelSumSeries::Options& options) {
    return ChannelSumSeries::make(series.value(date), dm, options, fbands, tres, this);
}

QVector<double> NativeMultiForm::makeSeries(QString date, double dm, int averageN, int averageType) {
    return seriesOf(date, dm, seriesOptions(averageN, averageType));
}

bool NativeMultiForm::saveGreen() {
    int count = 0;
    switch (GreenDates::write(greenFilePath, greenDates, greenComments, &count)) {
    case GreenDates::Written::Failed:
        qDebug() << "ERROR! NativeMultiForm::saveGreen(): Can't open file " << greenFilePath << "\n";
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Can't open file for write: ") + greenFilePath);
        return false;
    case GreenDates::Written::NoEntries:
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("No green dates for write"));
        return false;
    case GreenDates::Written::Dates:
        break;
    }
    greenWritten = count;
    return true;
}

bool NativeMultiForm::saveGreenAndSay() {
    const bool r = saveGreen();
    if (r) {
        Desktop::instance()->warning(
            this, QStringLiteral("Message"),
            QStringLiteral("All green dates were successfully recorded.\nNumber of "
                           "dates: %1\nYou can comment it after the space in file:\n\n%2")
                .arg(QString::number(greenWritten), greenFilePath));
    }
    return r;
}

bool NativeMultiForm::writeGreen() {
    if (!saveGreen()) {
        return false;
    }
    const QString target = GreenDates::copyDirName(dirPath, GreenDates::now());
    const GreenDates::Copied copied = GreenDates::copyFiles(target, greenDates, filePaths);
    if (!copied.dirCreated) {
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Can't create dir ") + target);
        return false;
    }
    if (!copied.failed.isEmpty()) {
        QString list;
        for (const QString& source : copied.failed) {
            list += QStringLiteral("\t\t") + source + QLatin1Char('\n');
        }
        Desktop::instance()->warning(this, QStringLiteral("Error"),
                                     QStringLiteral("Error: can't copy files:\n ") + list);
        return false;
    }
    if (copied.count > 0) {
        Desktop::instance()->warning(
            this, QStringLiteral("Success"),
            QStringLiteral("Files with green dates have been overwritten!\n\nNumber of "
                           "files: %1\nDirectory: %2\n\n(Delete unnecessary directories "
                           "yourself!)")
                .arg(QString::number(copied.count), target));
        return true;
    }
    Desktop::instance()->warning(this, QStringLiteral("Error"), QStringLiteral("Error: no files were copy"));
    return false;
}
