#include "core/tools.h"

#include <QtTest>

#include <cmath>

class TstToolsNames : public QObject {
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void dmsNumbers_data();
    void dmsNumbers();
};

void TstToolsNames::texts_data() {
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nameOfN") << Tools::nameOfN("/data/N2/2020/file.txt") << "N2";
    QTest::newRow("nameOfN no slash") << Tools::nameOfN("/data/N2") << "";
    QTest::newRow("normalize long") << Tools::normalizeJName("J1921+2153abc") << "J1921+2153";
    QTest::newRow("normalize short") << Tools::normalizeJName("J0332+54") << "J0332+54";
    QTest::newRow("normalize B") << Tools::normalizeJName("B0329+54") << "";

    QTest::newRow("dms 42.18") << Tools::toDms(42.18) << "42:10:47";
    QTest::newRow("dms 86.61") << Tools::toDms(86.61) << "86:36:35";
    QTest::newRow("dms -0.6") << Tools::toDms(-0.6) << "-00:36:00";
    QTest::newRow("dms 0.105") << Tools::toDms(0.105) << "00:06:17";
    QTest::newRow("dms -8.47") << Tools::toDms(-8.47) << "-08:28:12";
    QTest::newRow("dms 120") << Tools::toDms(120.5) << "120:30:00";

    QTest::newRow("jname p1") << Tools::jNameFromBeam("1", "1", "03", "32", 1) << "J0332+4210";
    QTest::newRow("jname negative") << Tools::jNameFromBeam("5", "6", "03", "32", 2) << "J0332-0036";
    QTest::newRow("jname N4") << Tools::jNameFromBeam("2", "2", "12", "05", 4) << "J1205+8554";
    QTest::newRow("jname p0 module 1") << Tools::jNameFromBeam("1", "1", "03", "32", 0) << "";
    QTest::newRow("jname p0 module 3") << Tools::jNameFromBeam("3", "1", "03", "32", 0) << "J0332+5513";
    QTest::newRow("jname module 0") << Tools::jNameFromBeam("0", "1", "03", "32", 1) << "";
    QTest::newRow("jname ray 0") << Tools::jNameFromBeam("1", "0", "03", "32", 1) << "";
    QTest::newRow("jname hours *") << Tools::jNameFromBeam("1", "1", "*", "32", 1) << "";
    QTest::newRow("jname minutes *") << Tools::jNameFromBeam("1", "1", "03", "*", 1) << "";
    QTest::newRow("jname site 3") << Tools::jNameFromBeam("1", "1", "03", "32", 3) << "";
    QTest::newRow("jname site 5") << Tools::jNameFromBeam("1", "1", "03", "32", 5) << "";
    QTest::newRow("jname site -1") << Tools::jNameFromBeam("1", "1", "03", "32", -1) << "";
    QTest::newRow("jname N4 absent") << Tools::jNameFromBeam("21", "1", "03", "32", 4) << "";
    QTest::newRow("jname long minutes") << Tools::jNameFromBeam("1", "1", "03", "3245", 1) << "J0332+4210";

    QTest::newRow("dec coded") << Tools::decFromFileName("123456_d452030_m3_r5.txt", 1) << "45:20:30";
    QTest::newRow("dec coded no d") << Tools::decFromFileName("/x/123456_452030_m12_r5.txt", -1)
                                    << "45:20:30";
    QTest::newRow("dec table") << Tools::decFromFileName("x_m1_r1.txt", 1) << "42:10:47";
    QTest::newRow("dec negative pos") << Tools::decFromFileName("x_m1_r1.txt", -1) << "";
    QTest::newRow("dec p0 module 1") << Tools::decFromFileName("x_m1_r1.txt", 0) << "";
    QTest::newRow("dec N4") << Tools::decFromFileName("x_m02_r2.txt", 4) << "85:54:00";
    QTest::newRow("dec pos 3") << Tools::decFromFileName("x_m1_r1.txt", 3) << "";
    QTest::newRow("dec pos 5") << Tools::decFromFileName("x_m1_r1.txt", 5) << "";
    QTest::newRow("dec no beam") << Tools::decFromFileName("x.txt", 1) << "";
    QTest::newRow("dec negative table") << Tools::decFromFileName("x_m6_r8.txt", 2) << "-08:28:12";

    QTest::newRow("source p4 N1") << Tools::sourceNameFromPath("/data/p0332_m1_r1.txt", "N1", true)
                                  << "J0332+4210_m1_r1";
    QTest::newRow("source p1") << Tools::sourceNameFromPath("/d/a0332_d542030_m3_r5.txt", "N4", false)
                               << "J0332+5420";
    QTest::newRow("source p2") << Tools::sourceNameFromPath("/d/033200_542030_m12_r3.txt", "N0", true)
                               << "J0332+5420_m12_r3";
    QTest::newRow("source p3") << Tools::sourceNameFromPath("/d/0332+5434_3-5.txt", "N1", false)
                               << "J0332+5434";
    QTest::newRow("source p3 minus") << Tools::sourceNameFromPath("/d/0332-0512_3-5.txt", "N1", true)
                                     << "J0332-0512_m3_r5";
    QTest::newRow("source none") << Tools::sourceNameFromPath("/d/readme.txt", "N1", false) << "J";
    QTest::newRow("source none beam") << Tools::sourceNameFromPath("/d/readme.txt", "N1", true) << "J_m_r";
    QTest::newRow("source p4 N4") << Tools::sourceNameFromPath("/d/p1205_m2_r2.txt", "N4", false)
                                  << "J1205+8554";
    QTest::newRow("source p4 N2 negative")
        << Tools::sourceNameFromPath("/d/p0332_m5_r6.txt", "N2", false) << "J0332-0036";
    QTest::newRow("source p4 N0 no key")
        << Tools::sourceNameFromPath("/d/p0332_m1_r1.txt", "N0", true) << "J0332_m1_r1";
    QTest::newRow("source p4 unknown site")
        << Tools::sourceNameFromPath("/d/p0332_m1_r1.txt", "N7", false) << "J0332";
}

void TstToolsNames::texts() {
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

void TstToolsNames::dmsNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("degrees");
    QTest::newRow("plain") << "03:30:00" << 3.5;
    QTest::newRow("seconds") << "42:10:48" << 42.18;
    QTest::newRow("minus") << "-08:28:12" << -8.47;
    QTest::newRow("plus") << "+08:28:12" << 8.47;
    QTest::newRow("minus zero degrees") << "-00:36:00" << -0.6;
    QTest::newRow("not a number") << "xx:yy:zz" << 0.0;
}

void TstToolsNames::dmsNumbers() {
    QFETCH(QString, text);
    QFETCH(double, degrees);
    QVERIFY(std::fabs(Tools::dmsToHours(text) - degrees) < 1e-12);
    QVERIFY(std::fabs(Tools::cosOfDms(text) - std::cos(degrees * 3.1415926 / 180)) < 1e-12);
}

QTEST_APPLESS_MAIN(TstToolsNames)
#include "tst_toolsnames.moc"
