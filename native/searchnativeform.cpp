#include "native/searchnativeform.h"

#include "core/appendunseen.h"
#include "core/desktop.h"
#include "core/dirscan.h"
#include "core/formcolumn.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"
#include "native/searchnativegrafik.h"
#include "native/searchnativemultigrafik.h"
#include "native/searchresultparser.h"
#include "native/selectorstep.h"
#include "ui_searchnativeform.h"

#include <QDebug>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>

SearchNativeForm::SearchNativeForm(QString dir, QString mode, QWidget* parent) : QWidget(parent) {
    Q_UNUSED(mode); // the main window passes "native"; this form has one way of reading only
    ui = new Ui::SearchNativeForm;
    viewName = "";
    dirPath = dir;
    ui->setupUi(this);
    FormColumn::fit(this, ui->scrollArea);
    progressBar = Settings::getInstance()->getProgressBar();

    ui->labelPlosh->hide();
    ui->comboBoxPlosh->hide();
    ui->labelTres->hide();
    ui->comboBoxTres->hide();

    if (!readDir(dir)) {
        qDebug() << "readDir false!";
        hide();
        return;
    }

    ui->comboBoxDate->clear();
    for (const QString& d : dates) {
        ui->comboBoxDate->addItem(d);
    }
    ui->comboBoxDispersion->clear();
    for (const QString& d : dispersions) {
        ui->comboBoxDispersion->addItem(d);
    }
    if (dates.size() <= 1) {
        ui->dateNext->hide();
        ui->datePre->hide();
    }
    if (dispersions.size() <= 1) {
        ui->dispNext->hide();
        ui->dispPre->hide();
    }
    FormColumn::setElidedText(ui->dirName, Tools::shortPath(dirPath));

    mainWindow = Settings::getInstance()->registeredMainWindow();
    grafik = new SearchNativeGrafik("", this);
    grafik->showStartMessage();
    workLayout = WorkArea::install({this, grafik});

    connect(ui->comboBoxDate, &QComboBox::currentTextChanged, this, &SearchNativeForm::changedDate);
    connect(ui->comboBoxDispersion, &QComboBox::currentTextChanged, this,
            &SearchNativeForm::changedDispersion);
    connect(ui->dateNext, &QPushButton::clicked, this, &SearchNativeForm::dateNext);
    connect(ui->datePre, &QPushButton::clicked, this, &SearchNativeForm::datePre);
    connect(ui->dispNext, &QPushButton::clicked, this, &SearchNativeForm::dispNext);
    connect(ui->dispPre, &QPushButton::clicked, this, &SearchNativeForm::dispPre);
    connect(ui->drawGrafikOne, &QPushButton::clicked, this, &SearchNativeForm::drawGrafikOne);
    connect(ui->drawGrafikMulti, &QPushButton::clicked, this, &SearchNativeForm::drawGrafikMulti);

    drawGrafikMulti();
    valid = true;
}

SearchNativeForm::~SearchNativeForm() {
    delete ui;
}

void SearchNativeForm::warn(const QString& text) {
    Desktop::instance()->warning(this, QStringLiteral("Error"), text);
}

bool SearchNativeForm::readDir(QString dir) {
    if (!QFileInfo::exists(dir)) {
        warn(dir + " does not exist!");
        return false;
    }
    progressBar = Settings::getInstance()->getProgressBar();
    dates.clear();
    knownDates.clear();
    dispersions.clear();
    knownDispersions.clear();

    // Files are parsed on worker threads; the tables are filled here, in scan order, as a serial scan
    // fills them.
    struct Parsed {
        QString date; // empty: not a search-result file
        ParsedFile file;
    };
    static const QRegularExpression datePattern(QStringLiteral("(20\\d\\d.\\d\\d.\\d\\d)_.*.txt"));
    DirScan::runParallel<Parsed>(
        dir, {QStringLiteral("*.txt")}, progressBar,
        [](const QString& path) {
            Parsed p;
            const QRegularExpressionMatch m = datePattern.match(path);
            if (m.hasMatch()) {
                p.date = m.captured(1);
                p.file = parseResultFile(path, p.date);
            }
            return p;
        },
        [this](int, const QString& path, Parsed& p) {
            if (p.date.isEmpty()) {
                return DirScan::Step::Skipped;
            }
            appendUnseen(dates, knownDates, p.date);
            storeResultFile(path, p.date, p.file);
            return DirScan::Step::Visited;
        });

    if (dates.isEmpty()) {
        warn(QStringLiteral("В этой директории ничего не найдено"));
        return false;
    }
    if (progressBar) {
        progressBar->hide();
    }
    return true;
}

