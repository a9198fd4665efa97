// Times the "periods" grid of the profile form, 20 periods by 25 DMs of 512 samples, drawn by
// drawGrafikMulti end to end (cells, work-area swap, grid build, first paint), against 500 bare widgets
// of the same size in the same grid put into the work area the same way, in the same run. Prints how
// many cells painted: only those in view should.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "core/workarea.h"
#include "profiles/profileform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {
constexpr int dms = 25;
constexpr int periods = 20;

void writeFiles(const QString& root) {
    for (int d = 0; d < dms; ++d) {
        QFile file(root + QStringLiteral("/p2020.01.01_dm%1_p0.7000_s4.txt").arg(10 + d));
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        QByteArray text;
        for (int p = 0; p < periods; ++p) {
            text += "period=" + QByteArray::number(0.7 + 0.0001 * p, 'f', 4) + "\n";
            for (int i = 0; i < 512; ++i) {
                const double x = (i - 256 - (d * 7 + p) % 60) / 6.0;
                text += QByteArray::number(1 + 5 * std::exp(-x * x / 2) + 0.3 * std::sin(i * 0.7 + d + p),
                                           'f', 5);
                text += i == 511 ? '\n' : ' ';
            }
        }
        file.write(text);
    }
}

class PaintCounter : public QObject {
public:
    QSet<QObject*> painted;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && qobject_cast<ProfileGrafik*>(o)) {
            painted.insert(o);
        }
        return false;
    }
};

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double runGrid(ProfileForm* form) {
    const auto t0 = Bench::Clock::now();
    form->drawGrafikMulti();
    settle();
    return Bench::secondsSince(t0);
}

double runBare(ProfileForm* form) {
    const auto t0 = Bench::Clock::now();
    auto* grid = new MultiGrafik(form);
    grid->columns = dms;
    grid->rows = periods;
    grid->columnTitles = {"period"};
    grid->rowTitles = {"DM"};
    grid->grafiks.clear();
    for (int r = 0; r < periods; ++r) {
        grid->rowTitles << QString::number(r);
        QVector<QWidget*> row;
        for (int c = 0; c < dms; ++c) {
            if (r == 0) {
                grid->columnTitles << QStringLiteral("DM=%1").arg(10 + c);
            }
            row << new QWidget(form);
        }
        grid->grafiks << row;
    }
    grid->draw();
    WorkArea::install({form, grid});
    settle();
    return Bench::secondsSince(t0);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/N1/J0000+00");
    QDir().mkpath(root);
    writeFiles(root);
    auto* window = new MainWindow;
    window->resize(1400, 900);
    window->show();
    auto* form = new ProfileForm(root, QStringLiteral("periods"), window);
    settle();

    PaintCounter counter;
    app.installEventFilter(&counter);
    runGrid(form);
    const int painted = counter.painted.size();
    app.removeEventFilter(&counter);

    double grid = 1e9, bare = 1e9;
    for (int rep = 0; rep < 5; ++rep) {
        grid = std::min(grid, runGrid(form));
        bare = std::min(bare, runBare(form));
    }
    std::printf("periods grid of %d cells by drawGrafikMulti: %.1f ms, bare widgets %.1f ms, ratio %.2f; "
                "%d cells painted\n",
                dms * periods, grid * 1000, bare * 1000, grid / bare, painted);
    delete window;
    return 0;
}
