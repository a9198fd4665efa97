#include "core/graphgrid.h"

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
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
    // One layout pass at the end instead of one per placed cell.
    const bool updates = owner->updatesEnabled();
    owner->setUpdatesEnabled(false);
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
        owner->setUpdatesEnabled(updates);
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

    grid->addWidget(new QLabel(corner, owner), 0, 0, Qt::AlignCenter);
    for (int i = 1; i < columnTitles.size(); ++i) {
        grid->addWidget(new QLabel(columnTitles[i], owner), 0, i, Qt::AlignCenter);
    }
    for (int j = 1; j < rowTitles.size(); ++j) {
        grid->addWidget(new QLabel(rowTitles[j], owner), j, 0, Qt::AlignCenter);
    }
    for (int r = 0; r < grafiks.size(); ++r) {
        for (int c = 0; c < grafiks[r].size(); ++c) {
            if (grafiks[r][c]) {
                grid->addWidget(grafiks[r][c], r + 1, c + 1);
            } else {
                auto* missing = new QLabel(
                    QStringLiteral("Нет графика %1-%2").arg(r + placeholderOrigin).arg(c + placeholderOrigin),
                    owner);
                grid->addWidget(missing, r + 1, c + 1, Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter);
            }
        }
    }
    line->addStretch(5);
    area->setWidget(content);
    owner->setUpdatesEnabled(updates);
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
