#include "Kelvane/Preferences/Preferences.hpp"

namespace kelvane {

Preferences::Preferences(PreferenceStore& store, QObject* parent)
    : QObject(parent), m_store(store) {}

Preferences& Preferences::shared() {
    static const std::unique_ptr<PreferenceStore> store = makeUserPreferenceStore();
    static Preferences* const instance = new Preferences(*store);
    return *instance;
}

bool Preferences::booleanOr(const char* key, bool fallback) const {
    const auto value = m_store.value(key);
    if (value && std::holds_alternative<bool>(*value))
        return std::get<bool>(*value);
    return fallback;
}

std::optional<std::string> Preferences::text(const char* key) const {
    const auto value = m_store.value(key);
    if (value && std::holds_alternative<std::string>(*value))
        return std::get<std::string>(*value);
    return std::nullopt;
}

void Preferences::setOptional(const char* key, std::optional<PreferenceValue> value) {
    if (value)
        m_store.setValue(key, std::move(*value));
    else
        m_store.removeValue(key);
}

bool Preferences::riskConfirmationEnabled() const {
    return booleanOr("riskConfirmationEnabled", true);
}

void Preferences::setRiskConfirmationEnabled(bool enabled) {
    m_store.setValue("riskConfirmationEnabled", enabled);
    emit riskConfirmationEnabledChanged();
}

std::optional<std::string> Preferences::configPath() const {
    return text("configPath");
}

void Preferences::setConfigPath(const std::optional<std::string>& path) {
    setOptional("configPath", path ? std::optional<PreferenceValue>(*path) : std::nullopt);
    emit configPathChanged();
}

std::optional<std::vector<uint8_t>> Preferences::configBookmark() const {
    const auto value = m_store.value("configBookmark");
    if (value && std::holds_alternative<std::vector<uint8_t>>(*value))
        return std::get<std::vector<uint8_t>>(*value);
    return std::nullopt;
}

void Preferences::setConfigBookmark(const std::optional<std::vector<uint8_t>>& bookmark) {
    setOptional("configBookmark",
                bookmark ? std::optional<PreferenceValue>(*bookmark) : std::nullopt);
    emit configBookmarkChanged();
}

SortMode Preferences::sortMode() const {
    return text("sortMode") == "fileOrder" ? SortMode::fileOrder : SortMode::alphabetical;
}

void Preferences::setSortMode(SortMode mode) {
    m_store.setValue("sortMode", std::string(rawValue(mode)));
    emit sortModeChanged();
}

std::optional<OpenBehavior> Preferences::openInOverride() const {
    const auto stored = text("openInOverride");
    return stored ? openBehaviorFromRawValue(*stored) : std::nullopt;
}

void Preferences::setOpenInOverride(std::optional<OpenBehavior> behavior) {
    setOptional("openInOverride",
                behavior ? std::optional<PreferenceValue>(std::string(rawValue(*behavior)))
                         : std::nullopt);
    emit openInOverrideChanged();
}

std::optional<TerminalKind> Preferences::terminalOverride() const {
    const auto stored = text("terminalOverride");
    return stored ? terminalKindFromRawValue(*stored) : std::nullopt;
}

void Preferences::setTerminalOverride(std::optional<TerminalKind> kind) {
    setOptional("terminalOverride",
                kind ? std::optional<PreferenceValue>(std::string(rawValue(*kind))) : std::nullopt);
    emit terminalOverrideChanged();
}

std::optional<HotKeyCombination> Preferences::quickSearchHotKey() const {
    const auto stored = text("quickSearchHotKey");
    return stored ? HotKeyCombination::fromStoredValue(*stored) : std::nullopt;
}

void Preferences::setQuickSearchHotKey(std::optional<HotKeyCombination> combination) {
    setOptional("quickSearchHotKey",
                combination ? std::optional<PreferenceValue>(combination->storedValue())
                            : std::nullopt);
    emit quickSearchHotKeyChanged();
}

bool Preferences::showCommandTooltips() const {
    return booleanOr("showCommandTooltips", true);
}

void Preferences::setShowCommandTooltips(bool show) {
    m_store.setValue("showCommandTooltips", show);
    emit showCommandTooltipsChanged();
}

bool Preferences::didCompleteFirstRun() const {
    return booleanOr("didCompleteFirstRun", false);
}

void Preferences::setDidCompleteFirstRun(bool done) {
    m_store.setValue("didCompleteFirstRun", done);
    emit didCompleteFirstRunChanged();
}

bool Preferences::didSeedLaunchAtLogin() const {
    return booleanOr("didSeedLaunchAtLogin", false);
}

void Preferences::setDidSeedLaunchAtLogin(bool done) {
    m_store.setValue("didSeedLaunchAtLogin", done);
    emit didSeedLaunchAtLoginChanged();
}

} // namespace kelvane
