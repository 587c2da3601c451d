#include "Kelvane/HotKey/HotKeyRecorder.hpp"

#include "Kelvane/HotKey/HotKeyCombination.hpp"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Combination = std::optional<HotKeyCombination>;

class HotKeyRecorderTest : public ::testing::Test {
protected:
    HotKeyRecorderTest() { recorder.setCombination(HotKeyCombination{49, 2304}); }

    QString label() const { return recorder.findChild<QPushButton*>("hotKeyButton")->text(); }
    QToolButton* clearButton() const {
        return recorder.findChild<QToolButton*>("hotKeyClearButton");
    }

    HotKeyRecorder recorder;
    QSignalSpy edits{&recorder, &HotKeyRecorder::combinationEdited};
    // Where the keyboard focus would be: key presses must not reach it while recording.
    QLineEdit elsewhere;
};

TEST_F(HotKeyRecorderTest, theButtonStartsAndStopsRecordingAndHidingStopsIt) {
    EXPECT_EQ(label(), QString::fromStdString(HotKeyCombination{49, 2304}.displayString()));
    recorder.findChild<QPushButton*>("hotKeyButton")->click();
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(label(), QString::fromUtf8("Tasten dr\u00fccken\u2026"));
    recorder.findChild<QPushButton*>("hotKeyButton")->click();
    EXPECT_FALSE(recorder.isRecording());

    recorder.show();
    recorder.startRecording();
    recorder.hide();
    EXPECT_FALSE(recorder.isRecording());
    QTest::keyClick(&elsewhere, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(edits.count(), 0);
}

TEST_F(HotKeyRecorderTest, keyPressesWhileRecording) {
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool keepsRecording;
        Combination recorded;
    };
    const Case cases[] = {
        {"letter alone", Qt::Key_K, Qt::NoModifier, true, std::nullopt},
        {"function key alone", Qt::Key_F5, Qt::NoModifier, true, std::nullopt},
        {"modifier alone", Qt::Key_Control, Qt::ControlModifier, true, std::nullopt},
        {"unknown key", Qt::Key_MediaPlay, Qt::ControlModifier, true, std::nullopt},
        {"escape", Qt::Key_Escape, Qt::NoModifier, false, std::nullopt},
        {"shift command K", Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier, false,
         HotKeyCombination{40, 768}},
        {"control F1", Qt::Key_F1, Qt::MetaModifier, false, HotKeyCombination{122, 4096}},
        {"shift option 1", Qt::Key_Exclam, Qt::ShiftModifier | Qt::AltModifier, false,
         HotKeyCombination{18, 2560}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        recorder.setCombination(HotKeyCombination{49, 2304});
        edits.clear();
        elsewhere.clear();
        recorder.startRecording();
        QTest::keyClick(&elsewhere, test.key, test.modifiers);
        EXPECT_EQ(recorder.isRecording(), test.keepsRecording);
        EXPECT_TRUE(elsewhere.text().isEmpty());
        if (test.recorded) {
            ASSERT_EQ(edits.count(), 1);
            EXPECT_EQ(edits.at(0).at(0).value<Combination>(), test.recorded);
            EXPECT_EQ(recorder.combination(), test.recorded);
        } else {
            EXPECT_EQ(edits.count(), 0);
            EXPECT_EQ(recorder.combination(), (HotKeyCombination{49, 2304}));
        }
        recorder.stopRecording();
    }
    QTest::keyClick(&elsewhere, Qt::Key_K);
    EXPECT_EQ(elsewhere.text(), "k");
}

TEST_F(HotKeyRecorderTest, theClearButtonIsThereOnlyWithACombination) {
    EXPECT_FALSE(clearButton()->isHidden());
    EXPECT_EQ(clearButton()->toolTip(), QString::fromUtf8("Tastenk\u00fcrzel entfernen"));
    clearButton()->click();
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.at(0).at(0).value<Combination>(), std::nullopt);
    EXPECT_TRUE(clearButton()->isHidden());
    EXPECT_EQ(label(), QString::fromUtf8("Kein K\u00fcrzel"));
}

} // namespace
} // namespace kelvane
