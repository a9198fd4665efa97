#include "core/filebytes.h"

#include "core/numberreader.h"

#include <QFile>
#include <QIODevice>
#include <QTextCodec>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

struct ThreadBuffer {
    QByteArray bytes;
    bool inUse = false;
};

ThreadBuffer& threadBuffer() {
    thread_local ThreadBuffer buffer;
    return buffer;
}

constexpr int keptCapacity = 16 << 20;

} // namespace

FileBytes::FileBytes(const QString& path) : bytes(&own) {
    acquire();
    QFile file(path);
    // Unbuffered: the bytes go straight into the buffer, not through the device's own first.
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        isOpen = true;
        readRest(file);
    }
}

FileBytes::FileBytes(QIODevice& device, bool asTextStream) : bytes(&own) {
    acquire();
    isOpen = device.isOpen();
    if (!isOpen) {
        return;
    }
    // A text stream reads the device's own bytes and drops carriage returns itself.
    const bool textMode = device.isTextModeEnabled();
    if (asTextStream) {
        device.setTextModeEnabled(false);
    }
    readRest(device);
    if (asTextStream) {
        device.setTextModeEnabled(textMode);
        trimAsTextStream(textMode);
    }
}

FileBytes::~FileBytes() {
    if (bytes->capacity() > keptCapacity) {
        *bytes = QByteArray();
    }
    if (borrowed) {
        threadBuffer().inUse = false;
    }
}

void FileBytes::acquire() {
    ThreadBuffer& shared = threadBuffer();
    if (!shared.inUse) {
        shared.inUse = true;
        borrowed = true;
        bytes = &shared.bytes;
    }
    bytes->resize(0); // a buffer whose capacity was reserved keeps it
}

void FileBytes::readRest(QIODevice& device) {
    constexpr qint64 most = std::numeric_limits<int>::max() - 64; // what a QByteArray holds
    qint64 have = 0;
    // A file is read with one read of the size it has now; a device that tells no size is read on in
    // pieces until it gives nothing.
    const qint64 told = device.isSequential() ? 0 : std::min(device.size() - device.pos(), most);
    if (told > 0) {
        bytes->reserve(int(told));
        bytes->resize(int(told));
        have = std::max<qint64>(device.read(bytes->data(), told), 0);
    } else {
        for (;;) {
            if (have == bytes->size()) {
                const qint64 grown = std::min(std::max<qint64>(have * 2, 64 << 10), most);
                if (grown == have) {
                    break;
                }
                bytes->reserve(int(grown));
                bytes->resize(int(grown));
            }
            const qint64 got = device.read(bytes->data() + have, bytes->size() - have);
            if (got <= 0) {
                break;
            }
            have += got;
        }
    }
    bytes->resize(int(have));
}

void FileBytes::skipByteOrderMark() {
    if (size() >= 3 && std::memcmp(begin(), "\xEF\xBB\xBF", 3) == 0) {
        start += 3;
    }
}

void FileBytes::trimAsTextStream(bool textMode) {
    // A text stream looks for a byte-order mark and decodes before it drops carriage returns. The marks of
    // UTF-16 (either order) and UTF-32 (either order starts as UTF-16 does) make it decode from those.
    const auto* u = reinterpret_cast<const unsigned char*>(begin());
    const bool wide =
        size() >= 2 && ((u[0] == 0xFE && u[1] == 0xFF) || (u[0] == 0xFF && u[1] == 0xFE) ||
                        (size() >= 4 && u[0] == 0 && u[1] == 0 && u[2] == 0xFE && u[3] == 0xFF));
    QTextCodec* codec = QTextCodec::codecForMib(106);
    if (wide) {
        codec = QTextCodec::codecForUtfText(QByteArray::fromRawData(begin(), int(qMin<qint64>(size(), 4))));
    } else {
        skipByteOrderMark();
    }
    const bool dropReturns = textMode && std::memchr(begin(), '\r', size_t(size()));
    if (dropReturns && !wide && !NumberReader::hasNonAscii(begin(), end())) {
        removeCarriageReturns(); // in ASCII, dropping the bytes is dropping the characters
        return;
    }
    if (wide || dropReturns) {
        QTextCodec::ConverterState state(wide ? QTextCodec::DefaultConversion : QTextCodec::IgnoreHeader);
        QString text = codec->toUnicode(begin(), int(size()), &state); // a cut last character waits, unused
        if (dropReturns) {
            text.remove(QLatin1Char('\r'));
        }
        *bytes = text.toUtf8();
        start = 0;
        return;
    }
    // The last character from its first byte: the decoder keeps it waiting for more when it is cut.
    int continuation = 0;
    while (continuation < 3 && continuation < size() &&
           (static_cast<unsigned char>(end()[-1 - continuation]) & 0xC0) == 0x80) {
        ++continuation;
    }
    if (continuation == size() || static_cast<unsigned char>(end()[-1 - continuation]) < 0xC0) {
        return;
    }
    const char* lead = end() - 1 - continuation;
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    codec->toUnicode(lead, int(end() - lead), &state);
    if (state.remainingChars > 0) {
        bytes->resize(int(lead - bytes->constData()));
    }
}

QString FileBytes::nameOf(const QIODevice& device) {
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return file ? file->fileName() : QStringLiteral("a text without a file");
}

void FileBytes::removeCarriageReturns() {
    char* data = bytes->data();
    char* from = data + start;
    char* const last = data + bytes->size();
    char* cr = static_cast<char*>(std::memchr(from, '\r', size_t(last - from)));
    if (!cr) {
        return;
    }
    bytes->resize(int(std::remove(cr, last, '\r') - data));
}
