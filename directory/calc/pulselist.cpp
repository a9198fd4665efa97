#include "directory/calc/pulselist.h"

#include <QIODevice>
#include <QRegularExpression>

QString PulseList::fileName(const QString& dir) {
    return dir + QStringLiteral("/list_in_files.txt");
}

QString PulseList::header() {
    return QStringLiteral("N File Position Disp Harm Snr Check");
}

QVector<QString> PulseList::rows(QIODevice& in) {
    static const QRegularExpression tabs(QStringLiteral("\t+"));
    static const QRegularExpression blanks(QStringLiteral(" +"));
    QVector<QString> out{header()};
    int n = 1;
    while (!in.atEnd()) {
        QString line = QString::fromUtf8(in.readLine());
        line.remove(QLatin1Char('\n'));
        line.remove(QLatin1Char('\r'));
        // A pulse line starts with a 21-character name ddmmyy_????????.pnthr.
        if (line.size() < 21 || line.at(6) != QLatin1Char('_') ||
            line.mid(15, 6) != QLatin1String(".pnthr")) {
            continue;
        }
        line.replace(QLatin1Char(','), QLatin1Char('.'));
        line.replace(tabs, QStringLiteral(" "));
        line.replace(blanks, QStringLiteral(" "));
        out << QStringLiteral("%1 20%2.%3.%4 %5")
                   .arg(QString::number(n), line.mid(4, 2), line.mid(2, 2), line.left(2), line.mid(22));
        ++n;
    }
    return out;
}
