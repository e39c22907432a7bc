// The mixer panel: Slider8 chooses the record, the other sliders and the text boxes show and
// edit it, and every change is written into the record currentMixer at once.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "config/Dialog2.h"
#include "config/core/text_entry.h"

namespace orvane {
namespace {

using config::MixerField;

std::size_t slot(MixerSlider which) {
    return static_cast<std::size_t>(which);
}

// Which text box belongs to a slider: -1 for the channel sliders.
int textIndex(MixerSlider which) {
    switch (which) {
    case MixerSlider::Neutral:
        return 0;
    case MixerSlider::Factor:
        return 1;
    case MixerSlider::Exponent:
        return 2;
    case MixerSlider::FactorQ:
        return 3;
    case MixerSlider::ExponentQ:
        return 4;
    case MixerSlider::Source:
    case MixerSlider::Destination:
        break;
    }
    return -1;
}

constexpr std::array<MixerSlider, 5> kTextSliders = {MixerSlider::Neutral, MixerSlider::Factor,
                                                     MixerSlider::Exponent, MixerSlider::FactorQ,
                                                     MixerSlider::ExponentQ};

MixerField fieldOf(MixerSlider which) {
    switch (which) {
    case MixerSlider::Source:
    case MixerSlider::Destination:
        return MixerField::Assignment;
    case MixerSlider::Neutral:
        return MixerField::Neutral;
    case MixerSlider::Factor:
        return MixerField::Factor;
    case MixerSlider::Exponent:
        return MixerField::Exponent;
    case MixerSlider::FactorQ:
        return MixerField::FactorQ;
    case MixerSlider::ExponentQ:
        return MixerField::ExponentQ;
    }
    return MixerField::Assignment;
}

bool isSigned(MixerSlider which) {
    return which == MixerSlider::Factor || which == MixerSlider::FactorQ;
}

} // namespace

QSlider* Dialog2::mixerSlider(MixerSlider which) const {
    switch (which) {
    case MixerSlider::Source:
        return slider4_[0];
    case MixerSlider::Destination:
        return slider4_[1];
    case MixerSlider::Neutral:
        return slider5_;
    case MixerSlider::Factor:
        return slider6_;
    case MixerSlider::Exponent:
        return slider7_;
    case MixerSlider::FactorQ:
        return slider9_;
    case MixerSlider::ExponentQ:
        return slider10_;
    }
    return slider5_;
}

void Dialog2::setTextQuietly(int index, const QString& text) {
    QLineEdit* box = text1_[static_cast<std::size_t>(index)];
    if (box->text() == text) return;
    // The box only mirrors the slider here; reading it back would change nothing.
    const QSignalBlocker quiet(box);
    box->setText(text);
}

void Dialog2::mixerSliderUpdate(MixerSlider which) {
    const MixerField field = fieldOf(which);
    auto& entry = config_.mixers[field][static_cast<std::size_t>(currentMixer_)];
    const int value = mixerSlider(which)->value();
    const int text = textIndex(which);
    if (keepStored_[slot(which)]) {
        if (text >= 0) setTextQuietly(text, QString::number(entry));
        return;
    }
    if (text >= 0) setTextQuietly(text, QString::number(value));
    if (field == MixerField::Assignment) {
        entry = static_cast<std::int16_t>(
            config::encodeAssignment(slider4_[0]->value(), slider4_[1]->value()));
    } else {
        entry =
            static_cast<std::int16_t>(isSigned(which) ? config::encodeSignedByte(value) : value);
    }
}

// A slider moved by the user (or set by an entry in its text box) takes over the record's
// entry, also one that was kept because the slider could not show it.
void Dialog2::onMixerSliderMoved(MixerSlider which) {
    keepStored_[slot(which)] = false;
    if (which == MixerSlider::Source || which == MixerSlider::Destination) {
        keepStored_[slot(MixerSlider::Source)] = false;
        keepStored_[slot(MixerSlider::Destination)] = false;
    }
    mixerSliderUpdate(which);
}

void Dialog2::showCurrentMixer() {
    const config::PanelView view = config::panelView(config_.mixers, currentMixer_);
    const std::array<std::pair<MixerSlider, config::PanelValue>, 7> order = {{
        {MixerSlider::Source, view.source},
        {MixerSlider::Destination, view.destination},
        {MixerSlider::Neutral, view.neutral},
        {MixerSlider::Factor, view.factor},
        {MixerSlider::FactorQ, view.factorQ},
        {MixerSlider::Exponent, view.exponent},
        {MixerSlider::ExponentQ, view.exponentQ},
    }};
    for (const auto& [which, shown] : order) {
        QSlider* slider = mixerSlider(which);
        {
            const QSignalBlocker quiet(slider);
            slider->setValue(shown.shown);
        }
        keepStored_[slot(which)] = !shown.exact;
    }
    // Every update runs, also for sliders whose value did not change, so that all five text
    // boxes show the record (a box may still hold a rejected entry).
    for (const auto& [which, shown] : order)
        mixerSliderUpdate(which);
}

void Dialog2::Slider8_Change() {
    currentMixer_ = slider8_->value() - 1;
    showCurrentMixer();
}

void Dialog2::Text1_Change(int index) {
    if (index < 0 || index >= static_cast<int>(kTextSliders.size())) return;
    const MixerSlider which = kTextSliders[static_cast<std::size_t>(index)];
    QSlider* slider = mixerSlider(which);
    const auto value =
        config::parseTextEntry(text1_[static_cast<std::size_t>(index)]->text().toStdString());
    if (!value || *value < slider->minimum() || *value > slider->maximum()) return;
    slider->setValue(*value);
    // Once more even when the value did not change: the box shows the plain decimal form.
    onMixerSliderMoved(which);
}

void Dialog2::Command7_Click() {
    currentMixer_ = 0;
    {
        const QSignalBlocker quiet(slider8_);
        slider8_->setValue(1);
    }
    config_.mixers = config::MixerTables{};
    showCurrentMixer();
}

void Dialog2::enableMixerControls(bool enable) {
    frame8_->setEnabled(enable);
    for (const char* name : {"Label30_0", "Label25_0", "Label26_0", "Label27_0", "Label28_0",
                             "Label28_1", "Label29_0", "Label29_1"}) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) label->setEnabled(enable);
    }
    command7_->setEnabled(enable);
}

void Dialog2::connectMixerPanel() {
    for (MixerSlider which :
         {MixerSlider::Source, MixerSlider::Destination, MixerSlider::Neutral, MixerSlider::Factor,
          MixerSlider::Exponent, MixerSlider::FactorQ, MixerSlider::ExponentQ}) {
        connect(mixerSlider(which), &QSlider::valueChanged, this,
                [this, which] { onMixerSliderMoved(which); });
    }
    connect(slider8_, &QSlider::valueChanged, this, [this] { Slider8_Change(); });
    for (int k = 0; k < static_cast<int>(text1_.size()); ++k) {
        connect(text1_[static_cast<std::size_t>(k)], &QLineEdit::textChanged, this,
                [this, k] { Text1_Change(k); });
    }
    connect(command7_, &QPushButton::clicked, this, [this] { Command7_Click(); });
}

} // namespace orvane
