#ifndef DESKTOP_H
#define DESKTOP_H

#include <QMessageBox>
#include <QString>
#include <QUrl>

class QWidget;

// The one seam between the program and what a headless test cannot drive: file and directory
// dialogs, message boxes, the desktop's document viewer and the folder the program was started from.
// Production code calls Desktop::instance(); tests install a recorder with Desktop::setInstance(). The real
// dialogs and boxes show the normal cursor while they wait for the user, also in the middle of busy work
// (BusyGuard::Pause).
class Desktop {
public:
    virtual ~Desktop();

    static Desktop* instance();
    // Installs a replacement (not owned); nullptr restores the real desktop.
    static void setInstance(Desktop* desktop);

    virtual QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter = QString());
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter = QString());
    virtual QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

    // Modal boxes with one Ok button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text);
    virtual void information(QWidget* parent, const QString& title, const QString& text);
    virtual void about(QWidget* parent, const QString& title, const QString& text);
    // A plain box without icon and with one Ok button.
    virtual void message(QWidget* parent, const QString& title, const QString& text);
    // A question box; returns the button chosen.
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons);

    virtual bool openUrl(const QUrl& url);
    // The folder of the running program's file, where the build puts the help documents.
    virtual QString programDir();
};

#endif // DESKTOP_H
