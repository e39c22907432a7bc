#include "signal/strip_chart.h"

#include <QImage>
#include <QLine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <limits>

namespace orvane::signal {

namespace {

constexpr std::array<const char*, kAxes> kAxisNames = {"X", "Y", "Z", "Rx", "Ry", "Rz", "Sl", "Di"};
constexpr std::array<QRgb, kAxes> kColours = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd,
                                              0xff7f0e, 0x17becf, 0x8c564b, 0xe377c2};
constexpr int kLabelWidth = 34;
constexpr int kTimeHeight = 16;

// The trace of one axis as polylines: per pixel column its first sample, its minimum, its
// maximum and its last sample, so that the line spans the column's range and runs on to
// the next column; a gap ends one polyline and starts the next.
class LaneTrace {
public:
    template <class Draw> void add(int column, int y, bool joined, Draw&& draw) {
        if (!open_ || column != column_ || !joined) {
            closeColumn();
            if (!joined) flush(draw);
            column_ = column;
            first_ = min_ = max_ = y;
            open_ = true;
        }
        min_ = std::min(min_, y);
        max_ = std::max(max_, y);
        last_ = y;
    }
    template <class Draw> void finish(Draw&& draw) {
        closeColumn();
        flush(draw);
    }

private:
    void closeColumn() {
        if (!open_) return;
        put({column_, first_});
        // Towards the nearer extreme first, then the other, then the last value.
        const bool downFirst = first_ - min_ < max_ - first_;
        put({column_, downFirst ? min_ : max_});
        put({column_, downFirst ? max_ : min_});
        put({column_, last_});
        open_ = false;
    }
    // Repeated points would draw zero-length segments, which the stroker may leave out.
    void put(QPoint point) {
        if (points_.empty() || points_.back() != point) points_.push_back(point);
    }
    template <class Draw> void flush(Draw&& draw) {
        if (!points_.empty()) draw(points_);
        points_.clear();
    }
    std::vector<QPoint> points_;
    bool open_ = false;
    int column_ = 0;
    int first_ = 0;
    int min_ = 0;
    int max_ = 0;
    int last_ = 0;
};

QRect plotArea(QSize size) {
    return {kLabelWidth, 2, std::max(1, size.width() - kLabelWidth - 4),
            std::max(kAxes, size.height() - kTimeHeight - 2)};
}

void drawFrame(QPainter& p, const QRect& plot, int laneHeight, const ChartFrame& frame) {
    p.setPen(QColor(0xe0, 0xe0, 0xe0));
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(frame.span).count();
    for (long long s = 0; s <= seconds; ++s) {
        const int x = plot.right() - static_cast<int>(s * plot.width() / std::max(1LL, seconds));
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.setPen(Qt::darkGray);
        p.drawText(QRect(x - 30, plot.bottom() + 1, 60, kTimeHeight - 1), Qt::AlignCenter,
                   s == 0 ? QStringLiteral("0 s") : QStringLiteral("-%1 s").arg(s));
        p.setPen(QColor(0xe0, 0xe0, 0xe0));
    }
    for (int lane = 0; lane < kAxes; ++lane) {
        const int top = plot.top() + lane * laneHeight;
        p.setPen(QColor(0xc8, 0xc8, 0xc8));
        p.drawLine(plot.left(), top, plot.right(), top);
        p.setPen(QColor(kColours[static_cast<std::size_t>(lane)]));
        p.drawText(QRect(0, top, kLabelWidth - 4, laneHeight), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(kAxisNames[static_cast<std::size_t>(lane)]));
    }
    p.setPen(QColor(0xc8, 0xc8, 0xc8));
    p.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
}

} // namespace

void drawChartFrame(QPainter& p, QSize size, const ChartFrame& frame) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QRect plot = plotArea(size);
    drawFrame(p, plot, plot.height() / kAxes, frame);
}

void drawChartTraces(QPainter& p, QSize size, std::span<const Sample> samples,
                     const ChartFrame& frame, const QString& emptyText) {
    const QRect plot = plotArea(size);
    const int laneHeight = plot.height() / kAxes;
    const TimePoint start = frame.end - frame.span;
    const auto first = std::ranges::lower_bound(samples, start, {}, &Sample::time);
    const auto last = std::ranges::upper_bound(samples, frame.end, {}, &Sample::time);
    if (first == last) {
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, emptyText);
        return;
    }
    const double pixelsPerTick =
        static_cast<double>(plot.width() - 1) / static_cast<double>(frame.span.count());
    const int usable = std::max(1, laneHeight - 4);
    std::array<LaneTrace, kAxes> traces;
    std::array<std::vector<std::vector<QPoint>>, kAxes> lines;
    TimePoint previous = first->time;
    for (auto it = first; it != last; ++it) {
        const int column =
            plot.left() +
            static_cast<int>(static_cast<double>((it->time - start).count()) * pixelsPerTick);
        const bool joined = it->time - previous <= frame.gap;
        previous = it->time;
        for (std::size_t a = 0; a < kAxes; ++a) {
            const int bottom = plot.top() + static_cast<int>(a + 1) * laneHeight - 2;
            const int y = bottom - it->axes[a] * usable / 65535;
            traces[a].add(column, y, joined,
                          [&](const std::vector<QPoint>& points) { lines[a].push_back(points); });
        }
    }
    for (std::size_t a = 0; a < kAxes; ++a) {
        traces[a].finish([&](const std::vector<QPoint>& points) { lines[a].push_back(points); });
        p.setPen(QPen(QColor(kColours[a]), 1));
        for (const auto& polyline : lines[a]) {
            if (polyline.size() == 1)
                p.drawPoint(polyline.front());
            else
                p.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
        }
    }
}

void drawStripChart(QPainter& p, const QRect& area, std::span<const Sample> samples,
                    const ChartFrame& frame, const QString& emptyText) {
    p.save();
    p.setClipRect(area);
    p.translate(area.topLeft());
    drawChartFrame(p, area.size(), frame);
    drawChartTraces(p, area.size(), samples, frame, emptyText);
    p.restore();
}

StripChart::StripChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StripChart::setSamples(std::vector<Sample> samples, TimePoint end) {
    samples_ = std::move(samples);
    frame_.end = end;
    update();
}

void StripChart::setEmptyText(const QString& text) {
    emptyText_ = text;
    update();
}

QImage StripChart::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    drawStripChart(p, image.rect(), samples_, frame_, emptyText_);
    return image;
}

void StripChart::paintEvent(QPaintEvent*) {
    // The grid and the labels change only with the size: drawn once, then copied.
    if (background_.size() != size() * devicePixelRatio()) {
        background_ = QPixmap(size() * devicePixelRatio());
        background_.setDevicePixelRatio(devicePixelRatio());
        QPainter b(&background_);
        drawChartFrame(b, size(), frame_);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
    drawChartTraces(p, size(), samples_, frame_, emptyText_);
}

} // namespace orvane::signal
