#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>

#include "dialog_fixture.h"

namespace orvane::test {
namespace {

using config::MixerField;

class MixerPanelTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        dialog->enableMixerControls(true);
    }
    int stored(MixerField f, int mixer = 0) const { return dialog->mixers()[f][mixer]; }
    void type(const char* box, const char* typed) { field(box)->setText(QString::fromUtf8(typed)); }
};

// Locking the mixer greys its controls but not the two section titles.
TEST_F(MixerPanelTest, LockingTheMixerLeavesTheLinearAndQuadraticTitlesAsTheyLook) {
    dialog->show();
    for (const char* name : {"Label28_2", "Label28_3"}) {
        auto* title = control<QLabel>(name);
        dialog->enableMixerControls(true);
        const QImage unlocked = title->grab().toImage();
        dialog->enableMixerControls(false);
        EXPECT_EQ(title->grab().toImage(), unlocked) << name;
    }
    auto* factor = control<QLabel>("Label28_0");
    dialog->enableMixerControls(true);
    const QImage factorUnlocked = factor->grab().toImage();
    dialog->enableMixerControls(false);
    EXPECT_NE(factor->grab().toImage(), factorUnlocked);
}

TEST_F(MixerPanelTest, SignedFactorsAreStoredAsBytes) {
    slider("Slider6")->setValue(-1);
    EXPECT_EQ(stored(MixerField::Factor), 255);
    EXPECT_EQ(text("Text1_1"), "-1");
    slider("Slider9")->setValue(-128);
    EXPECT_EQ(stored(MixerField::FactorQ), 128);

    dialog->mixers()[MixerField::Factor][0] = 128;
    dialog->mixers()[MixerField::FactorQ][0] = 127;
    dialog->showCurrentMixer();
    EXPECT_EQ(slider("Slider6")->value(), -128);
    EXPECT_EQ(text("Text1_1"), "-128");
    EXPECT_EQ(slider("Slider9")->value(), 127);
    EXPECT_EQ(text("Text1_3"), "127");
}

TEST_F(MixerPanelTest, AssignmentPacksSourceAndDestination) {
    slider("Slider4_0")->setValue(3);
    slider("Slider4_1")->setValue(8);
    EXPECT_EQ(stored(MixerField::Assignment), 0x27);

    dialog->mixers()[MixerField::Assignment][0] = 0x52;
    dialog->showCurrentMixer();
    EXPECT_EQ(slider("Slider4_0")->value(), 6);
    EXPECT_EQ(slider("Slider4_1")->value(), 3);
}

// Mixer number, source and destination have no text box: each shows its value beside it.
TEST_F(MixerPanelTest, SlidersWithoutTextBoxShowTheirValueBeside) {
    dialog->mixers()[MixerField::Assignment][2] = 0x52;
    slider("Slider8")->setValue(3);
    EXPECT_EQ(control<QLabel>("Slider8Value")->text(), "3");
    EXPECT_EQ(control<QLabel>("Slider4_0Value")->text(), "6");
    EXPECT_EQ(control<QLabel>("Slider4_1Value")->text(), "3");
    slider("Slider4_1")->setValue(8);
    EXPECT_EQ(control<QLabel>("Slider4_1Value")->text(), "8");
}

TEST_F(MixerPanelTest, EachMixerKeepsItsOwnValues) {
    slider("Slider5")->setValue(11);
    slider("Slider7")->setValue(12);
    slider("Slider10")->setValue(13);
    slider("Slider8")->setValue(2);
    EXPECT_EQ(dialog->currentMixer(), 1);
    EXPECT_EQ(text("Text1_0"), "0");
    slider("Slider5")->setValue(21);
    slider("Slider6")->setValue(-22);
    slider("Slider4_0")->setValue(4);

    slider("Slider8")->setValue(1);
    EXPECT_EQ(slider("Slider5")->value(), 11);
    EXPECT_EQ(text("Text1_0"), "11");
    EXPECT_EQ(text("Text1_1"), "0");
    EXPECT_EQ(text("Text1_2"), "12");
    EXPECT_EQ(text("Text1_4"), "13");
    EXPECT_EQ(slider("Slider4_0")->value(), 1);

    slider("Slider8")->setValue(2);
    EXPECT_EQ(text("Text1_0"), "21");
    EXPECT_EQ(text("Text1_1"), "-22");
    EXPECT_EQ(slider("Slider4_0")->value(), 4);
    EXPECT_EQ(stored(MixerField::Factor, 1), 234);
    EXPECT_EQ(stored(MixerField::Neutral, 0), 11);
}

TEST_F(MixerPanelTest, ClearingReturnsToMixerOneWithZeros) {
    for (int m = 0; m < 8; ++m) {
        for (MixerField f : config::kMixerFields)
            dialog->mixers()[f][m] = static_cast<std::int16_t>(m + 5);
    }
    slider("Slider8")->setValue(5);
    EXPECT_EQ(text("Text1_2"), "9");
    click("Command7");
    EXPECT_EQ(dialog->currentMixer(), 0);
    EXPECT_EQ(slider("Slider8")->value(), 1);
    EXPECT_EQ(slider("Slider4_0")->value(), 1);
    EXPECT_EQ(slider("Slider4_1")->value(), 1);
    for (const char* box : {"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Text1_4"}) {
        EXPECT_EQ(text(box), "0") << box;
    }
    EXPECT_EQ(dialog->mixers(), config::MixerTables{});
}

