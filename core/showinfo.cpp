#include "core/showinfo.h"

#include "core/busyguard.h"
#include "core/data.h"
#include "core/desktop.h"
#include "core/reader.h"
#include "core/settings.h"

#include <QProgressBar>
#include <QRegExp>

ShowInfo::ShowInfo(QWidget* parent) : QWidget(parent) {
    hide();
}

void ShowInfo::rewriteToText(const QString& fileName) {
    Desktop* desktop = Desktop::instance();
    const bool pnt = fileName.endsWith(QLatin1String(".pnt"));
    const bool pnthr = fileName.endsWith(QLatin1String(".pnthr"));
    if (pnt || pnthr) {
        const QString outName = pnt ? fileName.left(fileName.size() - 4) + QStringLiteral("_pnt.txt")
                                    : fileName.left(fileName.size() - 6) + QStringLiteral("_pnthr.txt");
        // Reading and writing an hour file take seconds each: the bar moves and the window keeps
        // painting meanwhile, as in every other long loop.
        BusyGuard busy;
        QProgressBar* bar = Settings::getInstance()->getProgressBar();
        if (bar) {
            bar->show();
            bar->setValue(0);
        }
        // Reading fills the bar's first half, writing its second.
        auto show = [bar](int value) {
            if (bar) {
                bar->setValue(value);
            }
        };
        Reader reader(nullptr);
        connect(&reader, &Reader::progress, this, [show](int percent) { show(percent / 2); });
        Data data = reader.readFile(fileName, false);
        int num = 0;
        if (data.npoints > 1) {
            num = Reader::writeDataAsText(data, outName, [show](int percent) { show(50 + percent / 2); });
        }
        if (bar) {
            bar->hide();
        }
        if (data.npoints <= 1) {
            desktop->warning(this, QStringLiteral("Error"), QStringLiteral("Error of read file!"));
        } else {
            desktop->warning(this, QStringLiteral("Message"),
                             QStringLiteral("npoints=%1 num=%2 file=%3")
                                 .arg(QString::number(data.npoints), QString::number(num), outName));
        }
        freeSamples(data);
        return;
    }

    if (QRegExp(QStringLiteral("f\\d\\d_n\\d_av\\d*.txt$")).indexIn(fileName) >= 0) {
        // Cutting four characters always gives a name other than the source, so it is never overwritten.
        const QString outName = fileName.left(fileName.size() - 4) + QStringLiteral("_text.txt");
        QString text = Reader::convertResultFileToText(fileName, outName);
        if (text.isEmpty()) {
            text = QStringLiteral("Файл переписан в текстовый вид:\n") + outName;
        }
        desktop->warning(this, QStringLiteral("Error"), text);
        return;
    }

    desktop->warning(
        this, QStringLiteral("Error"),
        QStringLiteral("Неверный формат файла!\n") + fileName +
            QStringLiteral("\n\nЗдесь мы читаем и переписываем в текстовый вид\nфайлы с Фурье/FFA "
                           "формата f00_n0_av0.txt или pnt/pnthr-файлы\nВыберите верный файл!"));
}
