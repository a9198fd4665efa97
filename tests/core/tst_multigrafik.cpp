#include "core/graphgrid.h"
#include "core/multigrafik.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

namespace {
QGridLayout* gridOf(QWidget* owner, QScrollArea* area) {
    Q_UNUSED(owner);
    return area->widget()->findChild<QGridLayout*>();
}

QString textAt(QGridLayout* grid, int r, int c) {
    QLayoutItem* item = grid->itemAtPosition(r, c);
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    return label ? label->text() : QStringLiteral("<none>");
}

QWidget* cell(int w = 200, int h = 200) {
    auto* c = new QWidget;
    c->setMinimumSize(w, h);
    return c;
}

// A cell that counts its paints and the repaint requests it is handed.
class CountingCell : public QWidget {
public:
    CountingCell() { setMinimumSize(200, 200); }
    int paints = 0;
    int requests = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
    bool event(QEvent* e) override {
        requests += e->type() == QEvent::UpdateLater ? 1 : 0;
        return QWidget::event(e);
    }
};
} // namespace

class TestMultiGrafik : public QObject {
    Q_OBJECT
private slots:
    void cornerText_data();
    void cornerText();
    void gridTitlesCellsAndPlaceholders();
    void minimumSizes();
    void emptyTitlesTakeNoSpace();
    void oneColumn();
    void placeholderOriginAndJoiner();
    void scrollToGrafik();
    void showPaintsTheCellsInView();
    void pressesAreSwallowed();
};

void TestMultiGrafik::cornerText_data() {
    QTest::addColumn<QVector<QString>>("columns");
    QTest::addColumn<QVector<QString>>("rows");
    QTest::addColumn<QString>("corner");
    QTest::newRow("both") << QVector<QString>{"DM"} << QVector<QString>{"date"} << "DM / date";
    QTest::newRow("columns only") << QVector<QString>{"DM", "1"} << QVector<QString>{"", "x"} << "DM";
    QTest::newRow("rows only") << QVector<QString>{} << QVector<QString>{"date"} << "date";
    QTest::newRow("neither") << QVector<QString>{} << QVector<QString>{} << "";
}

void TestMultiGrafik::cornerText() {
    QFETCH(QVector<QString>, columns);
    QFETCH(QVector<QString>, rows);
    QFETCH(QString, corner);
    QCOMPARE(GraphGrid::cornerText(columns, rows, " / "), corner);
    MultiGrafik m(nullptr);
    m.columnTitles = columns;
    m.rowTitles = rows;
    m.draw();
    QCOMPARE(textAt(gridOf(&m, m.scrollArea), 0, 0), corner);
}

