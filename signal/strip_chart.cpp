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

// The lines of one axis: a vertical stroke per pixel column from its minimum to its maximum,
// and a joint from each column's last value to the next column's first.
class LaneTrace {
public:
    void add(int column, int y, bool joined) {
        if (column != column_ || !open_) {
            close();
            if (open_ && joined) lines_.emplace_back(column_, last_, column, y);
            column_ = column;
            min_ = max_ = y;
            open_ = true;
        }
        min_ = std::min(min_, y);
        max_ = std::max(max_, y);
        last_ = y;
    }
    const std::vector<QLine>& finish() {
        close();
        return lines_;
    }

private:
    void close() {
        if (open_ && column_ != closed_) {
            lines_.emplace_back(column_, min_, column_, max_);
            closed_ = column_;
        }
    }
    std::vector<QLine> lines_;
    bool open_ = false;
    int column_ = 0;
    int closed_ = std::numeric_limits<int>::min();
    int min_ = 0;
    int max_ = 0;
    int last_ = 0;
};

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

void drawStripChart(QPainter& p, const QRect& area, std::span<const Sample> samples,
                    const ChartFrame& frame, const QString& emptyText) {
    p.save();
    p.setClipRect(area);
    p.translate(area.topLeft());
    p.fillRect(QRect(QPoint(0, 0), area.size()), Qt::white);
    const QRect plot(kLabelWidth, 2, std::max(1, area.width() - kLabelWidth - 4),
                     std::max(kAxes, area.height() - kTimeHeight - 2));
    const int laneHeight = plot.height() / kAxes;
    drawFrame(p, plot, laneHeight, frame);

    const TimePoint start = frame.end - frame.span;
    const auto first = std::ranges::lower_bound(samples, start, {}, &Sample::time);
    const auto last = std::ranges::upper_bound(samples, frame.end, {}, &Sample::time);
    if (first == last) {
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, emptyText);
        p.restore();
        return;
    }
    const double pixelsPerTick =
        static_cast<double>(plot.width() - 1) / static_cast<double>(frame.span.count());
    const int usable = std::max(1, laneHeight - 4);
    std::array<LaneTrace, kAxes> traces;
    TimePoint previous = first->time;
    for (auto it = first; it != last; ++it) {
        const int column =
            plot.left() +
            static_cast<int>(static_cast<double>((it->time - start).count()) * pixelsPerTick);
        const bool joined = it->time - previous <= frame.gap;
        previous = it->time;
        for (int a = 0; a < kAxes; ++a) {
            const int bottom = plot.top() + (a + 1) * laneHeight - 2;
            const int y = bottom - it->axes[static_cast<std::size_t>(a)] * usable / 65535;
            traces[static_cast<std::size_t>(a)].add(column, y, joined);
        }
    }
    for (int a = 0; a < kAxes; ++a) {
        const auto& lines = traces[static_cast<std::size_t>(a)].finish();
        p.setPen(QPen(QColor(kColours[static_cast<std::size_t>(a)]), 1));
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
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
    QPainter p(this);
    drawStripChart(p, rect(), samples_, frame_, emptyText_);
}

} // namespace orvane::signal
