// One output bar of the axis frame: a box filled from the left to a fraction of its width,
// with the axis value as a label inside.
#ifndef ORVANE_CONFIG_AXIS_BOX_H
#define ORVANE_CONFIG_AXIS_BOX_H

#include <QFrame>

namespace orvane {

class AxisBox : public QFrame {
    Q_OBJECT
public:
    explicit AxisBox(QWidget* parent = nullptr);

    // 0 empty .. 1 full; values outside are clamped.
    void setFill(double fraction);
    double fill() const { return fill_; }
    void clear() { setFill(0.0); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fill_ = 0.0;
};

} // namespace orvane

#endif
