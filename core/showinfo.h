#ifndef SHOWINFO_H
#define SHOWINFO_H

#include <QString>
#include <QWidget>

// Placeholder until its own issue lands: created by the main window's menu entry, shows nothing.
class ShowInfo : public QWidget {
    Q_OBJECT
public:
    ShowInfo(QWidget* parent);
    void rewriteToText(const QString& fileName);
};

#endif // SHOWINFO_H
