#ifndef CHANNELSUMSERIES_H
#define CHANNELSUMSERIES_H

#include <QString>
#include <QVector>

class QWidget;

// The series a graph of the native multi-date form shows for one date: the dedispersed sum of the six
// band channels, then, as the panel asks, the calibration step removed, the median baseline shown or
// deducted (normalised to unit sigma), and smoothing. Stateless; messages go through the Desktop seam
// with the given parent. Nothing is cached: every graph recomputes its series.
class ChannelSumSeries {
public:
    ChannelSumSeries() = delete;

    // What the panel asks for; averageType 0 smooths twice-doubling windows, 1 is one moving average.
    struct Options {
        bool deleteStep = false;
        bool deductNoise = false;
        bool showApprox = false;
        int len = 64;
        int averageN = 0;
        int averageType = 0;
    };

    // Sum of bands 0 .. fbands.size()-1 with the highest band as reference, the lower ones read later by
    // their dispersion delay. Samples past the end of a channel read its last one, before the start its
    // first one. Empty (with a debug line) when the channels are shorter than 10 points, fewer than the
    // bands, of unequal length, or the bands or sampling interval are unusable. Allocates only the result.
    static QVector<double> sumChannels(const QVector<QVector<float>>& channels, double dm,
                                       const QVector<double>& fbands, double tres);

    // The series minus its block-median baseline over len points, divided by its standard deviation;
    // unscaled after an "Ошибка sigma!" box when that is below 1e-7. When no baseline fits (len < 3 or
    // fewer points than len) the baseline is the series itself, so zeros come back after that box.
    static QVector<double> deductNoise(QWidget* parent, QVector<double> series, int len);

    // The whole chain for one date and DM.
    static QVector<double> make(const QVector<QVector<float>>& channels, double dm, const Options& options,
                                const QVector<double>& fbands, double tres, QWidget* parent);
};

#endif // CHANNELSUMSERIES_H
