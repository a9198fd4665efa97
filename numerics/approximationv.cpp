#include "numerics/approximationv.h"

#include "numerics/approximation_core.h"

using namespace ApproximationCore;

int ApproximationV::polinom(int k, const QVector<double>& in, QVector<double>& out, bool findExtremum) {
    count = in.size();
    if (!degreeAtLeastOne(k) || !countNotZero(count) || !degreeBelowCount(k, count)) {
        return 0;
    }
    std::vector<double> a;
    if (!fitPolynomial(in.constData(), count, k, a)) {
        return 0;
    }
    out.resize(count);
    writeFit(a, k, out.data(), count, findExtremum, *this);
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
