#ifndef SHOWINFO_H
#define SHOWINFO_H

#include <QString>
#include <QWidget>

// "Read binary to text": writes the text rendering of an observation file or of a Fourier/FFA result
// file next to it and reports the outcome in a box. Never shown; it only parents the boxes. An
// observation file is read and written under a BusyGuard with the status-bar progress bar shown: it
// runs 0 to 50 while the file is read and 50 to 100 while its text is written.
class ShowInfo : public QWidget {
    Q_OBJECT
public:
    explicit ShowInfo(QWidget* parent);
    void rewriteToText(const QString& fileName);
};

#endif // SHOWINFO_H
