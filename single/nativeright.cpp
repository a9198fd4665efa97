#include "single/nativeright.h"

#include "core/colorwidget.h"
#include "core/controller.h"
#include "core/data.h"
#include "core/panelcolumn.h"
#include "single/nativegrafik.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// Starting texts of the ray colour edits; rays beyond these start empty.
const char* const rayHexColours[] = {"FF0000", "00FF00", "0000FF", "000000", "FFAF00", "00A0A0",
                                     "FF00FF", "800000", "008000", "000080", "808000", "800080",
                                     "D0A080", "00D0D0", "D000C0", "00D000"};
constexpr int rayHexColourCount = int(sizeof(rayHexColours) / sizeof(rayHexColours[0]));

QWidget* rowWidget(QWidget* parent, const QMargins& margins) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(margins);
    return row;
}

QFrame* raisedFrame(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    frame->setContentsMargins(2, 7, 2, 2);
    return frame;
}
} // namespace

NativeRight::NativeRight(Data* data, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("nativeRight"));
    grafik = qobject_cast<NativeGrafik*>(parent);
    rays = data->rays;
    channels = data->channels;
    modules = data->modules;

    QScrollArea* scroll = PanelColumn::install(this);

    content = new QFrame(scroll);
    content->setObjectName(QStringLiteral("content"));
    auto* rows = new QVBoxLayout(content);

    for (int i = 0; i < rays; ++i) {
        QWidget* row = rowWidget(content, QMargins(1, 1, 1, 1));
        auto* check = new QCheckBox(QStringLiteral("Ray %1").arg(i + 1), row);
        check->setObjectName(QStringLiteral("rayCheckBox%1").arg(i + 1));
        check->setChecked(true);
        connect(check, SIGNAL(clicked()), this, SLOT(checkBoxRatesChanged()));
        auto* edit =
            new QLineEdit(i < rayHexColourCount ? QString::fromLatin1(rayHexColours[i]) : QString(), row);
        edit->setObjectName(QStringLiteral("colourEdit%1").arg(i + 1));
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("FFFFFF")) + 80);
        auto* swatch = new ColorWidget(edit, row);
        swatch->setObjectName(QStringLiteral("colourSwatch%1").arg(i + 1));
        swatch->setFixedWidth(20);
        row->layout()->addWidget(check);
        row->layout()->addWidget(swatch);
        row->layout()->addWidget(edit);
        rows->addWidget(row);
        rayCheckBoxes.append(check);
        colourEdits.append(edit);
    }

    QWidget* allRow = rowWidget(content, QMargins(0, 0, 0, 0));
    disableButton = new QPushButton(QStringLiteral("Disable all"), allRow);
    disableButton->setObjectName(QStringLiteral("disableButton"));
    enableButton = new QPushButton(QStringLiteral("Enable all"), allRow);
    enableButton->setObjectName(QStringLiteral("enableButton"));
    allRow->layout()->addWidget(disableButton);
    allRow->layout()->addWidget(enableButton);
    connect(enableButton, SIGNAL(clicked()), this, SLOT(enableAllRays()));
    connect(disableButton, SIGNAL(clicked()), this, SLOT(disableAllRays()));
    rows->addWidget(allRow);

    if (channels > 1) {
        QFrame* frame = raisedFrame(content);
        frame->setObjectName(QStringLiteral("channelFrame"));
        auto* layout = new QHBoxLayout(frame);
        layout->setContentsMargins(10, 10, 10, 10);
        layout->addWidget(new QLabel(QStringLiteral("Channel"), frame));
        channelSpin = new QSpinBox(frame);
        channelSpin->setObjectName(QStringLiteral("channelSpin"));
        channelSpin->setRange(1, channels);
        channelSpin->setValue((grafik ? grafik->channel : channels - 1) + 1);
        layout->addWidget(channelSpin);
        connect(channelSpin, SIGNAL(valueChanged(int)), this, SLOT(channelChanged(int)));
        rows->addWidget(frame);
    }

    if (modules > 1) {
        QFrame* frame = raisedFrame(content);
        frame->setObjectName(QStringLiteral("moduleFrame"));
        auto* layout = new QVBoxLayout(frame);
        layout->setContentsMargins(10, 10, 10, 10);
        auto* group = new QButtonGroup(frame);
        group->setExclusive(true);
        const int current = grafik ? grafik->module : 0;
        for (int i = 0; i < modules; ++i) {
            auto* radio = new QRadioButton(QStringLiteral("Module %1").arg(i + 1), frame);
            radio->setObjectName(QStringLiteral("moduleRadio%1").arg(i + 1));
            radio->setChecked(i == current);
            group->addButton(radio);
            layout->addWidget(radio);
            connect(radio, SIGNAL(clicked()), this, SLOT(moduleChanged()));
            moduleRadios.append(radio);
        }
        rows->addWidget(frame);
    }

    rows->addStretch(5);

    // "Draw" and "Reset" are shown but do nothing.
    QWidget* drawRow = rowWidget(content, QMargins(0, 0, 0, 4));
    drawButton = new QPushButton(QStringLiteral("Draw"), drawRow);
    drawButton->setObjectName(QStringLiteral("drawButton"));
    resetButton = new QPushButton(QStringLiteral("Reset"), drawRow);
    resetButton->setObjectName(QStringLiteral("resetButton"));
    drawRow->layout()->addWidget(drawButton);
    drawRow->layout()->addWidget(resetButton);
    rows->addWidget(drawRow);

    controller = new Controller(content);
    controller->setObjectName(QStringLiteral("controller"));
    controller->setModules(data->modules);
    controller->setChannels(data->channels);
    controller->setPoints(data->npoints);
    controller->setRays(data->rays);
    controller->setFileName(data->fileName);
    rows->addWidget(controller);

    scroll->setWidget(content);
}

void NativeRight::checkBoxRatesChanged() {
    if (!grafik) {
        return;
    }
    grafik->rayEnabled.clear();
    for (QCheckBox* check : rayCheckBoxes) {
        grafik->rayEnabled.append(check->isChecked());
    }
    grafik->redraw();
}

void NativeRight::enableAllRays() {
    for (QCheckBox* check : rayCheckBoxes) {
        check->setChecked(true);
    }
    checkBoxRatesChanged();
}

void NativeRight::disableAllRays() {
    for (QCheckBox* check : rayCheckBoxes) {
        check->setChecked(false);
    }
    checkBoxRatesChanged();
}

void NativeRight::channelChanged(int channel) {
    if (!grafik) {
        return;
    }
    grafik->channel = channel - 1;
    grafik->redraw();
}

void NativeRight::moduleChanged() {
    if (!grafik) {
        return;
    }
    const auto* button = qobject_cast<const QRadioButton*>(sender());
    int module = 0;
    for (int i = 1; button && i <= grafik->data.modules; ++i) {
        if (button->text() == QStringLiteral("Module %1").arg(i)) {
            module = i - 1;
            break;
        }
    }
    grafik->module = module;
    grafik->redraw();
}
