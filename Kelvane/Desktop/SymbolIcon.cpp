#include "Kelvane/Desktop/SymbolIcon.hpp"

#include <QApplication>
#include <QStyle>

#include <array>

namespace kelvane {

const std::vector<SymbolThemeNames>& symbolThemeNames() {
    // The freedesktop icon naming names first, then names the common themes add, for the
    // symbols people put in front of their commands and groups.
    static const std::vector<SymbolThemeNames> table{
        {"folder", {"folder"}},
        {"folder.fill", {"folder"}},
        {"folder.badge.plus", {"folder-new", "folder"}},
        {"folder.badge.gearshape", {"folder"}},
        {"externaldrive", {"drive-harddisk"}},
        {"externaldrive.fill", {"drive-harddisk"}},
        {"internaldrive", {"drive-harddisk"}},
        {"opticaldiscdrive", {"drive-optical"}},
        {"archivebox", {"package-x-generic"}},
        {"archivebox.fill", {"package-x-generic"}},
        {"shippingbox", {"package-x-generic"}},
        {"cube", {"package-x-generic"}},
        {"doc", {"text-x-generic"}},
        {"doc.fill", {"text-x-generic"}},
        {"doc.text", {"text-x-generic"}},
        {"doc.text.fill", {"text-x-generic"}},
        {"doc.badge.plus", {"document-new", "text-x-generic"}},
        {"doc.on.doc", {"edit-copy"}},
        {"doc.on.clipboard", {"edit-paste"}},
        {"clipboard", {"edit-paste"}},
        {"scissors", {"edit-cut"}},
        {"square.and.pencil", {"document-edit", "accessories-text-editor"}},
        {"pencil", {"document-edit", "accessories-text-editor"}},
        {"note.text", {"accessories-text-editor", "text-x-generic"}},
        {"list.bullet", {"view-list", "format-justify-left"}},
        {"trash", {"user-trash"}},
        {"trash.fill", {"user-trash-full", "user-trash"}},
        {"square.and.arrow.down", {"document-save"}},
        {"square.and.arrow.up", {"document-send", "document-export"}},
        {"printer", {"printer"}},
        {"terminal", {"utilities-terminal"}},
        {"terminal.fill", {"utilities-terminal"}},
        {"apple.terminal", {"utilities-terminal"}},
        {"chevron.left.forwardslash.chevron.right", {"text-x-script", "applications-development"}},
        {"curlybraces", {"text-x-script", "applications-development"}},
        {"app", {"application-x-executable"}},
        {"puzzlepiece", {"application-x-addon"}},
        {"hammer", {"applications-engineering", "applications-development"}},
        {"hammer.fill", {"applications-engineering", "applications-development"}},
        {"wrench", {"applications-engineering", "preferences-system"}},
        {"wrench.and.screwdriver", {"applications-engineering", "preferences-system"}},
        {"ladybug", {"tools-report-bug", "applications-development"}},
        {"ant", {"tools-report-bug", "applications-development"}},
        {"arrow.triangle.branch", {"vcs-branch", "applications-development"}},
        {"arrow.triangle.merge", {"vcs-merge", "applications-development"}},
        {"gear", {"preferences-system", "emblem-system"}},
        {"gearshape", {"preferences-system", "emblem-system"}},
        {"gearshape.fill", {"preferences-system", "emblem-system"}},
        {"gearshape.2", {"preferences-system", "emblem-system"}},
        {"slider.horizontal.3", {"preferences-other", "preferences-system"}},
        {"cpu", {"cpu", "computer"}},
        {"memorychip", {"media-flash", "computer"}},
        {"desktopcomputer", {"computer"}},
        {"laptopcomputer", {"computer-laptop", "computer"}},
        {"display", {"video-display", "computer"}},
        {"keyboard", {"input-keyboard"}},
        {"globe", {"applications-internet", "web-browser"}},
        {"network", {"network-workgroup", "network-wired"}},
        {"wifi", {"network-wireless"}},
        {"antenna.radiowaves.left.and.right", {"network-wireless"}},
        {"server.rack", {"network-server"}},
        {"cloud", {"folder-cloud", "weather-overcast"}},
        {"cloud.fill", {"folder-cloud", "weather-overcast"}},
        {"icloud", {"folder-cloud", "weather-overcast"}},
        {"link", {"insert-link", "emblem-symbolic-link"}},
        {"envelope", {"internet-mail", "mail-unread"}},
        {"envelope.fill", {"internet-mail", "mail-unread"}},
        {"paperplane", {"mail-send"}},
        {"paperplane.fill", {"mail-send"}},
        {"bubble.left", {"internet-chat"}},
        {"phone", {"phone"}},
        {"camera", {"camera-photo"}},
        {"video", {"camera-video"}},
        {"photo", {"image-x-generic"}},
        {"film", {"video-x-generic"}},
        {"music.note", {"audio-x-generic"}},
        {"paintbrush", {"applications-graphics"}},
        {"arrow.clockwise", {"view-refresh"}},
        {"arrow.counterclockwise", {"edit-undo", "view-refresh"}},
        {"arrow.triangle.2.circlepath", {"view-refresh"}},
        {"arrow.2.circlepath", {"view-refresh"}},
        {"arrow.up", {"go-up"}},
        {"arrow.down", {"go-down"}},
        {"arrow.left", {"go-previous"}},
        {"arrow.right", {"go-next"}},
        {"arrow.up.circle", {"go-up"}},
        {"arrow.down.circle", {"go-down"}},
        {"arrow.up.to.line", {"go-top"}},
        {"arrow.down.to.line", {"go-bottom"}},
        {"arrow.uturn.backward", {"edit-undo"}},
        {"arrow.uturn.forward", {"edit-redo"}},
        {"arrow.right.square", {"go-jump", "go-next"}},
        {"play", {"media-playback-start"}},
        {"play.fill", {"media-playback-start"}},
        {"play.circle", {"media-playback-start"}},
        {"pause", {"media-playback-pause"}},
        {"pause.fill", {"media-playback-pause"}},
        {"stop", {"media-playback-stop"}},
        {"stop.fill", {"media-playback-stop"}},
        {"stop.circle", {"media-playback-stop"}},
        {"forward", {"media-seek-forward"}},
        {"backward", {"media-seek-backward"}},
        {"record.circle", {"media-record"}},
        {"speaker.wave.2", {"audio-volume-high"}},
        {"speaker.slash", {"audio-volume-muted"}},
        {"lock", {"changes-prevent", "system-lock-screen"}},
        {"lock.fill", {"changes-prevent", "system-lock-screen"}},
        {"lock.open", {"changes-allow"}},
        {"key", {"dialog-password"}},
        {"key.fill", {"dialog-password"}},
        {"shield", {"security-high"}},
        {"checkmark.shield", {"security-high"}},
        {"exclamationmark.shield", {"security-low"}},
        {"person", {"avatar-default", "user-identity"}},
        {"person.fill", {"avatar-default", "user-identity"}},
        {"person.crop.circle", {"avatar-default", "user-identity"}},
        {"person.2", {"system-users"}},
        {"house", {"go-home", "user-home"}},
        {"house.fill", {"go-home", "user-home"}},
        {"star", {"starred", "emblem-favorite"}},
        {"star.fill", {"starred", "emblem-favorite"}},
        {"heart", {"emblem-favorite"}},
        {"heart.fill", {"emblem-favorite"}},
        {"flag", {"emblem-important"}},
        {"bookmark", {"user-bookmarks", "bookmark-new"}},
        {"book", {"accessories-dictionary", "help-contents"}},
        {"clock", {"preferences-system-time", "appointment-soon"}},
        {"clock.fill", {"preferences-system-time", "appointment-soon"}},
        {"timer", {"appointment-soon", "preferences-system-time"}},
        {"hourglass", {"appointment-soon", "preferences-system-time"}},
        {"calendar", {"x-office-calendar", "office-calendar"}},
        {"bell", {"preferences-desktop-notification"}},
        {"bell.fill", {"preferences-desktop-notification"}},
        {"chart.bar", {"utilities-system-monitor"}},
        {"speedometer", {"utilities-system-monitor"}},
        {"gauge", {"utilities-system-monitor"}},
        {"waveform.path.ecg", {"utilities-system-monitor"}},
        {"magnifyingglass", {"edit-find", "system-search"}},
        {"info.circle", {"dialog-information"}},
        {"questionmark.circle", {"help-browser", "help-contents"}},
        {"exclamationmark.triangle", {"dialog-warning"}},
        {"exclamationmark.triangle.fill", {"dialog-warning"}},
        {"xmark", {"window-close"}},
        {"xmark.circle", {"window-close", "process-stop"}},
        {"xmark.circle.fill", {"edit-clear", "window-close"}},
        {"checkmark", {"object-select", "emblem-default"}},
        {"checkmark.circle", {"emblem-default", "object-select"}},
        {"plus", {"list-add"}},
        {"plus.circle", {"list-add"}},
        {"minus", {"list-remove"}},
        {"minus.circle", {"list-remove"}},
        {"power", {"system-shutdown"}},
        {"restart", {"system-reboot"}},
        {"moon", {"system-suspend"}},
        {"sun.max", {"weather-clear"}},
        {"cloud.rain", {"weather-showers"}},
    };
    return table;
}

namespace {

/// Look-alikes from the widget style for the symbols the application itself shows, for a desktop
/// whose theme has none of their icons.
QIcon styleIcon(std::string_view symbolName) {
    struct Fallback {
        std::string_view symbolName;
        QStyle::StandardPixmap pixmap;
    };
    static constexpr std::array fallbacks{
        Fallback{"terminal", QStyle::SP_ComputerIcon},
        Fallback{"exclamationmark.triangle.fill", QStyle::SP_MessageBoxWarning},
        Fallback{"info.circle", QStyle::SP_MessageBoxInformation},
        Fallback{"magnifyingglass", QStyle::SP_FileDialogContentsView},
        Fallback{"gearshape", QStyle::SP_FileDialogDetailedView},
        Fallback{"slider.horizontal.3", QStyle::SP_FileDialogListView},
        Fallback{"xmark.circle.fill", QStyle::SP_LineEditClearButton},
    };
    for (const Fallback& fallback : fallbacks) {
        if (fallback.symbolName == symbolName)
            return QApplication::style()->standardIcon(fallback.pixmap);
    }
    return {};
}

} // namespace

QIcon symbolIcon(const std::string& symbolName) {
    for (const SymbolThemeNames& symbol : symbolThemeNames()) {
        if (symbol.symbolName != symbolName)
            continue;
        for (const std::string_view themeName : symbol.themeNames) {
            const QString name = QString::fromUtf8(themeName.data(), themeName.size());
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
        return styleIcon(symbolName);
    }
    const QString name = QString::fromStdString(symbolName);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return {};
}

} // namespace kelvane
