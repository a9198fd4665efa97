#include "numerics/approximationv.h"

#include "numerics/approximation_core.h"

using namespace ApproximationCore;

int ApproximationV::polinom(int k, const QVector<double>& in, QVector<double>& out, bool findExtremum) {
    count = in.size();
    if (k < 1) {
        qDebug() << "Error: k < 1!";
        return 0;
    }
    if (count == 0) {
        qDebug() << "Error: count = 0!";
        return 0;
    }
    if (k >= count) {
        qDebug() << "Error: countIn <= k!";
        return 0;
    }
    std::vector<double> a;
    if (!fitPolynomial(in.constData(), count, k, a)) {
        return 0;
    }
    out.resize(count);
    evaluateAll(a, out.data(), count);
    if (findExtremum) {
        Extremum e{extremumIndex, extremumX, extremumY, x1, value1, x2, value2};
        ApproximationCore::findExtremum(a, k, count, e);
        extremumIndex = e.index;
        extremumX = e.x;
        extremumY = e.y;
        x1 = e.x1;
        value1 = e.value1;
        x2 = e.x2;
        value2 = e.value2;
    }
    return 1;
}

QVector<double> approxMedian(QVector<double> data, int len) {
    if (len < 3 || data.size() < len) {
        qDebug() << "Error approxMedian(): len =" << len << " count=" << data.size();
        return data;
    }
    QVector<double> result(data.size());
    blockLinear(data.constData(), result.data(), data.size(), len, true);
    return result;
}
