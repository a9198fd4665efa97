#include "app/mainwindow.h"
#include "core/workarea.h"
#include "directory/views/fourierform.h"
#include "directory/views/fouriergrafikinfo.h"
#include "directory/views/periodform.h"
#include "native/nativemultiform.h"
#include "native/searchnativeform.h"
#include "profiles/profileform.h"
#include "profiles/profilegrafikinfo.h"
#include "single/ffaform.h"
#include "single/pulsarform.h"
#include "support/nativedates.h"
#include "support/obsfilewriter.h"
#include "support/profilefilewriter.h"
#include "support/pulsefilewriter.h"
#include "support/recordingdesktop.h"
#include "support/resultfilewriter.h"
#include "support/searchresultwriter.h"
#include "support/testenv.h"
#include "ui_profileform.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A result file of the first DM of every list, 8192 harmonics with a peak.
bool writeSpectrum(const QString& path) {
    QVector<double> values(8192);
    for (int i = 0; i < values.size(); ++i) {
        values[i] = 10.0 + std::sin(i * 0.7) + std::cos(i * 1.3) + (i == 64 ? 50 : 0);
    }
    QDir().mkpath(QFileInfo(path).path());
    return ResultFileWriter::write(path, ResultFileWriter::header(values.size(), false), {{0, 1, values}},
                                   true);
}

// The width a line edit needs to show its text whole.
int textNeed(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QMargins text = edit->textMargins();
    return edit->fontMetrics().horizontalAdvance(edit->text()) + 2 * 2 + 2 * frame + text.left() +
           text.right();
}

// The room a combo box leaves its current text, and a push button its caption.
int textRoom(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    return combo->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
        .width();
}

int textRoom(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
}

// Parts of a compound widget (the editor of a combo or spin box) are that widget's business.
bool isPart(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent);
}

// Why a widget of the column is not shown whole, or "" when every one is: each visible widget lies
// inside each of its ancestors up to the column's visible area, and is as wide as its content needs.
QString clipped(QWidget* visibleArea, QWidget* content) {
    const auto left = [visibleArea](const QWidget* w) { return w->mapTo(visibleArea, QPoint(0, 0)).x(); };
    QList<QWidget*> widgets = content->findChildren<QWidget*>();
    widgets.prepend(content);
    for (QWidget* w : widgets) {
        if (!w->isVisible() || w->isWindow() || isPart(w)) {
            continue;
        }
        const QString name = QStringLiteral("%1 \"%2\"").arg(w->metaObject()->className(), w->objectName());
        for (const QWidget* outer = w; outer != visibleArea; outer = outer->parentWidget()) {
            const QWidget* box = outer->parentWidget();
            if (left(w) < left(box) || left(w) + w->width() > left(box) + box->width()) {
                return QStringLiteral("%1 at %2..%3 sticks out of %4 at %5..%6")
                    .arg(name)
                    .arg(left(w))
                    .arg(left(w) + w->width())
                    .arg(box->objectName())
                    .arg(left(box))
                    .arg(left(box) + box->width());
            }
        }
        if (w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored) {
            continue;
        }
        int room = w->width();
        int need = w->minimumSizeHint().width();
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            need = textNeed(edit);
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            room = textRoom(combo);
            need = w->fontMetrics().horizontalAdvance(combo->currentText()) + (combo->isEditable() ? 5 : 0);
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            // Styles may give buttons a wider minimum than their caption needs.
            room = textRoom(button);
            need = w->fontMetrics().horizontalAdvance(button->text());
        }
        if (room < need) {
            return QStringLiteral("%1 has %2 px for %3").arg(name).arg(room).arg(need);
        }
    }
    return QString();
}

} // namespace

class TestFormColumns;
// Builds a form, with what it shows opened, in the work area.
using Opener = std::function<QWidget*(TestFormColumns*)>;
// The column's width with an ordinary text and with a very long one in the same place.
using Widths = std::function<QPair<int, int>(TestFormColumns*)>;

class TestFormColumns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void columnsShowAllTheyHold_data();
    void columnsShowAllTheyHold();
    void longTextsKeepTheWidth_data();
    void longTextsKeepTheWidth();

private:
    QTemporaryDir tmp;
    MainWindow* window = nullptr;
    std::unique_ptr<RecordingDesktop> desktop;
    QString obsFile, sumDir, searchDir, profileDir, nativeDir, resultDir, timesFile;
    QString longName; // a directory name far wider than any column
};

Q_DECLARE_METATYPE(Opener)
Q_DECLARE_METATYPE(Widths)

