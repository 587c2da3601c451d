#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace kelvane {

class KeyablePanel;

/// Owns the quick-search panel: creates it on first use, places it above the middle of the
/// primary screen and gives it a fresh search each time it is shown. The panel runs nothing
/// itself; a chosen command goes to `onRun`, a copied one to the workspace's pasteboard.
class QuickSearchController : public QObject {
    Q_OBJECT

public:
    QuickSearchController(ConfigStore& store, std::function<void(const ShellCommand&)> onRun,
                          Workspace& workspace, QObject* parent = nullptr);
    ~QuickSearchController() override;

    /// Hides the panel when it is visible, shows it otherwise.
    void toggle();
    /// Shows the panel with an empty search and gives it the keyboard.
    void show();

    /// The panel; none until it was first shown, then the same one for good.
    QWidget* panel() const;
    bool isPanelVisible() const;

private:
    void hidePanel();
    void run(const ShellCommand& command);

    ConfigStore& m_store;
    std::function<void(const ShellCommand&)> m_onRun;
    Workspace& m_workspace;
    std::unique_ptr<KeyablePanel> m_panel;
};

} // namespace kelvane
