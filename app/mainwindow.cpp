#include "app/mainwindow.h"

#include "core/busyguard.h"
#include "core/desktop.h"
#include "core/screenfit.h"
#include "core/settings.h"
#include "core/showinfo.h"
#include "core/tools.h"
#include "directory/views/fourierform.h"
#include "native/nativemultiform.h"
#include "native/searchnativeform.h"
#include "profiles/profileform.h"
#include "single/arraygrafik.h"
#include "single/ffaform.h"
#include "single/nativegrafik.h"
#include "single/pulsarform.h"
#include "ui_mainwindow.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

namespace {
const char* const organisation = "orv";
const char* const application = "Strellix-2_visual";

// A form or view that cannot open says why in its own warning and reports !isValid(); it goes, and the
// work area keeps what the form left there: the previous view, unless the form emptied it before reading.
template <class Form> Form* keepIfValid(Form* form) {
    if (form->isValid()) {
        return form;
    }
    form->deleteLater();
    return nullptr;
}
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow) {
    ui->setupUi(this);
    clipboard = QGuiApplication::clipboard();

    connect(ui->actionShow_native_data, SIGNAL(triggered()), this, SLOT(openFileShowNative()));
    connect(ui->actionShowNativeWithoutStep, SIGNAL(triggered()), this,
            SLOT(openFileShowNativeWithoutStep()));
    connect(ui->actionOneFourier, SIGNAL(triggered()), this, SLOT(openFileFourier()));
    connect(ui->actionOneFFA, SIGNAL(triggered()), this, SLOT(openFileFFA()));
    connect(ui->actionFourier, SIGNAL(triggered()), this, SLOT(openDirSumFourier()));
    connect(ui->actionFourier_map, SIGNAL(triggered()), this, SLOT(openDirSumFourierMap()));
    connect(ui->actionFFA, SIGNAL(triggered()), this, SLOT(openDirSumFfa()));
    connect(ui->actionFFA_map, SIGNAL(triggered()), this, SLOT(openDirSumFfaMap()));
    connect(ui->actionSearchFourier, SIGNAL(triggered()), this, SLOT(openDirSearchFourier()));
    connect(ui->actionSearchFFA, SIGNAL(triggered()), this, SLOT(openDirSearchFFA()));
    connect(ui->actionProfile_periods, SIGNAL(triggered()), this, SLOT(openDirProfilesPeriods()));
    connect(ui->actionProfile_dispersions, SIGNAL(triggered()), this, SLOT(openDirProfilesDispersions()));
    connect(ui->actionSumChannelsSimple, SIGNAL(triggered()), this, SLOT(openDirSumChannelsSimple()));
    connect(ui->actionSumChannels, SIGNAL(triggered()), this, SLOT(openDirSumChannels()));
    connect(ui->actionShowArraysFile, SIGNAL(triggered()), this, SLOT(openFileArrays()));
    connect(ui->actionShowArraysDir, SIGNAL(triggered()), this, SLOT(openDirArrays()));
    connect(ui->actionReadBinToText, SIGNAL(triggered()), this, SLOT(readBinToText()));
    connect(ui->actionHelp, SIGNAL(triggered()), this, SLOT(showHelp()));
    connect(ui->actionUpdates, SIGNAL(triggered()), this, SLOT(showUpdates()));
    connect(ui->actionAbout, SIGNAL(triggered()), this, SLOT(showAbout()));

    progressBar = new QProgressBar(this);
    progressBar->setRange(0, 100);
    ui->statusbar->addWidget(progressBar, 1);

    Settings* settings = Settings::getInstance();
    settings->setMainWindowUi(*ui);
    settings->setMainWindow(this);
    settings->setProgressBar(progressBar);

    readSettings();
}