void TestMultiGrafik::gridTitlesCellsAndPlaceholders() {
    QPointer<QWidget> a = cell();
    {
        MultiGrafik m(nullptr);
        m.columnTitles = {"DM", "c1", "c2", "c3"};
        m.rowTitles = {"date", "r1", "r2"};
        m.grafiks = {{a, nullptr, nullptr}, {cell(), cell(), cell(), cell(), cell()}};
        m.draw();
        QGridLayout* grid = gridOf(&m, m.scrollArea);
        QCOMPARE(textAt(grid, 0, 2), QString("c2"));
        QCOMPARE(textAt(grid, 2, 0), QString("r2"));
        QCOMPARE(grid->itemAtPosition(1, 1)->widget(), a.data());
        QCOMPARE(textAt(grid, 1, 3), QString("Нет графика 1-3"));
        QCOMPARE(grid->itemAtPosition(1, 3)->alignment(), Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter);
        QVERIFY(grid->itemAtPosition(2, 5)); // beyond `columns`, still placed
        QCOMPARE(m.scrollArea->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(m.scrollArea->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        m.draw(); // built once
        QCOMPARE(m.findChildren<QScrollArea*>().size(), 1);
    }
    QVERIFY(!a); // cells go with the grid
}

void TestMultiGrafik::minimumSizes() {
    MultiGrafik m(nullptr);
    m.columnTitles = {"DM", "1", "2", "3", "4", "5"};
    m.rowTitles = {"", "a", "b", "c"};
    m.grafiks = {{cell(), cell(), cell(), cell(), cell()}};
    m.draw();
    QGridLayout* grid = gridOf(&m, m.scrollArea);
    QCOMPARE(grid->verticalSpacing(), 5);
    QCOMPARE(grid->horizontalSpacing(), 5);
    QCOMPARE(grid->rowMinimumHeight(0), 30);
    QCOMPARE(grid->columnMinimumWidth(0), QFontMetrics(QFont("Arial", 10)).boundingRect("DM").width() + 10);
    for (int c = 1; c <= 4; ++c) {
        QCOMPARE(grid->columnMinimumWidth(c), 200);
    }
    QCOMPARE(grid->columnMinimumWidth(5), 0);
    for (int r = 1; r <= 3; ++r) {
        QCOMPARE(grid->rowMinimumHeight(r), 200);
    }
}

void TestMultiGrafik::emptyTitlesTakeNoSpace() {
    MultiGrafik m(nullptr);
    m.columnTitles = {"", "", "x"};
    m.rowTitles = {"rows"}; // the corner has text, yet the title row and column are 0
    m.grafiks = {{cell()}};
    m.draw();
    QGridLayout* grid = gridOf(&m, m.scrollArea);
    QCOMPARE(grid->rowMinimumHeight(0), 0);
    QCOMPARE(grid->columnMinimumWidth(0), 0);
    QCOMPARE(textAt(grid, 0, 0), QString("rows"));
}

void TestMultiGrafik::oneColumn() {
    MultiGrafik m(nullptr);
    m.columns = 1;
    m.columnTitles = {"DM", "c1"};
    QWidget* first = cell();
    m.grafiks = {{first, cell(), cell()}, {cell()}, {nullptr, cell()}};
    m.draw();
    QGridLayout* grid = gridOf(&m, m.scrollArea);
    QCOMPARE(grid->count(), 2); // one per row, none for the null first widget, no titles
    QCOMPARE(grid->itemAtPosition(0, 0)->widget(), first);
    QVERIFY(!grid->itemAtPosition(0, 1));
    QCOMPARE(grid->verticalSpacing(), 10);
    QVERIFY(m.findChildren<QLabel*>().isEmpty());
    qDeleteAll(QVector<QWidget*>{m.grafiks[0][1], m.grafiks[0][2], m.grafiks[2][1]}); // never placed
}

void TestMultiGrafik::placeholderOriginAndJoiner() {
    QWidget owner;
    QVector<QVector<QWidget*>> cells{{cell(), cell(), nullptr}};
    QScrollArea* area = GraphGrid::build(&owner, 4, 3, 200, 200, {"A"}, {"B"}, cells, " ", 0);
    QGridLayout* grid = gridOf(&owner, area);
    QCOMPARE(textAt(grid, 1, 3), QString("Нет графика 0-2"));
    QCOMPARE(textAt(grid, 0, 0), QString("A B"));
}

void TestMultiGrafik::scrollToGrafik() {
    MultiGrafik m(nullptr);
    m.resize(500, 500);
    m.columns = 6;
    m.rows = 6;
    for (int r = 0; r < 6; ++r) {
        m.grafiks.resize(6);
        for (int c = 0; c < 6; ++c) {
            m.grafiks[r] << (r == 5 && c == 5 ? nullptr : cell());
        }
    }
    m.draw();
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QCOMPARE(m.scrollArea->verticalScrollBar()->value(), 0);
    m.scrollToGrafik(4, 4);
    QVERIFY(m.scrollArea->verticalScrollBar()->value() > 0);
    QVERIFY(m.scrollArea->horizontalScrollBar()->value() > 0);
    QVERIFY(m.scrollArea->hasFocus());
    const int v = m.scrollArea->verticalScrollBar()->value();
    m.scrollToGrafik(5, 5); // missing graph: no scroll
    QCOMPARE(m.scrollArea->verticalScrollBar()->value(), v);
    m.scrollToGrafik(9, 0); // outside: no crash
}

void TestMultiGrafik::showPaintsTheCellsInView() {
    MultiGrafik m(nullptr);
    m.resize(500, 500);
    m.columns = 6;
    m.rows = 6;
    QVector<CountingCell*> cells;
    m.grafiks.clear();
    for (int r = 0; r < 6; ++r) {
        QVector<QWidget*> row;
        for (int c = 0; c < 6; ++c) {
            cells << new CountingCell;
            row << cells.last();
        }
        m.grafiks << row;
    }
    m.draw();
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    CountingCell* first = cells.first();
    QTRY_VERIFY(first->paints > 0);
    QCOMPARE(cells.last()->paints, 0); // out of view
    // Showing the grid hands no cell a repaint request of its own: with thousands of cells each such
    // request would make the paint compare that cell with all the others.
    for (CountingCell* c : cells) {
        QCOMPARE(c->requests, 0);
    }

    // Once the grid is shown, a cell shown again on its own repaints as any widget does.
    first->hide();
    QTest::qWait(20);
    const int paints = first->paints;
    first->show();
    QTRY_VERIFY(first->paints > paints);
    QCOMPARE(first->requests, 1);
}

void TestMultiGrafik::pressesAreSwallowed() {
    QWidget parent;
    MultiGrafik* m = new MultiGrafik(&parent);
    QTest::ignoreMessage(QtDebugMsg, "--------------------- MultiGrafik::mousePressEvent");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(m, &press);
    QVERIFY(press.isAccepted());
}

QTEST_MAIN(TestMultiGrafik)
#include "tst_multigrafik.moc"
