// The strip chart rendered into an image with known samples: every pixel column spans the
// minimum and maximum of its samples, neighbours are joined, gaps and old samples are not.
#include "signal/strip_chart.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace orvane::signal {
namespace {

using namespace std::chrono_literals;

// The X lane's colour, and its geometry in a 438 x 418 picture: the plot starts at x 34 and
// is 400 pixels wide; the X lane's trace runs from y 50 (0) up to y 4 (65535).
constexpr QRgb kX = 0x1f77b4;
constexpr int kLeft = 34;
constexpr int kTop = 4;
constexpr int kBottom = 50;

const TimePoint kEnd = TimePoint{} + 1h;
const TimePoint kStart = kEnd - 10s;

Sample at(Duration sinceStart, uint16_t x) {
    Sample s;
    s.time = kStart + sinceStart;
    s.axes[0] = x;
    return s;
}

int columnOf(Duration sinceStart) {
    return kLeft + static_cast<int>(static_cast<double>(sinceStart.count()) * 399.0 /
                                    static_cast<double>(Duration(10s).count()));
}

QImage render(const std::vector<Sample>& samples) {
    QImage image(438, 418, QImage::Format_RGB32);
    QPainter p(&image);
    drawStripChart(p, image.rect(), samples, ChartFrame{kEnd}, QStringLiteral("none"));
    return image;
}

bool isX(const QImage& image, int x, int y) {
    return (image.pixel(x, y) & 0xffffff) == kX;
}

// Rows of the X lane in column x that carry the trace.
int tracedRows(const QImage& image, int x) {
    int rows = 0;
    for (int y = kTop; y <= kBottom; ++y)
        rows += isX(image, x, y);
    return rows;
}

TEST(StripChart, EachColumnSpansItsSamplesAndGapsStayOpen) {
    const std::vector<Sample> samples = {
        at(-1s, 65535),                // before the frame: not drawn
        at(1s, 0),      at(3s, 65535), // two seconds apart: a gap, not joined
        at(5s, 0),      at(5s + 1ms, 65535),  at(5s + 2ms, 32768), // one column, full span
        at(7s, 0),      at(7s + 25ms, 65535),                      // a report period apart: joined
    };
    const QImage image = render(samples);

    EXPECT_EQ(tracedRows(image, columnOf(5s)), kBottom - kTop + 1) << "minimum to maximum";
    EXPECT_GT(tracedRows(image, columnOf(7s)) + tracedRows(image, columnOf(7s + 25ms)), 20)
        << "the joint between neighbours";
    for (int x = columnOf(1s) + 2; x < columnOf(3s) - 1; ++x)
        ASSERT_EQ(tracedRows(image, x), 0) << "column " << x << " lies in a gap";
    for (int x = kLeft; x < columnOf(1s); ++x)
        ASSERT_EQ(tracedRows(image, x), 0) << "column " << x << " lies before the samples";
    EXPECT_TRUE(isX(image, columnOf(3s), kTop));
    EXPECT_TRUE(isX(image, columnOf(1s), kBottom));
}

TEST(StripChart, SamplesOutsideTheFrameLeaveTheLanesEmpty) {
    const QImage image = render({at(-2s, 65535), at(-1s, 0)});
    for (int x = kLeft; x < 434; ++x)
        ASSERT_EQ(tracedRows(image, x), 0) << "column " << x;
}

// The widget keeps its picture between repaints and takes back only the last strokes: each
// repaint must still look as if drawn afresh, whatever the one before showed.
TEST(StripChart, EachRepaintShowsOnlyItsOwnSamples) {
    StripChart chart;
    chart.resize(438, 418);
    const std::vector<std::vector<Sample>> frames = {
        {at(5s, 0), at(5s + 1ms, 65535), at(7s, 0), at(7s + 25ms, 65535)},
        {at(2s, 30000), at(2s + 10ms, 31000)},
        {}, // the empty text
        {at(9s, 65535)},
    };
    for (const auto& samples : frames) {
        chart.setSamples(samples, kEnd);
        EXPECT_EQ(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), chart.picture())
            << samples.size() << " samples";
    }
}

} // namespace
} // namespace orvane::signal
