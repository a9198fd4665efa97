#include "core/clicklable.h"
#include "core/desktop.h"
#include "core/formcolumn.h"
#include "core/tools.h"
#include "directory/views/fouriergrafikinfo.h"

#include <QDebug>
#include <QFile>
#include <QLabel>
#include <QLayoutItem>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextStream>
#include <QVBoxLayout>

void FourierGrafikInfo::showMapInfo(QPointF p0, QPointF p1, QPointF p2) {
    if (grafikType != QLatin1String("map") && grafikType != QLatin1String("ffaMap")) {
        return;
    }
    const bool n4 = plosh == QLatin1String("N4");
    if (clickLabel) {
        clickLabel->setText(QStringLiteral("period:       %1 (%2 - %3)\n")
                                .arg(p0.x(), 0, 'f', 4)
                                .arg(p1.x(), 0, 'f', 3)
                                .arg(p2.x(), 0, 'f', 3) +
                            QStringLiteral("dispersion: %1   (%2 - %3)\n\n")
                                .arg(p0.y(), 0, 'f', 1)
                                .arg(p1.y(), 0, 'f', 1)
                                .arg(p2.y(), 0, 'f', 1) +
                            (n4 ? QStringLiteral("position           period     disp     snr     sum")
                                : QStringLiteral("position           period     disp     snr")));
    }
    if (harmonicsLayout) {
        while (QLayoutItem* item = harmonicsLayout->takeAt(0)) {
            if (QWidget* w = item->widget()) {
                w->disconnect();
                delete w;
            }
            delete item;
        }
    }
    if (mapPoints && harmonicsLayout) {
        for (int i = 0; i < mapPoints->size(); ++i) {
            const MapPoint& p = mapPoints->at(i);
            if (!p.selected || !(p1.x() < p.period && p.period < p2.x()) ||
                !(p1.y() < p.dispersion && p.dispersion < p2.y())) {
                continue;
            }
            QString text = QStringLiteral("%1   %2\t%3\t%4")
                               .arg(Tools::fourierFileBase(p.shift, p.averages, p.withNulls != 0))
                               .arg(p.period, 0, 'f', 3)
                               .arg(p.dispersion)
                               .arg(p.snr, 0, 'f', 1);
            if (n4) {
                text = QStringLiteral("%1\t%2").arg(text).arg(p.sumAlfa);
            }
            auto* link = new ClickLable(text, this);
            link->setIndex(i);
            link->setStyleSheet(selectedHarmonic >= 0 && selectedHarmonic == i
                                    ? QStringLiteral("color: red")
                                    : QStringLiteral("color: black"));
            harmonicsLayout->addWidget(link);
            connect(link, &ClickLable::clicked, this, &FourierGrafikInfo::clickedOnHarmonic);
        }
    }
    clickPoint0 = p0;
    clickPoint1 = p1;
    clickPoint2 = p2;
}

void FourierGrafikInfo::show3sigmaInfo(QPointF p0, QString info) {
    if (clickLabel) {
        clickLabel->setText(QStringLiteral("Clicked on point: \ndisp=%1   snr=%2")
                                .arg(p0.x(), 0, 'g', 6)
                                .arg(p0.y(), 0, 'g', 6));
    }
    if (!info.isEmpty()) {
        const QStringList parts = info.split(QLatin1Char('#'));
        const int i = parts[0].toInt();
        if (parts.size() >= 4 && i >= 0 && i < names.size()) {
            const double dm = parts[1].toDouble();
            const double snr = parts[2].toDouble();
            if (pointInfoLabel) {
                pointInfoLabel->setStyleSheet(QStringLiteral("color: black"));
                // One line per contributing file, each with its path.
                FormColumn::setElidedText(
                    pointInfoLabel,
                    QStringLiteral("\n%1\ndisp=%2\nsnr=%3\n\nfile name\t\t           position\t  snr\n%4")
                        .arg(names[i])
                        .arg(dm, 0, 'g', 6)
                        .arg(snr, 0, 'g', 6)
                        .arg(parts[3]));
            }
            if (writeButton) {
                writeButton->show();
            }
            clickPoint0 = QPointF(dm, snr);
            pointInfo = info;
            return;
        }
    }
    if (writeButton) {
        writeButton->hide();
    }
    if (pointInfoLabel) {
        pointInfoLabel->setStyleSheet(QStringLiteral("color: red"));
        FormColumn::setElidedText(pointInfoLabel, QStringLiteral("\nPoint not found, click on circle!"));
    }
}

void FourierGrafikInfo::write3sigmaToFile() {
    Desktop* desktop = Desktop::instance();
    if (!(clickPoint0.x() > 0) || pointInfo.isEmpty()) {
        desktop->warning(this, QStringLiteral("Error"), QStringLiteral("Нет информации для записи в файл"));
        return;
    }
    const QStringList parts = pointInfo.split(QLatin1Char('#'));
    const int i = parts[0].toInt();
    if (parts.size() < 4 || i < 0 || i >= names.size()) {
        desktop->warning(this, QStringLiteral("Error"),
                         QStringLiteral("Неверная информация о точке, не могу записать в файл"));
        return;
    }
    QString pattern = names[i].mid(9, 10);
    const QString harmonic = names[i].mid(30);
    const double dm = clickPoint0.x();
    const QString sum = QString::number(clickPoint0.y(), 'g', 6).replace(QLatin1Char('.'), QLatin1Char(','));

    QString lines = pointInfo;
    lines.replace(QLatin1String(".pnthr"), QLatin1String("&pnthr"));
    lines.replace(QLatin1Char('.'), QLatin1Char(','));
    lines.replace(QLatin1Char('&'), QLatin1Char('.'));
    lines.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
    lines.remove(QRegularExpression(QStringLiteral("[^#]*#")));

    pattern.replace(QLatin1Char('*'), QLatin1Char('X'));
    const QString dmText = QString::number(dm, 'g', 6);
    const QString fileName =
        QStringLiteral("%1/info_harm%2_disp%3_%4.txt").arg(dir, harmonic, dmText, pattern);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        desktop->warning(
            this, QStringLiteral("Error"),
            QStringLiteral("Не могу открыть файл для записи,\nвозможно, он существует и открыт в "
                           "другой программе\n") +
                fileName);
        qDebug().noquote() << "ERROR! Can't open file for write " + fileName;
        return;
    }
    QTextStream out(&file);
    out << "file position dispersion harmonic snr\n";
    for (const QString& piece : lines.split(QLatin1Char('\n'))) {
        const QStringList fields = piece.split(QLatin1Char(' '));
        if (fields.size() == 3) {
            out << QStringLiteral("%1 %2 %3 %4 %5\n").arg(fields[0], fields[1], dmText, harmonic, fields[2]);
        }
    }
    out << QStringLiteral("sum - - - %1\n").arg(sum);
    out.flush();
    file.close();
    desktop->warning(this, QStringLiteral(" "),
                     QStringLiteral("Информация записана в файл %1").arg(fileName));
}
