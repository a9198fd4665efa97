#ifndef SETTINGS_H
#define SETTINGS_H

#include "core/data.h"
#include "ui_mainwindow.h"

#include <QMap>
#include <QObject>
#include <QString>

// Size and modification time of a file on disk; size -1 when unknown or the file is missing.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedMs = -1;
    bool known() const { return size >= 0; }
    bool operator==(const FileStamp& other) const {
        return size == other.size && modifiedMs == other.modifiedMs;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

class MainWindow;
class ProfileForm;
class QProgressBar;
class QWidget;

// The application's only global state: the main window and its work area, the status-bar progress bar,
// the cached observation record, the directory form's last choices and the remembered values.
class Settings : public QObject {
    Q_OBJECT
public:
    static Settings* getInstance();

    void setMainWindow(MainWindow* window);
    MainWindow* getMainWindow();
    // The registered window without building one; the window clears its registration when destroyed.
    MainWindow* registeredMainWindow() const;
    void setMainWindowUi(Ui::MainWindow& ui);
    Ui::MainWindow getMainWindowUi() const;
    void setProgressBar(QProgressBar* bar);
    QProgressBar* getProgressBar() const;

    // Caching a record forgets the stamp of the file it came from; the cached reading sets it afterwards.
    void setData(Data& record);
    Data getData() const;
    void setDataStamp(const FileStamp& stamp);
    FileStamp getDataStamp() const;

    void setProfileForm(ProfileForm* form);
    ProfileForm* getProfileForm() const;
    void setGrafikOne(QWidget* w);
    QWidget* getGrafikOne() const;
    void setGrafikMulti(QWidget* w);
    QWidget* getGrafikMulti() const;
    void setSearchGrafikOne(QWidget* w);
    QWidget* getSearchGrafikOne() const;
    void setSearchGrafikMulti(QWidget* w);
    QWidget* getSearchGrafikMulti() const;

    void setFourierModule(int v);
    int getFourierModule() const;
    void setFourierRay(int v);
    int getFourierRay() const;
    void setAverageCount(int v);
    int getAverageCount() const;
    void setDispersion(int v);
    int getDispersion() const;
    void setShowDispersion(const QString& v);
    QString getShowDispersion() const;
    void setPeriod(const QString& v);
    QString getPeriod() const;
    void setHarmonicNumber(int v);
    int getHarmonicNumber() const;

    void setLastOpenPath(const QString& v);
    QString getLastOpenPath() const;
    void setLastOpenFile(const QString& v);
    QString getLastOpenFile() const;
    void setLastSavePath(const QString& v);
    QString getLastSavePath() const;
    void setGraphWidth(const QString& v);
    QString getGraphWidth() const;
    void setGraphHeight(const QString& v);
    QString getGraphHeight() const;

    // Members kept for completeness; nothing reads them.
    void setValues(const QMap<QString, QString>& v);
    QMap<QString, QString> getValues() const;
    void setSpareWidget(QWidget* w);
    QWidget* getSpareWidget() const;
    void setSpareIndex(int v);
    int getSpareIndex() const;
    void setSpareFlag1(bool v);
    bool getSpareFlag1() const;
    void setSpareFlag2(bool v);
    bool getSpareFlag2() const;
    QString dirOfPath(const QString& path) const;

public slots:
    void setProgress(int value);

private:
    Settings();

    MainWindow* mainWindow = nullptr;
    Ui::MainWindow mainWindowUi{};
    QProgressBar* progressBar = nullptr;
    int lastProgress = -1;
    Data data;
    FileStamp dataStamp;
    ProfileForm* profileForm = nullptr;
    QWidget* grafikOne = nullptr;
    QWidget* grafikMulti = nullptr;
    QWidget* searchGrafikOne = nullptr;
    QWidget* searchGrafikMulti = nullptr;
    int fourierRay = 0;
    int fourierModule = 0;
    int averageCount = 0;
    int dispersion = 0;
    QString showDispersion = QStringLiteral("");
    QString period = QStringLiteral("");
    int harmonicNumber = 0;
    QString lastOpenPath;
    QString lastOpenFile;
    QString lastSavePath;
    QString graphWidth;
    QString graphHeight;
    QMap<QString, QString> values;
    QWidget* spareWidget = nullptr;
    int spareIndex = -1;
    bool spareFlag1 = false;
    bool spareFlag2 = false;
};

#endif // SETTINGS_H