MainWindow::~MainWindow() {
    writeSettings();
    delete ui;
    Settings* settings = Settings::getInstance();
    if (settings->registeredMainWindow() == this) {
        // Forms must not find a window that is going away.
        settings->setMainWindow(nullptr);
        Ui::MainWindow none{};
        settings->setMainWindowUi(none);
        settings->setProgressBar(nullptr);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        emit mainWindowSizeChanged();
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::readSettings() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    if (restoreGeometry(store.value("geometry").toByteArray())) {
        fitToScreen();
    }
    Settings* settings = Settings::getInstance();
    settings->setLastOpenFile(store.value("lastOpenFile").toString());
    settings->setLastOpenPath(store.value("lastOpenPath").toString());
    settings->setLastSavePath(store.value("lastSavePath").toString());
    settings->setGraphWidth(store.value("graphWidth").toString());
    settings->setGraphHeight(store.value("graphHeight").toString());
}

void MainWindow::fitToScreen() {
    // A geometry saved on a larger screen (or by a window that grew past this one) would leave the
    // status bar out of reach.
    ScreenFit::fit(this, size());
}

void MainWindow::writeSettings() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    Settings* settings = Settings::getInstance();
    const QString lastOpenFile = settings->getLastOpenFile();
    const QString lastOpenPath = settings->getLastOpenPath();
    const QString lastSavePath = settings->getLastSavePath();
    if (lastOpenFile != "") {
        store.setValue("lastOpenFile", lastOpenFile);
    }
    if (lastOpenPath != "") {
        store.setValue("lastOpenPath", lastOpenPath);
    }
    if (lastSavePath != "") {
        store.setValue("lastSavePath", lastSavePath);
    }
    if (!isMaximized()) {
        store.setValue("geometry", saveGeometry());
    }
    store.setValue("graphWidth", settings->getGraphWidth());
    store.setValue("graphHeight", settings->getGraphHeight());
    store.sync();
}

void MainWindow::askFile(const std::function<void(const QString&)>& open) {
    if (BusyGuard::busy()) {
        return;
    }
    Settings* settings = Settings::getInstance();
    const QString answer =
        Desktop::instance()->getOpenFileName(this, tr("Opening file"), settings->getLastOpenPath());
    if (answer.isEmpty()) {
        return;
    }
    settings->setLastOpenPath(Tools::dirOfPath(answer));
    open(answer);
}

void MainWindow::askDirectory(const QString& caption, const std::function<void(const QString&)>& open) {
    if (BusyGuard::busy()) {
        return;
    }
    Settings* settings = Settings::getInstance();
    const QString answer =
        Desktop::instance()->getExistingDirectory(this, caption, settings->getLastOpenPath());
    if (answer.isEmpty()) {
        return;
    }
    settings->setLastOpenPath(Tools::dirOfPath(answer));
    open(answer);
}

void MainWindow::openFileShowNative() {
    askFile([this](const QString& f) { keepIfValid(new NativeGrafik(f, 0, this)); });
}

void MainWindow::openFileShowNativeWithoutStep() {
    askFile([this](const QString& f) { keepIfValid(new NativeGrafik(f, 1, this)); });
}

void MainWindow::openFileFourier() {
    askFile([this](const QString& f) { keepIfValid(new PulsarForm(f, this)); });
}

void MainWindow::openFileFFA() {
    askFile([this](const QString& f) { keepIfValid(new FfaForm(f, this)); });
}

void MainWindow::openDirSumFourier() {
    askDirectory(tr("Pulsar directory"),
                 [this](const QString& d) { openFourierForm(d, false, false, false); });
}

void MainWindow::openDirSumFourierMap() {
    askDirectory(tr("Pulsar directory"),
                 [this](const QString& d) { openFourierForm(d, false, true, false); });
}

void MainWindow::openDirSumFfa() {
    askDirectory(tr("Pulsar directory"),
                 [this](const QString& d) { openFourierForm(d, true, false, false); });
}

void MainWindow::openDirSumFfaMap() {
    askDirectory(tr("Pulsar directory"), [this](const QString& d) { openFourierForm(d, true, true, false); });
}

