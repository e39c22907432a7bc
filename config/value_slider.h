// A slider that shows its value in a label beside it, however the value was set: the
// mixer panel sets its sliders with their signals blocked.
#ifndef ORVANE_CONFIG_VALUE_SLIDER_H
#define ORVANE_CONFIG_VALUE_SLIDER_H

#include <QPointer>
#include <QSlider>

class QLabel;

namespace orvane {

class ValueSlider : public QSlider {
public:
    using QSlider::QSlider;
    void showValueIn(QLabel* label);

protected:
    void sliderChange(SliderChange change) override;

private:
    QPointer<QLabel> label_;
};

} // namespace orvane

#endif
