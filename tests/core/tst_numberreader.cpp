#include "core/filebytes.h"
#include "core/numberreader.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

// Same value down to the sign of a zero; NaN equals NaN.
bool sameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// A device that gives at most a few bytes per read and tells no size, as a pipe does.
class TrickleDevice : public QIODevice {
public:
    explicit TrickleDevice(QByteArray bytes) : data(std::move(bytes)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* to, qint64 max) override {
        const qint64 n = qMin<qint64>(qMin<qint64>(max, 7), data.size() - at);
        std::memcpy(to, data.constData() + at, size_t(n));
        at += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data;
    qint64 at = 0;
};

QStringList lines(const QByteArray& text) {
    QStringList out;
    const char* at = text.constData();
    const char* b = nullptr;
    const char* e = nullptr;
    while (NumberReader::nextLine(at, text.constData() + text.size(), b, e)) {
        out << QString::fromLatin1(b, int(e - b));
    }
    return out;
}

} // namespace

class TestNumberReader : public QObject {
    Q_OBJECT
private slots:
    void readsAsTheToolkit_data();
    void readsAsTheToolkit();
    void nonFiniteCountsZero();
    void linesAsATextStreamGivesThem();
    void fileBytesWholeAcrossReads();
    void fileBytesCleaning();
    void tabFields_data();
    void tabFields();
};

void TestNumberReader::readsAsTheToolkit_data() {
    QTest::addColumn<QByteArray>("piece");
    const char* pieces[] = {
        // integers, decimals, exponents
        "0",
        "7",
        "-12",
        "00012",
        "2147483647",
        "2147483648",
        "-2147483648",
        "-2147483649",
        "123456789012345678901234567890",
        "0.5",
        ".5",
        "5.",
        "-.5",
        "3.14159265358979323846264338327950288",
        "1e5",
        "1E-5",
        "2.5e+3",
        "1.e5",
        "0e99999999999",
        "1e0005",
        "4.9e-324",
        "1e-310",
        "3.4028235e38",
        "3.40282357e38",
        "1e-45",
        "1e-46",
        // a leading '+', and signs that are not
        "+1",
        "+0",
        "-0",
        "+.5",
        "+-1",
        "-+1",
        "--1",
        "++1",
        "+",
        "-",
        // blanks, tabs and other ASCII space around a number, never inside it
        " 1",
        "1 ",
        "\t-2.5\t",
        " \v3\f\r",
        "1 2",
        "- 1",
        "1\t2",
        // the words of non-finite values and overflow
        "nan",
        "NaN",
        "NAN",
        "+nan",
        "-nan",
        "inf",
        "Inf",
        "+INF",
        "-inf",
        "-iNf",
        "infinity",
        "nan(1)",
        "1e400",
        "-1e400",
        "1e-400",
        "2.4e-324",
        "1e99999999999",
        // malformed pieces
        "",
        ".",
        "e5",
        ".e5",
        "1e",
        "1e+",
        "12e-",
        "1.5e3x",
        "1..2",
        "1,5",
        "1_000",
        "0x10",
        "1d",
        "abc",
        // pieces of other scripts: a non-breaking space is space, a byte-order mark and a broken
        // sequence are not
        "\xC2\xA0"
        "1",
        "1\xE2\x80\x83",
        "\xEF\xBB\xBF"
        "1",
        "\xE2 1",
        "\xD9\xA3",
    };
    for (const char* p : pieces) {
        QTest::newRow(QByteArray(p).toPercentEncoding().constData()) << QByteArray(p);
    }
    // A number longer than a line of any real file.
    QTest::newRow("800 digits") << (QByteArray("0.") + QByteArray(800, '3') + "e10");
}

void TestNumberReader::readsAsTheToolkit() {
    QFETCH(QByteArray, piece);
    const char* b = piece.constData();
    const char* e = b + piece.size();
    const QString text = QString::fromUtf8(piece.constData(), piece.size());
    // The toolkit's decoding drops a byte-order mark at the start of a text; inside a line it is a
    // character, which is where a number piece meets it.
    const QString inLine = piece.startsWith("\xEF\xBB\xBF") ? QChar(0xFEFF) + text : text;

    bool expectedOk = false;
    bool ok = true;
    const double d = NumberReader::toDouble(b, e, &ok);
    const double expected = inLine.toDouble(&expectedOk);
    QVERIFY2(sameDouble(d, expected), qPrintable(QString("%1 != %2").arg(d, 0, 'g', 17).arg(expected)));
    QCOMPARE(ok, expectedOk);

    const float f = NumberReader::toFloat(b, e, &ok);
    const float expectedFloat = inLine.toFloat(&expectedOk);
    QVERIFY(sameDouble(f, expectedFloat));
    QCOMPARE(ok, expectedOk);

    QCOMPARE(NumberReader::toInt(b, e, &ok), inLine.toInt(&expectedOk));
    QCOMPARE(ok, expectedOk);

    // In a line of blank-separated numbers, as the piece at the start, inside and at the end: the same
    // values as each piece between blanks read alone.
    const QByteArray line = piece + ' ' + piece + " -2.5 " + piece;
    const char* lb = line.constData();
    const char* le = lb + line.size();
    QVector<double> alone;
    NumberReader::forEachPiece(
        lb, le, ' ', [&](const char* pb, const char* pe) { alone << NumberReader::toDouble(pb, pe); });
    QVector<double> inPlace;
    NumberReader::forEachBlankNumber(lb, le, [&](double v) { inPlace << v; });
    QCOMPARE(inPlace.size(), alone.size());
    for (int i = 0; i < alone.size(); ++i) {
        QVERIFY2(sameDouble(inPlace[i], alone[i]), qPrintable(QString("piece %1").arg(i)));
    }
}

