#include "Kelvane/platform/HotKeyRegistrar.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(X11HotKeyRegistrarOffscreen, refusesWithoutAnX11Connection) {
    auto registrar = makeHotKeyRegistrar();
    EXPECT_EQ(registrar->registerHotKey(40, 0x300), HotKeyRegistrar::grabsUnavailable);
    registrar->unregisterHotKey();
}

} // namespace
} // namespace kelvane
