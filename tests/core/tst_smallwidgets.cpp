#include "core/circlewidget.h"
#include "core/clicklable.h"
#include "core/colorwidget.h"
#include "core/controller.h"
#include "core/rectwidget.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {
QImage grabOf(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};
} // namespace

class TestSmallWidgets : public QObject {
    Q_OBJECT
private slots:
    void colorWidgetReadsEdit_data();
    void colorWidgetReadsEdit();
    void colorWidgetFollowsEditByTimer();
    void rectWidgetFillsWithNamedColour();
    void circleWidgetCentresCircle();
    void circleWiderThanWidgetIsClipped();
    void controllerTexts();
    void clickLableHover_data();
    void clickLableHover();
    void clickLableClickedOnPress();
};

void TestSmallWidgets::colorWidgetReadsEdit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("#FF0000") << "#FF0000" << QColor(255, 0, 0);
    QTest::newRow("FF0000") << "FF0000" << QColor(255, 0, 0);
    QTest::newRow("ff0000") << "ff0000" << QColor(255, 0, 0);
    QTest::newRow("short FFAA") << "FFAA" << QColor(255, 170, 0);
    QTest::newRow("lone first digit") << "F00" << QColor(15, 0, 0);
    QTest::newRow("empty") << "" << QColor(0, 0, 0);
    QTest::newRow("no hex digits") << "zz" << QColor(0, 0, 0);
    QTest::newRow("extra byte ignored") << "FFAABBCC" << QColor(255, 170, 187);
}

void TestSmallWidgets::colorWidgetReadsEdit() {
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    QWidget panel;
    auto* edit = new QLineEdit(text, &panel);
    ColorWidget swatch(edit, &panel);
    swatch.resize(20, 16);
    const QImage img = grabOf(swatch);
    QCOMPARE(img.pixelColor(10, 8), expected);
    QCOMPARE(img.pixelColor(19, 15), expected);
    // Top and left edges carry the black outline.
    QCOMPARE(img.pixelColor(0, 8), QColor(Qt::black));
    QCOMPARE(img.pixelColor(10, 0), QColor(Qt::black));
}

void TestSmallWidgets::colorWidgetFollowsEditByTimer() {
    QWidget panel;
    auto* layout = new QVBoxLayout(&panel);
    auto* edit = new QLineEdit(QStringLiteral("FF0000"), &panel);
    auto* swatch = new ColorWidget(edit, &panel);
    swatch->setFixedSize(20, 20);
    layout->addWidget(edit);
    layout->addWidget(swatch);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    PaintCounter counter;
    swatch->installEventFilter(&counter);
    edit->blockSignals(true); // the swatch must not depend on the edit's signals
    edit->setText(QStringLiteral("00FF00"));
    QTRY_VERIFY_WITH_TIMEOUT(counter.count > 0, 3600);
    QCOMPARE(grabOf(*swatch).pixelColor(10, 10), QColor(0, 255, 0));
}

void TestSmallWidgets::rectWidgetFillsWithNamedColour() {
    RectWidget rect(QStringLiteral("#00A0A0"), nullptr);
    rect.resize(12, 9);
    const QImage img = grabOf(rect);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            QCOMPARE(img.pixelColor(x, y), QColor(0, 0xA0, 0xA0));
        }
    }
}

void TestSmallWidgets::circleWidgetCentresCircle() {
    CircleWidget circle(10, QStringLiteral("#FF0000"), nullptr);
    circle.resize(21, 21);
    const QImage img = grabOf(circle);
    QCOMPARE(img.pixelColor(4, 10), QColor(Qt::white));
    QCOMPARE(img.pixelColor(5, 10), QColor(Qt::red));
    QCOMPARE(img.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(img.pixelColor(20, 20), QColor(Qt::white));
}

void TestSmallWidgets::circleWiderThanWidgetIsClipped() {
    CircleWidget circle(60, QStringLiteral("#0000FF"), nullptr);
    circle.resize(21, 21);
    const QImage img = grabOf(circle);
    QCOMPARE(img.pixelColor(10, 10), QColor(Qt::blue));
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::blue));
}

void TestSmallWidgets::controllerTexts() {
    Controller controller(nullptr);
    QCOMPARE(controller.frameStyle(), 35);
    controller.setRays(8);
    controller.setChannels(33);
    controller.setModules(6);
    controller.setPoints(288166);
    controller.setFileName(QStringLiteral("020320_13_N1_00.pnthr"));
    controller.setFileName(QString());
    controller.setFileName(QStringLiteral(""));
    auto text = [&controller](const char* name) { return controller.findChild<QLabel*>(name)->text(); };
    QCOMPARE(text("labelRays"), QStringLiteral("8 rays detected"));
    QCOMPARE(text("labelChannels"), QStringLiteral("33 channels"));
    QCOMPARE(text("labelModules"), QStringLiteral("6 modules"));
    QCOMPARE(text("labelPoints"), QStringLiteral("288166 points on ray"));
    QCOMPARE(text("labelFileName"), QStringLiteral("020320_13_N1_00.pnthr"));
    QCOMPARE(controller.findChild<QLabel*>("labelFileName")->sizePolicy().horizontalPolicy(),
             QSizePolicy::Ignored);

    // Top to bottom: rays, channels, modules, points, file name; the coordinate labels stay outside.
    QLayout* layout = controller.layout();
    QCOMPARE(layout->count(), 5);
    const char* order[] = {"labelRays", "labelChannels", "labelModules", "labelPoints", "labelFileName"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(layout->itemAt(i)->widget()->objectName(), QString::fromLatin1(order[i]));
    }
    QCOMPARE(controller.findChildren<QLabel*>().size(), 7);
}

void TestSmallWidgets::clickLableHover_data() {
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("hovered");
    QTest::newRow("link") << "color: black"
                          << "color: blue";
    QTest::newRow("current") << "color: red"
                             << "color: darkMagenta";
    QTest::newRow("no blank") << "color:black"
                              << "color:black";
    QTest::newRow("other") << "color: green"
                           << "color: green";
    QTest::newRow("none") << ""
                          << "";
}

void TestSmallWidgets::clickLableHover() {
    QFETCH(QString, style);
    QFETCH(QString, hovered);
    ClickLable label(QStringLiteral("2020-03-02"), nullptr);
    label.setStyleSheet(style);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&label, &enter);
    QCOMPARE(label.styleSheet(), hovered);
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    QCOMPARE(label.styleSheet(), style);
    QCOMPARE(label.cursor().shape(), Qt::ArrowCursor);
}

void TestSmallWidgets::clickLableClickedOnPress() {
    QWidget list;
    auto* label = new ClickLable(QStringLiteral("item"), &list);
    label->setIndex(7);
    QCOMPARE(label->text(), QStringLiteral("item"));
    QCOMPARE(label->parentWidget(), &list);
    QSignalSpy spy(label, &ClickLable::clicked);
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mousePress(label, Qt::RightButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(qobject_cast<ClickLable*>(label)->index(), 7);
}

QTEST_MAIN(TestSmallWidgets)
#include "tst_smallwidgets.moc"