void SearchNativeForm::readResultFile(QString path, QString date) {
    storeResultFile(path, date, parseResultFile(path, date));
}

SearchNativeForm::ParsedFile SearchNativeForm::parseResultFile(const QString& path, const QString& date) {
    ParsedFile file;
    SearchResultParser parser;
    file.opened = parser.read(path);
    if (!file.opened) {
        return file;
    }
    file.dispersions = parser.dispersions();
    // The keys are made here, and the parser's own table goes on the thread that made it, so that the
    // GUI thread only inserts.
    const QHash<QString, QVector<double>> byDm = parser.takeSeries();
    file.series.reserve(byDm.size());
    const QString prefix = date + QLatin1Char('_');
    for (auto s = byDm.cbegin(); s != byDm.cend(); ++s) {
        file.series.append({prefix + s.key(), s.value()});
    }
    file.hasRange = parser.hasRange();
    file.maximum = parser.maximum();
    file.minimum = parser.minimum();
    return file;
}

void SearchNativeForm::storeResultFile(const QString& path, const QString& date, const ParsedFile& file) {
    if (!file.opened) {
        warn("Can't open file=" + path);
        return;
    }
    for (const QString& dm : file.dispersions) {
        appendUnseen(dispersions, knownDispersions, dm);
    }
    for (const auto& s : file.series) {
        series.insert(s.first, s.second);
    }
    // A file without numbers says nothing about the range; the earlier file's range of the date stands.
    if (file.hasRange) {
        dateMaxMin.insert(date, qMakePair(file.maximum, file.minimum));
    }
}

bool SearchNativeForm::drawGrafikOne() {
    const QString date = ui->comboBoxDate->currentText();
    const QString disp = ui->comboBoxDispersion->currentText();
    if (date.isEmpty()) {
        warn(QStringLiteral("Выберите дату!"));
        return false;
    }
    if (disp.isEmpty()) {
        warn(QStringLiteral("Выберите дисперсию!"));
        return false;
    }
    const QString key = QStringLiteral("%1_%2").arg(date, disp);
    if (!series.contains(key)) {
        warn("Нет данных в для key=" + key);
        return false;
    }

    grafik = new SearchNativeGrafik("profile", this);
    Settings::getInstance()->setSearchGrafikOne(grafik);
    grafik->showStartMessage();
    multiGrafik = nullptr;
    workLayout = WorkArea::install({this, grafik});

    const QVector<double> values = series.value(key);
    grafik->inGrid = false;
    grafik->arrGrafikY = {values};
    grafik->visible = {true};
    grafik->colors = {"blue"};
    grafik->arrGrafikX.clear();
    grafik->grafikMode = 1;
    grafik->drawCircles = false;
    grafik->hintShown = false;
    grafik->nPoints = values.size();
    grafik->fixedYRange = false;
    grafik->caption8.clear();
    grafik->markers.clear();
    grafik->mainWindow = mainWindow;
    grafik->date = date;
    grafik->redraw();

    viewName = "one";
    return true;
}

