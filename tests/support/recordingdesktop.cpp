#include "support/recordingdesktop.h"

RecordingDesktop::RecordingDesktop() {
    Desktop::setInstance(this);
}

RecordingDesktop::~RecordingDesktop() {
    Desktop::setInstance(nullptr);
}

QList<RecordingDesktop::Call> RecordingDesktop::callsOf(const QString& kind) const {
    QList<Call> out;
    for (const Call& c : calls) {
        if (c.kind == kind) {
            out << c;
        }
    }
    return out;
}

QList<RecordingDesktop::Call> RecordingDesktop::boxes() const {
    QList<Call> out;
    for (const Call& c : calls) {
        if (c.kind == "warning" || c.kind == "information" || c.kind == "about" || c.kind == "message" ||
            c.kind == "question") {
            out << c;
        }
    }
    return out;
}

QString RecordingDesktop::getOpenFileName(QWidget*, const QString& caption, const QString& dir,
                                          const QString&) {
    calls << Call{"open", caption, dir};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString RecordingDesktop::getSaveFileName(QWidget*, const QString& caption, const QString& dir,
                                          const QString&) {
    calls << Call{"save", caption, dir};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString RecordingDesktop::getExistingDirectory(QWidget*, const QString& caption, const QString& dir) {
    calls << Call{"dir", caption, dir};
    return directoryAnswers.isEmpty() ? QString() : directoryAnswers.takeFirst();
}

void RecordingDesktop::warning(QWidget* parent, const QString& title, const QString& text) {
    calls << Call{"warning", title, text, parent};
}

void RecordingDesktop::information(QWidget*, const QString& title, const QString& text) {
    calls << Call{"information", title, text};
}

void RecordingDesktop::about(QWidget*, const QString& title, const QString& text) {
    calls << Call{"about", title, text};
}

void RecordingDesktop::message(QWidget* parent, const QString& title, const QString& text) {
    calls << Call{"message", title, text, parent};
}

QMessageBox::StandardButton RecordingDesktop::question(QWidget*, const QString& title, const QString& text,
                                                       QMessageBox::StandardButtons) {
    calls << Call{"question", title, text};
    return questionAnswer;
}

bool RecordingDesktop::openUrl(const QUrl& url) {
    calls << Call{"url", QString(), url.toString()};
    return urlAnswer;
}

QString RecordingDesktop::programDir() {
    return programDirAnswer.isNull() ? Desktop::programDir() : programDirAnswer;
}
