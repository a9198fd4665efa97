#ifndef RECORDINGDESKTOP_H
#define RECORDINGDESKTOP_H

#include "core/desktop.h"

#include <QList>
#include <QStringList>

// Test double for the desktop seam: answers dialogs from queues and records every call.
// Installs itself on construction and restores the real desktop when destroyed.
class RecordingDesktop : public Desktop {
public:
    struct Call {
        QString
            kind; // "open", "save", "dir", "warning", "information", "about", "message", "question", "url"
        QString title;
        QString text;                    // message text, dialog start directory, or URL
        const QWidget* parent = nullptr; // of warnings and plain boxes
    };

    RecordingDesktop();
    ~RecordingDesktop() override;

    QStringList fileAnswers;      // answers of getOpenFileName / getSaveFileName, taken front first
    QStringList directoryAnswers; // answers of getExistingDirectory
    QMessageBox::StandardButton questionAnswer = QMessageBox::Yes;
    bool urlAnswer = true;    // what openUrl reports: false stands for a desktop without a viewer
    QString programDirAnswer; // what programDir reports; null: the test program's own folder
    QList<Call> calls;

    // Calls of one kind, in order.
    QList<Call> callsOf(const QString& kind) const;
    // Message boxes (warning, information, about, message, question) in order.
    QList<Call> boxes() const;

    QString getOpenFileName(QWidget*, const QString& caption, const QString& dir, const QString&) override;
    QString getSaveFileName(QWidget*, const QString& caption, const QString& dir, const QString&) override;
    QString getExistingDirectory(QWidget*, const QString& caption, const QString& dir) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    void information(QWidget*, const QString& title, const QString& text) override;
    void about(QWidget*, const QString& title, const QString& text) override;
    void message(QWidget* parent, const QString& title, const QString& text) override;
    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons) override;
    bool openUrl(const QUrl& url) override;
    QString programDir() override;
};

#endif // RECORDINGDESKTOP_H
