#ifndef FILEBYTES_H
#define FILEBYTES_H

#include <QByteArray>
#include <QString>

class QIODevice;

// The bytes of one text file, or of the rest of an open device, read with one read into a buffer that
// the calling thread keeps for its next file, so reading a directory allocates once per thread, not per
// file. A second FileBytes alive on the same thread reads into a buffer of its own; a buffer grown past
// 16 MiB is given back when its FileBytes ends. The bytes stay valid while the object lives.
class FileBytes {
public:
    // opened() is false when the file cannot be opened.
    explicit FileBytes(const QString& path);
    // With asTextStream, the bytes as a text stream on the device would decode them (trimAsTextStream).
    explicit FileBytes(QIODevice& device, bool asTextStream = false);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool opened() const { return isOpen; }
    const char* begin() const { return bytes->constData() + start; }
    const char* end() const { return bytes->constData() + bytes->size(); }
    qint64 size() const { return bytes->size() - start; }

    // Leaves out a UTF-8 byte-order mark at the start, which decoding the file as text drops.
    void skipByteOrderMark();
    // The bytes as a text stream decodes them, in UTF-8: a file that starts with the byte-order mark of
    // UTF-16 or UTF-32 is decoded from that; the byte-order mark and a character cut off at the end are
    // left out. `textMode`: every carriage return goes too, as the file opened in text mode gave them
    // (after the stream saw whether the file starts with a byte-order mark).
    void trimAsTextStream(bool textMode);
    // Removes every carriage return, as reading a device opened in text mode does.
    void removeCarriageReturns();

    // The name of the file behind a device, for messages about it.
    static QString nameOf(const QIODevice& device);

private:
    void acquire();
    void readRest(QIODevice& device);

    QByteArray* bytes;
    QByteArray own;
    bool borrowed = false;
    bool isOpen = false;
    int start = 0;
};

#endif // FILEBYTES_H