TEST_F(MixerPanelTest, TextEntryMovesSliderAndRecordWhenInRange) {
    slider("Slider5")->setValue(40);
    type("Text1_0", "300");
    EXPECT_EQ(text("Text1_0"), "300");
    EXPECT_EQ(slider("Slider5")->value(), 40);
    EXPECT_EQ(stored(MixerField::Neutral), 40);

    struct Case {
        const char* typed;
        int value;
    };
    for (const Case& c :
         {Case{"017", 17}, Case{"&H1F", 31}, Case{"2.5", 2}, Case{"3.5", 4}, Case{" 9 9", 99}}) {
        type("Text1_0", c.typed);
        EXPECT_EQ(text("Text1_0"), std::to_string(c.value)) << c.typed;
        EXPECT_EQ(slider("Slider5")->value(), c.value) << c.typed;
        EXPECT_EQ(stored(MixerField::Neutral), c.value) << c.typed;
    }
    // Unchanged value: the box still turns into the plain form.
    type("Text1_0", "99.0");
    EXPECT_EQ(text("Text1_0"), "99");

    type("Text1_1", "-5");
    EXPECT_EQ(stored(MixerField::Factor), 251);
    type("Text1_1", "");
    EXPECT_EQ(text("Text1_1"), "0");
    EXPECT_EQ(slider("Slider6")->value(), 0);
    type("Text1_1", "-");
    EXPECT_EQ(text("Text1_1"), "0");
    type("Text1_1", "128");
    EXPECT_EQ(text("Text1_1"), "128");
    EXPECT_EQ(stored(MixerField::Factor), 0);
    type("Text1_3", "99999999");
    EXPECT_EQ(slider("Slider9")->value(), 0);
    type("Text1_4", "&HFF");
    EXPECT_EQ(stored(MixerField::ExponentQ), 255);
}

TEST_F(MixerPanelTest, TypedCharactersThatThePlainFormDropsVanish) {
    QLineEdit* box = field("Text1_1");
    box->setFocus();
    box->selectAll();
    const auto press = [&](Qt::Key key, const char* typed) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(typed));
        QApplication::sendEvent(box, &event);
    };
    press(Qt::Key_Minus, "-");
    EXPECT_EQ(box->text(), "0");
    press(Qt::Key_Backspace, ""); // an empty box reads as 0 as well
    EXPECT_EQ(box->text(), "0");
    box->selectAll();
    press(Qt::Key_4, "4");
    press(Qt::Key_2, "2");
    EXPECT_EQ(box->text(), "42");
    press(Qt::Key_Home, "");
    press(Qt::Key_Minus, "-");
    EXPECT_EQ(box->text(), "-42");
    EXPECT_EQ(stored(MixerField::Factor), 214);
    press(Qt::Key_End, "");
    press(Qt::Key_Period, ".");
    EXPECT_EQ(box->text(), "-42");
}

// Entries that no slider can show (from an interface or a hand-edited file) are shown clamped
// and stay as they are until the user moves that slider.
TEST_F(MixerPanelTest, UnshowableEntriesAreKeptUntilTheUserChangesThem) {
    auto& m = dialog->mixers();
    m[MixerField::Assignment][0] = 0x9A;
    m[MixerField::Neutral][0] = 300;
    m[MixerField::Factor][0] = -5;
    m[MixerField::ExponentQ][0] = -1;
    m[MixerField::Exponent][0] = 7;
    const config::MixerTables before = m;
    dialog->showCurrentMixer();
    EXPECT_EQ(slider("Slider4_0")->value(), 8);
    EXPECT_EQ(slider("Slider4_1")->value(), 8);
    EXPECT_EQ(slider("Slider5")->value(), 255);
    EXPECT_EQ(text("Text1_0"), "300");
    EXPECT_EQ(slider("Slider6")->value(), -5);
    EXPECT_EQ(text("Text1_4"), "-1");
    EXPECT_EQ(text("Text1_2"), "7");
    EXPECT_EQ(dialog->mixers(), before);

    slider("Slider8")->setValue(2);
    slider("Slider8")->setValue(1);
    EXPECT_EQ(dialog->mixers(), before);

    slider("Slider5")->setValue(254);
    EXPECT_EQ(stored(MixerField::Neutral), 254);
    type("Text1_1", "-5"); // the box holds this already: no change
    EXPECT_EQ(stored(MixerField::Factor), -5);
    type("Text1_1", "-6");
    EXPECT_EQ(stored(MixerField::Factor), 250);
    slider("Slider4_1")->setValue(2);
    EXPECT_EQ(stored(MixerField::Assignment), config::encodeAssignment(8, 2));
    EXPECT_EQ(stored(MixerField::ExponentQ), -1);
}

} // namespace
} // namespace orvane::test
