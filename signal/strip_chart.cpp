#include "signal/strip_chart.h"

#include <QImage>
#include <QLine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace orvane::signal {

namespace {

constexpr std::array<QRgb, kAxes> kColours = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd,
                                              0xff7f0e, 0x17becf, 0x8c564b, 0xe377c2};
constexpr int kLabelWidth = 34;
constexpr int kTimeHeight = 16;

// The trace of one axis: per pixel column one vertical stroke from the minimum to the
// maximum of its samples, stretched to the previous column's last value unless a gap lies
// between, so that neighbours join. Vertical strokes are the raster engine's cheapest line.
class LaneTrace {
public:
    void reserve(int columns) { lines_.reserve(static_cast<std::size_t>(columns) + 1); }
    void add(int column, int y, bool joined) {
        if (!open_ || column != column_) {
            close();
            const bool join = open_ && joined;
            column_ = column;
            min_ = max_ = y;
            if (join) {
                min_ = std::min(min_, last_);
                max_ = std::max(max_, last_);
            }
            open_ = true;
        } else if (!joined) {
            // A gap within one column: the column shows only what follows it.
            min_ = max_ = y;
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
        if (open_) lines_.emplace_back(column_, min_, column_, max_);
    }
    std::vector<QLine> lines_;
    bool open_ = false;
    int column_ = 0;
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
        // The newest second's label ends at the right edge rather than past it.
        const QRect label = s == 0 ? QRect(x - 59, plot.bottom() + 1, 60, kTimeHeight - 1)
                                   : QRect(x - 30, plot.bottom() + 1, 60, kTimeHeight - 1);
        p.drawText(label, s == 0 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter,
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

// Returns false when it wrote the empty text rather than strokes only; strokes, when given,
// receives each stroke written.
bool drawChartTraces(QImage& canvas, std::span<const Sample> samples, const ChartFrame& frame,
                     const QString& emptyText, std::vector<QLine>* strokes = nullptr) {
    const QRect plot = plotArea(canvas.size());
    const int laneHeight = plot.height() / kAxes;
    const TimePoint start = frame.end - frame.span;
    const auto first = std::ranges::lower_bound(samples, start, {}, &Sample::time);
    const auto last = std::ranges::upper_bound(samples, frame.end, {}, &Sample::time);
    if (first == last) {
        QPainter p(&canvas);
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, emptyText);
        return false;
    }
    const double pixelsPerTick =
        static_cast<double>(plot.width() - 1) / static_cast<double>(frame.span.count());
    const int usable = std::max(1, laneHeight - 4);
    std::array<LaneTrace, kAxes> traces;
    for (LaneTrace& trace : traces)
        trace.reserve(plot.width());
    TimePoint previous = first->time;
    for (auto it = first; it != last; ++it) {
        const int column =
            plot.left() +
            static_cast<int>(static_cast<double>((it->time - start).count()) * pixelsPerTick);
        const bool joined = it->time - previous <= frame.gap;
        previous = it->time;
        for (std::size_t a = 0; a < kAxes; ++a) {
            const int bottom = plot.top() + static_cast<int>(a + 1) * laneHeight - 2;
            traces[a].add(column, bottom - it->axes[a] * usable / 65535, joined);
        }
    }
    // One-pixel vertical strokes, written straight into the picture: thousands of them are
    // drawn at every repaint, and a painter call each would cost more than the whole frame.
    uchar* const bits = canvas.bits();
    const qsizetype stride = canvas.bytesPerLine();
    const QRect bounds = canvas.rect();
    for (std::size_t a = 0; a < kAxes; ++a) {
        const QRgb colour = 0xff000000u | kColours[a];
        for (const QLine& line : traces[a].finish()) {
            if (line.x1() < bounds.left() || line.x1() > bounds.right()) continue;
            const int top = std::max(line.y1(), bounds.top());
            const int bottom = std::min(line.y2(), bounds.bottom());
            for (int y = top; y <= bottom; ++y)
                reinterpret_cast<QRgb*>(bits + y * stride)[line.x1()] = colour;
            if (strokes && top <= bottom) strokes->emplace_back(line.x1(), top, line.x1(), bottom);
        }
    }
    return true;
}

// Puts the background back under the strokes of the last repaint: far fewer pixels than
// the whole picture, which would otherwise be copied twice at every repaint.
void restoreUnder(QImage& canvas, const QImage& background, std::span<const QLine> strokes) {
    uchar* const to = canvas.bits();
    const uchar* const from = background.constBits();
    const qsizetype stride = canvas.bytesPerLine();
    for (const QLine& line : strokes)
        for (int y = line.y1(); y <= line.y2(); ++y)
            reinterpret_cast<QRgb*>(to + y * stride)[line.x1()] =
                reinterpret_cast<const QRgb*>(from + y * stride)[line.x1()];
}

void drawStripChart(QPainter& p, const QRect& area, std::span<const Sample> samples,
                    const ChartFrame& frame, const QString& emptyText) {
    QImage canvas(area.size(), QImage::Format_RGB32);
    {
        QPainter c(&canvas);
        drawChartFrame(c, canvas.size(), frame);
    }
    drawChartTraces(canvas, samples, frame, emptyText);
    p.drawImage(area.topLeft(), canvas);
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
    if (background_.size() != size()) {
        background_ = QImage(size(), QImage::Format_RGB32);
        QPainter b(&background_);
        drawChartFrame(b, size(), frame_);
        canvas_ = background_.copy();
    } else if (onlyStrokes_) {
        restoreUnder(canvas_, background_, strokes_);
    } else {
        std::memcpy(canvas_.bits(), background_.constBits(),
                    static_cast<std::size_t>(background_.sizeInBytes()));
    }
    // The canvas is kept between repaints: a fresh one each time would cost an allocation
    // and its page faults 30 times a second.
    strokes_.clear();
    onlyStrokes_ = drawChartTraces(canvas_, samples_, frame_, emptyText_, &strokes_);
    QPainter p(this);
    p.drawImage(0, 0, canvas_);
}

} // namespace orvane::signal
