// Prints an HTML help text to a PDF file at build time: makedoc input.html output.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makedoc input.html output.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makedoc: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(in.readAll()));
    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
    doc.print(&writer);
    return 0;
}