void MainWindow::openDirSearchFourier() {
    askDirectory(tr("Pulsar directory"), [this](const QString& d) {
        qDebug() << "dirName=" << d;
        openFourierForm(d, false, false, true);
    });
}

void MainWindow::openDirSearchFFA() {
    askDirectory(tr("Pulsar directory"), [this](const QString& d) { openFourierForm(d, true, false, true); });
}

void MainWindow::openFourierForm(const QString& dir, bool isFfa, bool isMap, bool isSearch) {
    keepIfValid(new FourierForm(dir, isFfa, isMap, isSearch, this));
}

void MainWindow::openDirProfilesPeriods() {
    askDirectory(tr("Pulsar directory"), [this](const QString& d) {
        if (ProfileForm* form = keepIfValid(new ProfileForm(d, "periods", this))) {
            Settings::getInstance()->setProfileForm(form);
        }
    });
}

void MainWindow::openDirProfilesDispersions() {
    askDirectory(tr("Pulsar directory"),
                 [this](const QString& d) { keepIfValid(new ProfileForm(d, "dispersions", this)); });
}

void MainWindow::openDirSumChannelsSimple() {
    askDirectory(tr("Pulsar directory"),
                 [this](const QString& d) { keepIfValid(new SearchNativeForm(d, "native", this)); });
}

void MainWindow::openDirSumChannels() {
    // This form never refuses: a missing or empty directory leaves it standing with its start graph.
    askDirectory(tr("Pulsar directory"), [this](const QString& d) { new NativeMultiForm(d, this); });
}

void MainWindow::openFileArrays() {
    askFile([this](const QString& f) { keepIfValid(new ArrayGrafik(f, this)); });
}

void MainWindow::openDirArrays() {
    askDirectory(tr("directory"), [this](const QString& d) { keepIfValid(new ArrayGrafik(d, this)); });
}

void MainWindow::readBinToText() {
    askFile([this](const QString& f) {
        ShowInfo* info = new ShowInfo(this);
        info->rewriteToText(f);
    });
}

void MainWindow::exitMenu() {
    close();
}

void MainWindow::showHelp() {
    openDocument(QStringLiteral("README_orv2_visual.pdf"));
}

void MainWindow::showUpdates() {
    openDocument(QStringLiteral("updates_orv2_visual.pdf"));
}

void MainWindow::openDocument(const QString& name) {
    // The working directory first; a program started from a launcher or another folder finds the
    // documents beside itself, where the build puts them. Desktop launchers refuse relative file URLs,
    // and a launcher that starts may still find nothing to show: the user hears of both, with the paths
    // that were looked in.
    Desktop* desktop = Desktop::instance();
    QStringList lookedIn;
    for (const QString& dir : {QDir::currentPath(), desktop->programDir()}) {
        const QString path = QDir(dir).absoluteFilePath(name);
        if (lookedIn.contains(path)) {
            continue;
        }
        lookedIn << path;
        if (!QFileInfo(path).isFile()) {
            continue;
        }
        if (!desktop->openUrl(QUrl::fromLocalFile(path))) {
            desktop->warning(
                this, tr("Error"),
                tr("No viewer could open the document:\n%1\n\nIs a PDF viewer installed?").arg(path));
        }
        return;
    }
    desktop->warning(this, tr("Error"), tr("The document is missing:\n%1").arg(lookedIn.join('\n')));
}

void MainWindow::showAbout() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QStringList lines = {
        tr("Strellix-2: pulsar search and pipeline result viewer for the ORV transit telescope."),
        tr("Written by the Strellix-2 developers, under the guidance of the ORV pulsar group."),
        tr("Project site: the ORV pulsar group's pages."),
        QString(),
        QStringLiteral("Version: Strellix-2-Visual 2025.01.14"),
        QStringLiteral("Compiled at ") + program.lastModified().toString("dd.MM.yyyy hh:mm"),
    };
    Desktop::instance()->about(this, tr("About"), lines.join('\n'));
}
