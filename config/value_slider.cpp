#include "config/value_slider.h"

#include <QLabel>

namespace orvane {

void ValueSlider::showValueIn(QLabel* label) {
    label_ = label;
    if (label_) label_->setNum(value());
}

void ValueSlider::sliderChange(SliderChange change) {
    QSlider::sliderChange(change);
    if (change == SliderValueChange && label_) label_->setNum(value());
}

} // namespace orvane
