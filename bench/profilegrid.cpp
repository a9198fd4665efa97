// Times the "periods" grid of the profile form (20 periods by 25 DMs of 512 samples unless given as
// arguments: DMs periods samples; a year's best date is 128 3 256) drawn by drawGrafikMulti end to end
// (cells, work-area swap, grid build, first paint), against as many plain widgets of the cell size with
// titles in a plain grid shown in place of the previous one (plaingrid.h), in the same run. Prints how
// many cells painted: only those in view should.
#include "app/mainwindow.h"
#include "benchclock.h"
#include "core/multigrafik.h"
#include "core/profilegrafik.h"
#include "plaingrid.h"
#include "profiles/profileform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
int dms = 25;
int periods = 20;
int samples = 512;

void writeFiles(const QString& root) {
    for (int d = 0; d < dms; ++d) {
        QFile file(root + QStringLiteral("/p2020.01.01_dm%1_p0.7000_s4.txt").arg(10 + d));
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        QByteArray text;
        for (int p = 0; p < periods; ++p) {
            text += "period=" + QByteArray::number(0.7 + 0.0001 * p, 'f', 4) + "\n";
            for (int i = 0; i < samples; ++i) {
                const double x = (i - samples / 2 - (d * 7 + p) % 60) / 6.0;
                text += QByteArray::number(1 + 5 * std::exp(-x * x / 2) + 0.3 * std::sin(i * 0.7 + d + p),
                                           'f', 5);
                text += i == samples - 1 ? '\n' : ' ';
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

double runGrid(ProfileForm* form) {
    const auto t0 = Bench::Clock::now();
    form->drawGrafikMulti();
    Bench::settle();
    return Bench::secondsSince(t0);
}

double runPlain(Bench::PlainHost& plain, int cellWidth, int cellHeight) {
    const auto t0 = Bench::Clock::now();
    plain.replaceBy(Bench::plainGrid(periods, dms, cellWidth, cellHeight));
    Bench::settle();
    return Bench::secondsSince(t0);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 3) {
        dms = std::atoi(argv[1]);
        periods = std::atoi(argv[2]);
        samples = std::atoi(argv[3]);
    }
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/N1/J0000+00");
    QDir().mkpath(root);
    writeFiles(root);
    auto* window = new MainWindow;
    window->resize(1400, 900);
    window->show();
    auto* form = new ProfileForm(root, QStringLiteral("periods"), window);
    Bench::settle();

    PaintCounter counter;
    app.installEventFilter(&counter);
    runGrid(form);
    const int painted = counter.painted.size();
    app.removeEventFilter(&counter);

    const int cellWidth = form->multiGrafik ? form->multiGrafik->cellWidth : 200;
    const int cellHeight = form->multiGrafik ? form->multiGrafik->cellHeight : 200;
    Bench::PlainHost plain;
    plain.host.resize(window->centralWidget()->size());
    plain.host.show();
    Bench::settle();

    double grid = 1e9, bare = 1e9;
    for (int rep = 0; rep < 5; ++rep) {
        grid = std::min(grid, runGrid(form));
        bare = std::min(bare, runPlain(plain, cellWidth, cellHeight));
    }
    std::printf("periods grid of %d cells (%d samples) by drawGrafikMulti: %.1f ms, plain widgets %.1f ms, "
                "ratio %.2f; %d cells painted\n",
                dms * periods, samples, grid * 1000, bare * 1000, grid / bare, painted);
    delete window;
    return 0;
}
