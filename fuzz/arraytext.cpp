// Fuzzes the reading of arrays of numbers from text files and the painting of what was read: any bytes
// as the file, parsed by the array plot, then its range computed and the plot painted off screen.
#include "core/desktop.h"
#include "single/arraygrafik.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// No box may wait for a click during fuzzing.
class SilentDesktop : public Desktop {
public:
    void warning(QWidget*, const QString&, const QString&) override {}
    void information(QWidget*, const QString&, const QString&) override {}
};

int argc = 1;
char name[] = "fuzz_arraytext";
char* argv[] = {name, nullptr};

} // namespace

// Font caches and the offscreen screen are kept for the life of the process; nothing of ours leaks there.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libqoffscreen.so\nleak:QPlatformScreen::QPlatformScreen\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static SilentDesktop desktop;
    static const bool installed = (Desktop::setInstance(&desktop), true);
    // Refused at once (no such file): only its reading and painting are used.
    static ArrayGrafik grafik(QStringLiteral("/nonexistent/strellix_fuzz.dat"), nullptr);
    static const QString path =
        QDir::tempPath() + QStringLiteral("/strellix_fuzz_arraytext_%1.txt")
                               .arg(QString::number(QCoreApplication::applicationPid()));
    Q_UNUSED(platform);
    Q_UNUSED(installed);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    grafik.arrGrafiks = grafik.readArraysFromTxt(path);
    grafik.setMaxMin();
    if (!grafik.arrGrafiks.isEmpty()) {
        grafik.resize(320, 240);
        QImage image(grafik.size(), QImage::Format_ARGB32);
        grafik.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    }
    return 0;
}