void TestNumberReader::nonFiniteCountsZero() {
    qint64 count = 0;
    QCOMPARE(NumberReader::finiteOr0(-2.5, count), -2.5);
    QCOMPARE(NumberReader::finiteOr0(std::numeric_limits<double>::denorm_min(), count),
             std::numeric_limits<double>::denorm_min());
    QCOMPARE(count, qint64(0));
    for (const char* word : {"nan", "inf", "-inf", "1e400"}) {
        QCOMPARE(NumberReader::finiteOr0(NumberReader::toDouble(word, word + std::strlen(word)), count), 0.0);
    }
    QCOMPARE(count, qint64(4));
    QTest::ignoreMessage(QtDebugMsg, "Error!  4  values that are not finite numbers read as 0 in  f.txt");
    NumberReader::reportNonFinite(count, "f.txt");
    NumberReader::reportNonFinite(0, "quiet.txt"); // no line for a clean file
}

void TestNumberReader::linesAsATextStreamGivesThem() {
    QCOMPARE(lines("a\nb"), (QStringList{"a", "b"}));
    QCOMPARE(lines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    QCOMPARE(lines("a\r\rb\r"), (QStringList{"a\r\rb"}));
    QCOMPARE(lines("\n"), (QStringList{""}));
    QCOMPARE(lines(""), QStringList());
}

void TestNumberReader::fileBytesWholeAcrossReads() {
    // Numbers that a reading in pieces would cut: a pipe of 7-byte reads, and a file whose 64 KiB
    // mark falls inside a number.
    QByteArray text;
    while (text.size() < (64 << 10) + 100) {
        text += "12345.678 ";
    }
    TrickleDevice pipe(text);
    const FileBytes fromPipe(pipe);
    QVERIFY(fromPipe.opened());
    QCOMPARE(QByteArray(fromPipe.begin(), int(fromPipe.size())), text);

    QTemporaryDir dir;
    const QString path = dir.filePath("n.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    {
        const FileBytes whole(path);
        QVERIFY(whole.opened());
        // A second reader alive on the same thread does not share the first one's buffer.
        const FileBytes nested(path);
        QCOMPARE(QByteArray(whole.begin(), int(whole.size())), text);
        QCOMPARE(QByteArray(nested.begin(), int(nested.size())), text);
        QVERIFY(whole.begin() != nested.begin());
    }
    // The rest of an open device, from where it stands.
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.seek(10);
    const FileBytes rest(file);
    QCOMPARE(QByteArray(rest.begin(), int(rest.size())), text.mid(10));

    const FileBytes missing(dir.filePath("missing.txt"));
    QVERIFY(!missing.opened());
    QCOMPARE(missing.size(), qint64(0));
}

void TestNumberReader::fileBytesCleaning() {
    QByteArray text("\xEF\xBB\xBF"
                    "1\r\n2\r3\n");
    QBuffer buffer(&text);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    FileBytes bytes(buffer);
    bytes.skipByteOrderMark();
    bytes.removeCarriageReturns();
    QCOMPARE(QByteArray(bytes.begin(), int(bytes.size())), QByteArray("1\n23\n"));

    // A text stream drops a character cut off at the end, but keeps a byte that starts none; it reads
    // a text of UTF-16 by its byte-order mark; in text mode it looks for the mark before the carriage
    // returns go.
    const QByteArray utf16("\xFF\xFE"
                           "1\0 \0"
                           "2\0\n\0",
                           10);
    for (const bool textMode : {false, true}) {
        for (QByteArray text : {QByteArray("\xEF\xBB\xBF"
                                           "2 \xE6"),
                                QByteArray("2 \xF0\x9F\x98\r"), QByteArray("2 \xC0"),
                                QByteArray("\r\xEF\xBB\xBF"
                                           "2\r\n"),
                                utf16}) {
            QBuffer streamed(&text);
            QVERIFY(streamed.open(textMode ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly));
            const QString expected = QTextStream(&streamed).readAll();
            QBuffer raw(&text);
            QVERIFY(raw.open(QIODevice::ReadOnly));
            FileBytes trimmed(raw);
            trimmed.trimAsTextStream(textMode);
            QCOMPARE(NumberReader::text(trimmed.begin(), trimmed.end()), expected);
        }
    }
}

// Fields joined by "|"; `stars` drops a star right after a tab, at most three fields are kept.
void TestNumberReader::tabFields_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("stars");
    QTest::addColumn<QByteArray>("fields");
    QTest::newRow("blanks and line end go") << QByteArray(" a b\t c \r\n") << false << QByteArray("ab|c");
    QTest::newRow("empty fields left out") << QByteArray("\t\ta\t \t\tb\t") << false << QByteArray("a|b");
    QTest::newRow("at most three") << QByteArray("1\t2\t3\t4") << false << QByteArray("1|2|3");
    QTest::newRow("star after a tab") << QByteArray("a\t*1\t**2\t *3") << true << QByteArray("a|1|*2");
    QTest::newRow("star kept without the flag") << QByteArray("a\t*1") << false << QByteArray("a|*1");
    QTest::newRow("blank line") << QByteArray(" \t \r") << true << QByteArray();
}

void TestNumberReader::tabFields() {
    QFETCH(QByteArray, line);
    QFETCH(bool, stars);
    QFETCH(QByteArray, fields);
    QByteArray clean("left from a longer line before");
    const char* field[3];
    const char* fieldEnd[3];
    const int n = NumberReader::tabFields(line.constData(), line.constData() + line.size(), clean, stars,
                                          field, fieldEnd, 3);
    QList<QByteArray> got;
    for (int i = 0; i < n; ++i) {
        got << QByteArray(field[i], int(fieldEnd[i] - field[i]));
    }
    QCOMPARE(got.join('|'), fields);
}

QTEST_GUILESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
