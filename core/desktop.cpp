#include "core/desktop.h"

#include "core/busyguard.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>

namespace {
Desktop* installed = nullptr;
}

Desktop::~Desktop() = default;

Desktop* Desktop::instance() {
    static Desktop real;
    return installed ? installed : &real;
}

void Desktop::setInstance(Desktop* desktop) {
    installed = desktop;
}

QString Desktop::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) {
    const BusyGuard::Pause pause;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Desktop::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) {
    const BusyGuard::Pause pause;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString Desktop::getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
    const BusyGuard::Pause pause;
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

void Desktop::warning(QWidget* parent, const QString& title, const QString& text) {
    const BusyGuard::Pause pause;
    QMessageBox::warning(parent, title, text);
}

void Desktop::information(QWidget* parent, const QString& title, const QString& text) {
    const BusyGuard::Pause pause;
    QMessageBox::information(parent, title, text);
}

void Desktop::about(QWidget* parent, const QString& title, const QString& text) {
    const BusyGuard::Pause pause;
    QMessageBox::about(parent, title, text);
}

void Desktop::message(QWidget* parent, const QString& title, const QString& text) {
    const BusyGuard::Pause pause;
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton Desktop::question(QWidget* parent, const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons) {
    const BusyGuard::Pause pause;
    return QMessageBox::question(parent, title, text, buttons);
}

bool Desktop::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString Desktop::programDir() {
    return QCoreApplication::applicationDirPath();
}
