#include "support/widgettext.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

bool WidgetText::shown(const QObject* object, QString& text) {
    if (auto* l = qobject_cast<const QLabel*>(object)) {
        text = l->text();
    } else if (auto* e = qobject_cast<const QLineEdit*>(object)) {
        text = e->text();
    } else if (auto* b = qobject_cast<const QAbstractButton*>(object)) {
        text = b->text();
    } else if (auto* g = qobject_cast<const QGroupBox*>(object)) {
        text = g->title();
    } else {
        return false;
    }
    return true;
}

void WidgetText::addTextRows(const QList<QPair<QString, QString>>& rows) {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const auto& r : rows) {
        QTest::newRow(qPrintable(r.first)) << r.first << r.second;
    }
}

void WidgetText::checkTextRow(const QWidget* form) {
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QObject* o = form->findChild<QObject*>(name);
    QVERIFY2(o, qPrintable(name));
    QString text2;
    QVERIFY2(shown(o, text2), "not a widget with a text");
    QCOMPARE(text2, text);
}

void WidgetText::addSpinBoxColumns() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
}

void WidgetText::checkSpinBoxRow(const QWidget* form) {
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    const auto* s = form->findChild<QSpinBox*>(name);
    QVERIFY2(s, qPrintable(name));
    QCOMPARE(s->minimum(), minimum);
    QCOMPARE(s->maximum(), maximum);
    QCOMPARE(s->value(), value);
}
