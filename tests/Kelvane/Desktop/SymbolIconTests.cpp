#include "Kelvane/Desktop/SymbolIcon.hpp"

#include "support/TemporaryFolder.hpp"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kelvane {
namespace {

bool isFreedesktopName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

TEST(SymbolIcon, theTableNamesManySymbolsOnceEachWithFreedesktopNames) {
    const auto& table = symbolThemeNames();
    EXPECT_GE(table.size(), 80u);
    std::set<std::string_view> symbols;
    for (const SymbolThemeNames& symbol : table) {
        SCOPED_TRACE(std::string(symbol.symbolName));
        EXPECT_TRUE(symbols.insert(symbol.symbolName).second) << "listed twice";
        ASSERT_FALSE(symbol.themeNames.empty());
        for (const std::string_view themeName : symbol.themeNames)
            EXPECT_TRUE(isFreedesktopName(themeName)) << themeName;
    }
}

/// An icon theme that has only the icons it is given, in place of the desktop's.
class OwnIconTheme {
public:
    explicit OwnIconTheme(std::initializer_list<const char*> iconNames)
        : m_searchPaths(QIcon::themeSearchPaths()), m_themeName(QIcon::themeName()) {
        m_folder.write("Eigenes/index.theme", "[Icon Theme]\nName=Eigenes\nDirectories=16\n\n"
                                              "[16]\nSize=16\nType=Fixed\n");
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        std::filesystem::create_directory(m_folder / "Eigenes" / "16");
        for (const char* name : iconNames) {
            const auto file = m_folder / "Eigenes" / "16" / (std::string(name) + ".png");
            EXPECT_TRUE(image.save(QString::fromStdString(file.string())));
        }
        QIcon::setThemeSearchPaths({QString::fromStdString(m_folder.path().string())});
        QIcon::setThemeName("Eigenes");
    }
    ~OwnIconTheme() {
        QIcon::setThemeSearchPaths(m_searchPaths);
        QIcon::setThemeName(m_themeName);
    }

private:
    test::TemporaryFolder m_folder;
    QStringList m_searchPaths;
    QString m_themeName;
};

TEST(SymbolIcon, takesTheNearestIconTheThemeHas) {
    const OwnIconTheme theme{"folder", "applications-development", "network-server"};
    struct Case {
        const char* symbolName;
        const char* themeName; // empty: no icon from the theme
        bool hasIcon;
    };
    const Case cases[]{
        {"folder.fill", "folder", true},
        {"hammer", "applications-development", true}, // the first name the theme has
        {"network-server", "network-server", true},   // a theme name is taken as it is
        {"terminal", "", true},                       // the style's look-alike
        {"trash", "", false},                         // the theme has none of its icons
        {"", "", false},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.symbolName);
        const QIcon icon = symbolIcon(testCase.symbolName);
        EXPECT_EQ(!icon.isNull(), testCase.hasIcon);
        EXPECT_EQ(icon.name().toStdString(), testCase.themeName);
    }
}

} // namespace
} // namespace kelvane
