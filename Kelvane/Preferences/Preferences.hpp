#pragma once

#include "Kelvane/HotKey/HotKeyCombination.hpp"
#include "Kelvane/platform/PreferenceStore.hpp"

#include "KelvaneCore/Configuration/ConfigurationSettings.hpp"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

/// The application's own settings, outside the configuration file: a thin view over the
/// preference store. Every read goes to the store; every write stores and then signals the
/// property's change, also when the value stayed the same. Unexpected stored values read as
/// the property's default.
class Preferences : public QObject {
    Q_OBJECT

public:
    explicit Preferences(PreferenceStore& store, QObject* parent = nullptr);

    /// The one instance over the current user's store, created on first use.
    static Preferences& shared();

    bool riskConfirmationEnabled() const;
    void setRiskConfirmationEnabled(bool enabled);

    std::optional<std::string> configPath() const;
    void setConfigPath(const std::optional<std::string>& path);

    std::optional<std::vector<uint8_t>> configBookmark() const;
    void setConfigBookmark(const std::optional<std::vector<uint8_t>>& bookmark);

    SortMode sortMode() const;
    void setSortMode(SortMode mode);

    std::optional<OpenBehavior> openInOverride() const;
    void setOpenInOverride(std::optional<OpenBehavior> behavior);

    /// The terminal program chosen in the settings in place of the file's.
    std::optional<TerminalKind> terminalOverride() const;
    void setTerminalOverride(std::optional<TerminalKind> kind);

    std::optional<HotKeyCombination> quickSearchHotKey() const;
    void setQuickSearchHotKey(std::optional<HotKeyCombination> combination);

    bool showCommandTooltips() const;
    void setShowCommandTooltips(bool show);

    bool didCompleteFirstRun() const;
    void setDidCompleteFirstRun(bool done);

    bool didSeedLaunchAtLogin() const;
    void setDidSeedLaunchAtLogin(bool done);

signals:
    void riskConfirmationEnabledChanged();
    void configPathChanged();
    void configBookmarkChanged();
    void sortModeChanged();
    void openInOverrideChanged();
    void terminalOverrideChanged();
    void quickSearchHotKeyChanged();
    void showCommandTooltipsChanged();
    void didCompleteFirstRunChanged();
    void didSeedLaunchAtLoginChanged();

private:
    bool booleanOr(const char* key, bool fallback) const;
    std::optional<std::string> text(const char* key) const;
    void setOptional(const char* key, std::optional<PreferenceValue> value);

    PreferenceStore& m_store;
};

} // namespace kelvane
