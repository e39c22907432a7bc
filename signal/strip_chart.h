// The strip chart of the eight axes: one lane per axis over the last stretch of time, each
// pixel column drawn from the minimum to the maximum of the samples that fall in it, so
// that jitter shows at any width. Gaps longer than a dropout are left open.
#ifndef ORVANE_SIGNAL_STRIP_CHART_H
#define ORVANE_SIGNAL_STRIP_CHART_H

#include <QImage>
#include <QLine>
#include <QWidget>

#include <chrono>
#include <span>
#include <vector>

#include "signal/core/sample.h"

class QPainter;

namespace orvane::signal {

struct ChartFrame {
    TimePoint end{};                              // the right edge
    Duration span = std::chrono::seconds(10);     // from the left edge to the right
    Duration gap = std::chrono::milliseconds(30); // samples further apart are not joined
};

// Draws the chart into area. samples: oldest first; those outside the frame are skipped.
void drawStripChart(QPainter& painter, const QRect& area, std::span<const Sample> samples,
                    const ChartFrame& frame, const QString& emptyText);

class StripChart : public QWidget {
    Q_OBJECT
public:
    explicit StripChart(QWidget* parent = nullptr);

    // The samples to show; repaints.
    void setSamples(std::vector<Sample> samples, TimePoint end);
    void setEmptyText(const QString& text);
    const std::vector<Sample>& samples() const { return samples_; }

    // The chart as it stands, at the widget's size.
    QImage picture() const;

    QSize sizeHint() const override { return {640, 360}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Sample> samples_;
    ChartFrame frame_;
    QString emptyText_;
    QImage background_;
    QImage canvas_;
    std::vector<QLine> strokes_; // written on canvas_ over background_ at the last repaint
    bool onlyStrokes_ = false;
};

} // namespace orvane::signal

#endif
