#pragma once

#include "Kelvane/HotKey/HotKeyCombination.hpp"

#include <QWidget>

#include <optional>

class QPushButton;
class QToolButton;

namespace kelvane {

/// The control with which the user records the global key combination or clears it: a button
/// that starts and stops recording and shows the combination, and beside it, while there is a
/// combination, a button that removes it. While recording, every key press of the application
/// is taken by the recorder and reaches no other control; recording on screen holds the
/// keyboard, so that it also sees combinations other programs have taken for themselves.
class HotKeyRecorder : public QWidget {
    Q_OBJECT

public:
    explicit HotKeyRecorder(QWidget* parent = nullptr);

    std::optional<HotKeyCombination> combination() const { return m_combination; }
    /// Shows another value; emits nothing.
    void setCombination(std::optional<HotKeyCombination> combination);
    /// Marks the combination shown as one the system refused, so it does not look as if it
    /// worked; the combination stays, to be recorded anew.
    void setRefused(bool refused);
    bool isRefused() const { return m_refused; }

    bool isRecording() const { return m_recording; }
    void startRecording();
    void stopRecording();

signals:
    /// The user recorded a combination or cleared it; also when it equals the old one.
    void combinationEdited(std::optional<HotKeyCombination> combination);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void edit(std::optional<HotKeyCombination> combination);
    void refresh();

    QPushButton* m_button;
    QToolButton* m_clearButton;
    std::optional<HotKeyCombination> m_combination;
    bool m_recording = false;
    bool m_refused = false;
};

} // namespace kelvane
