#include "single/arraygrafik.h"

#include "core/data.h"
#include "core/desktop.h"
#include "core/filebytes.h"
#include "core/naturalorder.h"
#include "core/numberreader.h"
#include "core/plotframe.h"
#include "core/reader.h"
#include "core/settings.h"
#include "core/tools.h"
#include "core/workarea.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProgressBar>
#include <QRegExp>

#include <algorithm>
#include <cmath>
#include <cstring>

ArrayGrafik::ArrayGrafik(QString path, QWidget* parent) : QWidget(parent) {
    hide();
    setObjectName(QStringLiteral("arrayGrafik"));
    WorkArea::clear();
    progressBar = Settings::getInstance()->getProgressBar();

    Desktop* desktop = Desktop::instance();
    const QString error = QStringLiteral("Error");
    if (QFileInfo(path).isFile()) {
        if (path.endsWith(QLatin1String(".pnthr")) || path.endsWith(QLatin1String(".pnt"))) {
            readPnt(path);
        } else if (path.endsWith(QLatin1String(".txt"))) {
            for (const auto& array : readArraysFromTxt(path)) {
                if (!array.isEmpty()) {
                    arrGrafiks.append(array);
                }
            }
        } else {
            desktop->warning(this, error, QStringLiteral("The file must have the txt/pnt/pnthr extension!"));
            return;
        }
        if (arrGrafiks.isEmpty()) {
            desktop->warning(this, error, QStringLiteral("There is arrays of numbers in file!"));
            return;
        }
    } else {
        int files = 0;
        QFileInfoList entries =
            QDir(path).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::NoSort);
        NaturalOrder::sortByFileName(entries);
        for (const QFileInfo& entry : entries) {
            if (!entry.fileName().endsWith(QLatin1String(".txt"))) {
                continue;
            }
            for (const auto& array : readArraysFromTxt(entry.filePath())) {
                if (!array.isEmpty()) {
                    arrGrafiks.append(array);
                }
            }
            ++files;
        }
        if (files == 0) {
            desktop->warning(this, error, QStringLiteral("There is no .txt files in directory!"));
            return;
        }
        if (arrGrafiks.isEmpty()) {
            desktop->warning(this, error, QStringLiteral("There is arrays of numbers in directory!"));
            return;
        }
    }

    setMaxMin();
    colours = {QStringLiteral("red"),     QStringLiteral("green"),  QStringLiteral("blue"),
               QStringLiteral("black"),   QStringLiteral("yellow"), QStringLiteral("darkCyan"),
               QStringLiteral("magenta"), QStringLiteral("darkRed")};
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    WorkArea::install({this});
    valid = true;
}

QVector<QVector<float>> ArrayGrafik::readArraysFromTxt(QString path) {
    QVector<QVector<float>> result;
    if (!path.endsWith(QLatin1String(".txt"))) {
        return result;
    }
    FileBytes bytes(path);
    if (!bytes.opened()) {
        qDebug() << "ERROR! Can't open file " << path;
        return result;
    }
    // As the text stream of a file opened in text mode read it.
    bytes.trimAsTextStream(true);
    QVector<float> current;
    auto close = [&]() {
        if (!current.isEmpty()) {
            result.append(current);
            current = QVector<float>();
        }
    };
    const char* at = bytes.begin();
    const char* line = nullptr;
    const char* end = nullptr;
    while (NumberReader::nextLine(at, bytes.end(), line, end)) {
        if (NumberReader::startsWith(line, end, "START")) {
            result.clear();
            current.clear();
            continue;
        }
        if (NumberReader::startsWith(line, end, "STOP")) {
            break;
        }
        // Only digits, points, blanks and minus signs make a line of numbers; digits of other scripts
        // count as digits, as the toolkit's pattern has them.
        bool blank = true;
        bool numeric = true;
        bool ascii = true;
        for (const char* p = line; p < end; ++p) {
            const char c = *p;
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            blank = blank && NumberReader::isSpace(c);
            numeric = numeric && ((c >= '0' && c <= '9') || c == '.' || c == ' ' || c == '-');
        }
        if (!ascii) {
            const QString text = NumberReader::text(line, end);
            blank = text.simplified().isEmpty();
            numeric = QRegExp(QStringLiteral("[^\\d\\. -]+")).indexIn(text) < 0;
        }
        if (blank || !numeric) {
            close();
            continue;
        }
        if (!std::memchr(line, ' ', size_t(end - line))) {
            current.append(NumberReader::toFloat(line, end));
            continue;
        }
        close();
        // One array of the line split at every single blank, empty parts reading as 0.
        QVector<float> array(NumberReader::countPieces(line, end, ' '));
        float* out = array.data();
        NumberReader::forEachPiece(
            line, end, ' ', [&](const char* b, const char* e) { *out++ = NumberReader::toFloat(b, e); });
        result.append(array);
    }
    close();
    return result;
}

