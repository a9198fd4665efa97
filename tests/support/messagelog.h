#ifndef MESSAGELOG_H
#define MESSAGELOG_H

#include <QStringList>
#include <QtGlobal>

// Collects every line sent to the debug log (debug, info, warning) while it lives, in order, instead of
// printing it; the previous handler comes back when it goes. One at a time.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList lines() const;
    // The lines that begin with prefix.
    QStringList linesStartingWith(const QString& prefix) const;

private:
    QtMessageHandler previous;
};

#endif // MESSAGELOG_H
