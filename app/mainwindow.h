#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

#include <functional>

class QClipboard;
class QProgressBar;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QProgressBar* progressBar = nullptr;
    QClipboard* clipboard = nullptr;

signals:
    void mainWindowSizeChanged();

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void openFileShowNative();
    void openFileShowNativeWithoutStep();
    void openFileFourier();
    void openFileFFA();
    void openDirSumFourier();
    void openDirSumFourierMap();
    void openDirSumFfa();
    void openDirSumFfaMap();
    void openDirSearchFourier();
    void openDirSearchFFA();
    void openDirProfilesPeriods();
    void openDirProfilesDispersions();
    void openDirSumChannelsSimple();
    void openDirSumChannels();
    void openFileArrays();
    void openDirArrays();
    void readBinToText();
    void exitMenu();
    void showHelp();
    void showUpdates();
    void showAbout();

private:
    void readSettings();
    void writeSettings();
    // Asks for a file or a directory, remembers where it was, and hands a non-empty answer on.
    void askFile(const std::function<void(const QString&)>& open);
    void askDirectory(const QString& caption, const std::function<void(const QString&)>& open);
    void openFourierForm(const QString& dir, bool isFfa, bool isMap, bool isSearch);

    Ui::MainWindow* ui = nullptr;
};

#endif // MAINWINDOW_H
