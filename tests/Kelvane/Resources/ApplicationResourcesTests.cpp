#include <QFile>
#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ApplicationResources, theMenuBarIconDrawsAGlyphOnTransparency) {
    ASSERT_TRUE(QFile::exists(":/MenuBarIcon"));
    const QImage image = QIcon(":/MenuBarIcon").pixmap(32, 32).toImage();
    ASSERT_FALSE(image.isNull()) << "the SVG image plugin (libqt6svg6) must be installed";
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the corners are transparent";
    EXPECT_EQ(qAlpha(image.pixel(16, 8)), 255) << "the square is opaque";
    EXPECT_EQ(qAlpha(image.pixel(13, 16)), 0) << "the prompt is cut out of it";
}

} // namespace
} // namespace kelvane