bool SearchNativeForm::drawGrafikMulti() {
    if (dispersions.isEmpty()) {
        warn(QStringLiteral("Нет ни одной дисперсии!"));
        return false;
    }
    auto* grid = new SearchNativeMultiGrafik(this);
    Settings::getInstance()->setSearchGrafikMulti(grid);
    if (multiGrafik) {
        // The grid being replaced goes before the new cells are made, so that they take its memory: on
        // fresh pages a date arrow on a year of cells costs a third more. Its cells emit nothing and only
        // the form's buttons rebuild it, so none of it is on the stack here.
        WorkArea::dropNow(multiGrafik);
        multiGrafik = nullptr;
    }

    grid->columnTitles = {" "};
    for (const QString& dm : dispersions) {
        grid->columnTitles.append(QStringLiteral("DM=%1").arg(dm));
    }
    grid->rowTitles = {" "};
    for (const QString& d : dates) {
        grid->rowTitles.append(d);
    }
    grid->columns = dispersions.size();
    grid->rows = dates.size();
    const int width = ui->multiWidth->text().toInt();
    if (width > 90) {
        grid->cellWidth = width;
    }
    const int height = ui->multiHeight->text().toInt();
    if (height > 90) {
        grid->cellHeight = height;
    }

    grid->grafiks.clear();
    grid->grafiks.reserve(dates.size());
    // Shared by the cells rather than made for each of tens of thousands of them.
    const QVector<bool> visibleCurve{true};
    QHash<int, QVector<QString>> bottomLabels; // by series length
    for (const QString& date : dates) {
        const QPair<double, double> range = dateMaxMin.value(
            date, qMakePair(SearchResultParser::rangeStartMax, SearchResultParser::rangeStartMin));
        const QString caption = QStringLiteral("max=%1").arg(range.first, 0, 'f', 2);
        const QString rowPrefix = date + QLatin1Char('_'); // the series keys of the date
        QVector<QWidget*> row;
        row.reserve(dispersions.size());
        for (const QString& dm : dispersions) {
            const auto s = series.constFind(rowPrefix + dm);
            if (s == series.cend()) {
                row.append(nullptr);
                continue;
            }
            const int n = s->size();
            auto labels = bottomLabels.constFind(n);
            if (labels == bottomLabels.cend()) {
                const int q = n / 4;
                labels = bottomLabels.insert(
                    n, {"0", QString::number(q), QString::number(2 * q), QString::number(3 * q), " "});
            }
            // Without a parent until the grid places it: a cell made inside the window would join the
            // window's focus chain, and every later placement would walk that chain again.
            grafik = new SearchNativeGrafik("", nullptr);
            grafik->inGrid = true;
            grafik->arrGrafikY = {*s};
            grafik->visible = visibleCurve;
            grafik->labelsBottom = *labels;
            grafik->nPoints = n;
            grafik->grafikMode = 1;
            grafik->drawCircles = false;
            grafik->hintShown = false;
            grafik->fixedYRange = true;
            grafik->yMax = range.first;
            grafik->yMin = range.second;
            grafik->caption1 = caption;
            grafik->redraw();
            row.append(grafik);
        }
        grid->grafiks.append(row);
    }

    // Built while it is not shown, so that it is laid out once and shown once.
    grid->draw();
    multiGrafik = grid;
    workLayout = WorkArea::install({this, multiGrafik});
    viewName = "multi";
    QTimer::singleShot(20, this, &SearchNativeForm::scrollToCurrentGrafik);
    return true;
}

void SearchNativeForm::scrollToCurrentGrafik() {
    if (viewName != "multi" || !multiGrafik) {
        return;
    }
    const int row = Tools::indexOfString(dates, ui->comboBoxDate->currentText());
    const int col = Tools::indexOfString(dispersions, ui->comboBoxDispersion->currentText());
    multiGrafik->scrollToGrafik(row, col);
}

bool SearchNativeForm::checkFormAndRedraw() {
    if (viewName == "multi") {
        drawGrafikMulti();
        return true;
    }
    if (!ui->comboBoxDate->currentText().isEmpty() && !ui->comboBoxDispersion->currentText().isEmpty() &&
        viewName == "one") {
        drawGrafikOne();
        return true;
    }
    return false;
}

void SearchNativeForm::changedDate(QString date) {
    if (date.isEmpty() || date == " ") {
        return;
    }
    if (viewName == "one") {
        drawGrafikOne();
    }
}

void SearchNativeForm::changedDispersion(QString disp) {
    if (disp.isEmpty()) {
        return;
    }
    if (viewName == "one") {
        drawGrafikOne();
    }
}

void SearchNativeForm::dateNext() {
    const int count = dates.size();
    if (count == 0) {
        return;
    }
    stepSelector(ui->comboBoxDate, count, true, false);
    checkFormAndRedraw();
}

void SearchNativeForm::datePre() {
    const int count = dates.size();
    if (count == 0) {
        return;
    }
    stepSelector(ui->comboBoxDate, count, false, false);
    checkFormAndRedraw();
}

void SearchNativeForm::dispNext() {
    const int count = dispersions.size();
    if (count == 0) {
        return;
    }
    stepSelector(ui->comboBoxDispersion, count, true, true);
    if (viewName == "one") {
        checkFormAndRedraw();
    }
}

void SearchNativeForm::dispPre() {
    const int count = dispersions.size();
    if (count == 0) {
        return;
    }
    stepSelector(ui->comboBoxDispersion, count, false, true);
    if (viewName == "one") {
        checkFormAndRedraw();
    }
}
