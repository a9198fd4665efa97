#include "core/graphgrid.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// Showing a widget posts it a request to repaint itself; every widget with such a request pending is
// then, at the next paint, compared with all its later siblings, so a grid of n cells shown at once
// costs n * n. From a show of the grid until the requests it posted have come, the gate drops those of
// the cells and then asks for a repaint of the cells in view, which is all those requests would have
// painted.
class ShowGate : public QObject {
public:
    ShowGate(QWidget* owner, QScrollArea* area, QWidget* frame, QLayout* cells)
        : QObject(owner), owner(owner), area(area), frame(frame), cells(cells) {
        owner->installEventFilter(this);
    }

    ~ShowGate() override {
        if (closing) {
            QCoreApplication::instance()->removeEventFilter(this);
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == owner) {
            // The cells were shown before their grid hears of its own show: their requests are posted,
            // and the gate's own event comes after them.
            if (event->type() == QEvent::Show && !closing) {
                closing = true;
                QCoreApplication::instance()->installEventFilter(this);
                QCoreApplication::postEvent(this, new QEvent(QEvent::Type(doneType())));
            }
            return false;
        }
        return event->type() == QEvent::UpdateLater && frame && watched->parent() == frame;
    }

    bool event(QEvent* event) override {
        if (event->type() != doneType()) {
            return QObject::event(event);
        }
        closing = false;
        QCoreApplication::instance()->removeEventFilter(this);
        if (area && frame && cells && frame->isVisible()) {
            QWidget* viewport = area->viewport();
            const QRect view(frame->mapFrom(viewport, QPoint(0, 0)), viewport->size());
            for (int i = 0; i < cells->count(); ++i) {
                QWidget* w = cells->itemAt(i)->widget();
                if (w && w->isVisible() && w->geometry().intersects(view)) {
                    w->update();
                }
            }
        }
        return true;
    }

private:
    static int doneType() {
        static const int type = QEvent::registerEventType();
        return type;
    }

    QWidget* owner;
    QPointer<QScrollArea> area;
    QPointer<QWidget> frame;
    QPointer<QLayout> cells;
    bool closing = false; // from a show of the grid until the requests it posted have come
};

QScrollArea* scrollFrame(QWidget* owner, QFrame** content) {
    owner->setFont(QFont(QStringLiteral("Arial"), 10));
    auto* outer = new QHBoxLayout(owner);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(owner);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setContentsMargins(0, 0, 0, 0);
    area->setWidgetResizable(true);
    area->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    outer->addWidget(area);
    *content = new QFrame;
    (*content)->setContentsMargins(0, 0, 0, 0);
    return area;
}

QString entry0(const QVector<QString>& list) {
    return list.isEmpty() ? QString() : list[0];
}
} // namespace

QString GraphGrid::cornerText(const QVector<QString>& columnTitles, const QVector<QString>& rowTitles,
                              const QString& cornerJoiner) {
    const QString c = entry0(columnTitles);
    const QString r = entry0(rowTitles);
    if (!c.isEmpty() && !r.isEmpty()) {
        return c + cornerJoiner + r;
    }
    return c.isEmpty() ? r : c;
}

QScrollArea* GraphGrid::build(QWidget* owner, int columns, int rows, int cellWidth, int cellHeight,
                              const QVector<QString>& columnTitles, const QVector<QString>& rowTitles,
                              const QVector<QVector<QWidget*>>& grafiks, const QString& cornerJoiner,
                              int placeholderOrigin) {
    QFrame* content = nullptr;
    if (columns == 1) {
        owner->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
        QScrollArea* area = scrollFrame(owner, &content);
        auto* box = new QHBoxLayout(content);
        auto* plain = new QWidget;
        box->addWidget(plain);
        auto* grid = new QGridLayout(plain);
        grid->setVerticalSpacing(10);
        grid->setHorizontalSpacing(5);
        for (int r = 0; r < grafiks.size(); ++r) {
            if (!grafiks[r].isEmpty() && grafiks[r][0]) {
                grid->addWidget(grafiks[r][0], r, 0);
            }
        }
        area->setWidget(content);
        new ShowGate(owner, area, plain, grid);
        return area;
    }

    owner->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    QScrollArea* area = scrollFrame(owner, &content);
    auto* column = new QVBoxLayout(content);
    auto* plain = new QWidget;
    column->addWidget(plain);
    column->addStretch(5);
    auto* line = new QHBoxLayout(plain);
    auto* gridFrame = new QFrame;
    gridFrame->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    gridFrame->setContentsMargins(0, 0, 0, 0);
    line->addWidget(gridFrame);
    auto* grid = new QGridLayout(gridFrame);
    grid->setVerticalSpacing(5);
    grid->setHorizontalSpacing(5);

    const QString corner = cornerText(columnTitles, rowTitles, cornerJoiner);
    int titleWidth = QFontMetrics(QFont(QStringLiteral("Arial"), 10)).boundingRect(corner).width() + 10;
    int titleHeight = 30;
    if (columnTitles.size() > 1 && columnTitles[0].isEmpty() && columnTitles[1].isEmpty()) {
        titleWidth = 0;
        titleHeight = 0;
    }
    grid->setColumnMinimumWidth(0, titleWidth);
    grid->setRowMinimumHeight(0, titleHeight);
    for (int c = 1; c <= columns; ++c) {
        grid->setColumnMinimumWidth(c, cellWidth);
    }
    for (int r = 1; r <= rows; ++r) {
        grid->setRowMinimumHeight(r, cellHeight);
    }

    grid->addWidget(new QLabel(corner, gridFrame), 0, 0, Qt::AlignCenter);
    for (int i = 1; i < columnTitles.size(); ++i) {
        grid->addWidget(new QLabel(columnTitles[i], gridFrame), 0, i, Qt::AlignCenter);
    }
    for (int j = 1; j < rowTitles.size(); ++j) {
        grid->addWidget(new QLabel(rowTitles[j], gridFrame), j, 0, Qt::AlignCenter);
    }
    for (int r = 0; r < grafiks.size(); ++r) {
        for (int c = 0; c < grafiks[r].size(); ++c) {
            if (grafiks[r][c]) {
                grid->addWidget(grafiks[r][c], r + 1, c + 1);
            } else {
                auto* missing = new QLabel(
                    QStringLiteral("Нет графика %1-%2").arg(r + placeholderOrigin).arg(c + placeholderOrigin),
                    gridFrame);
                grid->addWidget(missing, r + 1, c + 1, Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter);
            }
        }
    }
    line->addStretch(5);
    area->setWidget(content);
    new ShowGate(owner, area, gridFrame, grid);
    return area;
}

void GraphGrid::scrollTo(QScrollArea* area, const QVector<QVector<QWidget*>>& grafiks, int row, int col,
                         int cellWidth, int cellHeight) {
    if (!area) {
        return;
    }
    if (row >= 0 && row < grafiks.size() && col >= 0 && col < grafiks[row].size() && grafiks[row][col]) {
        area->ensureWidgetVisible(grafiks[row][col], 2 * cellWidth, 2 * cellHeight);
    }
    area->setFocus(Qt::OtherFocusReason);
}