bool ArrayGrafik::readPnt(QString path) {
    // The cached record's arrays are freed before a new file is read, so a large file never sits in
    // memory twice, and the cache never points at arrays nobody will free.
    Settings* settings = Settings::getInstance();
    Data cached = settings->getData();
    if (cached.samples != nullptr) {
        freeSamples(cached);
        Data empty;
        settings->setData(empty);
    }

    if (progressBar) {
        progressBar->show();
    }
    Reader reader(nullptr);
    if (progressBar) {
        connect(&reader, SIGNAL(progress(int)), progressBar, SLOT(setValue(int)));
    }
    Data data = reader.readFile(path, false);
    if (data.samples != nullptr && data.channels > 0 && data.npoints > 0) {
        const int last = data.channels - 1;
        for (int m = 0; m < data.modules; ++m) {
            for (int r = 0; r < data.rays; ++r) {
                const float* src = data.samples[m][last][r];
                arrGrafiks.append(QVector<float>(src, src + data.npoints));
            }
        }
    }
    freeSamples(data);
    settings->setData(data);
    if (progressBar) {
        progressBar->hide();
    }
    return true;
}

void ArrayGrafik::setMaxMin() {
    max = 0;
    min = 0;
    if (arrGrafiks.isEmpty() || arrGrafiks.first().isEmpty()) {
        return;
    }
    // Values that are not finite would poison the range of every curve; they are left out of it.
    bool have = false;
    for (const auto& array : arrGrafiks) {
        for (float v : array) {
            if (!std::isfinite(v)) {
                continue;
            }
            if (!have) {
                max = min = v;
                have = true;
            } else if (v > max) {
                max = v;
            } else if (v < min) {
                min = v;
            }
        }
    }
}

void ArrayGrafik::redraw() {
    setMaxMin();
    update();
}

void ArrayGrafik::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (!PlotFrame::paintable(size())) {
        return;
    }
    QPainter painter(this);
    PlotFrame::paintBackground(&painter, size());
    drawFrame(&painter);
    drawGraphs(&painter);
}

void ArrayGrafik::drawFrame(QPainter* painter) {
    PlotFrame::drawFrame(painter, size());
}

void ArrayGrafik::drawLabel(QPainter* painter, QPoint at, const QString& text) {
    PlotFrame::drawLabel(painter, at, text);
}

void ArrayGrafik::drawGraphs(QPainter* painter) {
    if (arrGrafiks.isEmpty()) {
        qDebug() << "Error! arrGrafiks.size()=0";
        return;
    }
    const PlotFrame::Mapping<double> map(size(), arrGrafiks.first().size(), double(min), double(max));
    for (int i = 0; i < arrGrafiks.size(); ++i) {
        const QVector<float>& array = arrGrafiks[i];
        painter->setPen(
            QColor(colours.isEmpty() ? QStringLiteral("black") : colours[Tools::wrapIndex(i, 8)]));
        // The last value of an array is not joined.
        PlotFrame::drawSeries(painter, map, array.constData(), qint64(array.size()) - 1);
    }
    painter->setPen(Qt::black);
    for (const auto& label : PlotFrame::axisLabels(map)) {
        drawLabel(painter, label.at, label.text);
    }
}