void TestFormColumns::initTestCase() {
    TestEnv::isolate();
    QVERIFY(tmp.isValid());
    QDir::setCurrent(tmp.path());

    ObsFileWriter::Description d;
    d.npoints = 40000;
    d.rays = 1;
    d.nbands = 1;
    obsFile = tmp.filePath("long.pnt");
    QVERIFY(ObsFileWriter::write(obsFile, d));

    sumDir = tmp.filePath("N1/B0329+54");
    for (const char* row : {"cache_2015", "cache_2016", "cache_all"}) {
        QVERIFY(writeSpectrum(sumDir + "/" + QString(row) + "/f00_n1_av0.txt"));
    }
    QVERIFY(writeSpectrum(sumDir + "/2019/03/2019.03.15_f00_n1_av0.txt"));
    QFile map(sumDir + "/cache_all/harmonics.txt");
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("position dispersion harmonic snr period\nf00_n1_av0\t3\t64\t9.5\t0.714\n");
    map.close();
    searchDir = tmp.filePath("N4/search");
    QVERIFY(writeSpectrum(searchDir + "/16/a163000_m03_r5/f00_n1_av0.txt"));

    profileDir = tmp.filePath("N1/J0000+0000");
    for (const char* day : {"2015.03.05", "2015.03.06"}) {
        QVERIFY(ProfileFileWriter::write(
            profileDir + "/" + ProfileFileWriter::fileName(day, "57", "0.7145", 4),
            QVector<ProfileFileWriter::Block>{{"0.7145", ProfileFileWriter::pulse(64, 20, 5)}}));
    }
    QVERIFY(ProfileFileWriter::write(profileDir + "/st/sigma_dm57_p0.7145_2015.txt",
                                     QString("date;sigma;x;signal;snr;x\n2015.03.05;2;0;30;4;0\n")));

    nativeDir = tmp.filePath("N1/native");
    longName = QString(200, QChar('n'));
    for (const char* day : {"170524", "180524"}) {
        QVERIFY(NativeDates::write(nativeDir + "/" + NativeDates::fileName(day), 600));
        QVERIFY(NativeDates::write(tmp.filePath("N1/" + longName) + "/" + NativeDates::fileName(day), 600));
    }

    resultDir = tmp.filePath("search");
    QVERIFY(
        SearchResultWriter::write(resultDir + "/a/2024.03.01_r.txt", {{"10", {1, 2, 3}}, {"20", {3, 2, 1}}}));
    QVERIFY(SearchResultWriter::write(resultDir + "/b/2024.03.02_r.txt", {{"10", {1, 2, 3}}}));

    timesFile = tmp.filePath("times.txt");
    QVERIFY(PulseFileWriter::writeTimes(timesFile, PulseFileWriter::timesAt({0, 1000, 3000, 6010})));

    window = new MainWindow;
    window->resize(1024, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestFormColumns::cleanupTestCase() {
    delete window;
}

void TestFormColumns::init() {
    desktop = std::make_unique<RecordingDesktop>();
}

void TestFormColumns::cleanup() {
    WorkArea::clear();
    flushDeletes();
    desktop.reset();
}

void TestFormColumns::columnsShowAllTheyHold_data() {
    QTest::addColumn<Opener>("open");
    // The one-file forms.
    QTest::newRow("Fourier of one file")
        << Opener([](TestFormColumns* t) -> QWidget* { return new PulsarForm(t->obsFile, t->window); });
    QTest::newRow("FFA of one file") << Opener(
        [](TestFormColumns* t) -> QWidget* { return new FfaForm(t->obsFile, t->window); });
    // The directory form in its modes: sum or search, Fourier or FFA, graph or map.
    for (int mode = 0; mode < 6; ++mode) {
        const bool isFfa = mode % 2;
        const bool isSearch = mode >= 4;
        const bool isMap = !isSearch && mode >= 2;
        const QString name =
            QString("directory %1 %2%3")
                .arg(isSearch ? "search" : "sum", isFfa ? "FFA" : "Fourier", isMap ? " map" : "");
        QTest::newRow(qPrintable(name)) << Opener([=](TestFormColumns* t) -> QWidget* {
            return new FourierForm(isSearch ? t->searchDir : t->sumDir, isFfa, isMap, isSearch, t->window);
        });
    }
    QTest::newRow("period search") << Opener(
        [](TestFormColumns* t) -> QWidget* { return new PeriodForm(t->timesFile, "times", t->window); });
    for (const char* mode : {"periods", "dispersions"}) {
        QTest::newRow(qPrintable(QString("profiles by %1, one profile").arg(mode)))
            << Opener([mode](TestFormColumns* t) -> QWidget* {
                   auto* form = new ProfileForm(t->profileDir, mode, t->window);
                   form->ui->groupBoxCalculator->setChecked(true);
                   form->drawGrafikOne();
                   form->ui->groupBoxStatistic->setChecked(true);
                   form->groupBoxStatisticClicked();
                   form->ui->groupBoxForPrint->setChecked(true);
                   form->groupBoxForPrintClicked();
                   // Every result field filled, the declination ones too; then, with the column laid
                   // out, a result as long as the smallest flux densities are written.
                   form->ui->comboBoxPlosh->setCurrentText("N4");
                   form->calculateFluxDensity();
                   QTest::qWait(50);
                   form->ui->calc_Sint->setText("0.0000000012");
                   return form;
               });
    }
    QTest::newRow("profile statistics") << Opener([](TestFormColumns* t) -> QWidget* {
        auto* form = new ProfileForm(t->profileDir, "periods", t->window);
        form->ui->groupBoxStatistic->setChecked(true);
        form->groupBoxStatisticClicked();
        form->drawGrafikStat();
        return form;
    });
    QTest::newRow("native dates") << Opener(
        [](TestFormColumns* t) -> QWidget* { return new NativeMultiForm(t->nativeDir, t->window); });
    QTest::newRow("search results") << Opener([](TestFormColumns* t) -> QWidget* {
        return new SearchNativeForm(t->resultDir, "native", t->window);
    });
}

// After construction every column of the work area (the form's own and the panel beside the graph)
// shows each of its widgets whole, without a horizontal scroll bar.
void TestFormColumns::columnsShowAllTheyHold() {
    QFETCH(Opener, open);
    QWidget* form = open(this);
    QVERIFY(form && form->isVisible());
    QTest::qWait(50);
    QVERIFY2(desktop->boxes().isEmpty(), qPrintable(desktop->boxes().value(0).text));

    QList<QWidget*> columns{form};
    for (QWidget* panel : WorkArea::widget()->findChildren<QWidget*>()) {
        if ((qobject_cast<FourierGrafikInfo*>(panel) || qobject_cast<ProfileGrafikInfo*>(panel)) &&
            panel->isVisible()) {
            columns << panel;
        }
    }
    for (QWidget* column : columns) {
        auto* area = column->findChild<QScrollArea*>();
        if (area) {
            QVERIFY2(!area->horizontalScrollBar()->isVisible(), column->metaObject()->className());
        }
        const QString fault = area ? clipped(area->viewport(), area->widget()) : clipped(column, column);
        QVERIFY2(fault.isEmpty(), qPrintable(QString(column->metaObject()->className()) + ": " + fault));
    }
}

void TestFormColumns::longTextsKeepTheWidth_data() {
    QTest::addColumn<Widths>("widths");
    QTest::newRow("best link") << Widths([](TestFormColumns* t) {
        // The strong date has an ordinary DM; the weaker one's DM reaches its link only in the list of
        // the whole directory, not in any selector.
        const QString dir = t->tmp.filePath("N1/J1111+1111");
        ProfileFileWriter::write(dir + "/" + ProfileFileWriter::fileName("2015.03.05", "57", "0.7145", 4),
                                 {{"0.7145", ProfileFileWriter::pulse(64, 20, 9)}});
        ProfileFileWriter::write(
            dir + "/" + ProfileFileWriter::fileName("2015.03.06", "1" + QString(150, '0'), "0.7145", 4),
            {{"0.7145", ProfileFileWriter::pulse(64, 20, 5)}});
        auto* form = new ProfileForm(dir, "periods", t->window);
        QTest::qWait(20);
        const int before = form->width();
        form->ui->comboBoxMaximums->setCurrentIndex(0);
        QTest::qWait(20);
        const auto links = form->ui->groupBoxBestProfiles->findChildren<QLabel*>();
        const bool shown = std::any_of(links.begin(), links.end(), [](const QLabel* link) {
            const QString whole = link->toolTip().isEmpty() ? link->text() : link->toolTip();
            return link->isVisible() && whole.contains(QString(150, '0'));
        });
        return qMakePair(before, shown ? form->width() : -1);
    });
    QTest::newRow("directory name") << Widths([](TestFormColumns* t) {
        auto* ordinary = new NativeMultiForm(t->nativeDir, t->window);
        QTest::qWait(20);
        const int before = ordinary->width();
        auto* named = new NativeMultiForm(t->tmp.filePath("N1/" + t->longName), t->window);
        QTest::qWait(20);
        return qMakePair(before, named->width());
    });
    QTest::newRow("path in an error list") << Widths([](TestFormColumns* t) {
        const auto panelWidth = [](const QString& text) {
            auto* panel = new FourierGrafikInfo(nullptr);
            panel->grafikType = "fourier";
            panel->names = {"fourier of sum channels"};
            panel->text = text;
            panel->createWidgets();
            WorkArea::install({panel});
            QTest::qWait(20);
            return panel->width();
        };
        const QString errors = "sigmaMedian = 1.0000\n\nErrors:\nCan't read ";
        return qMakePair(panelWidth(errors + "a/b.txt"), panelWidth(errors + t->tmp.filePath(t->longName)));
    });
}

// Texts of any length (links, directory names, paths of unreadable files) leave the column as wide
// as its controls make it.
void TestFormColumns::longTextsKeepTheWidth() {
    QFETCH(Widths, widths);
    const QPair<int, int> w = widths(this);
    QVERIFY(w.first > 0);
    QCOMPARE(w.second, w.first);
}

QTEST_MAIN(TestFormColumns)
#include "tst_formcolumns.moc"
