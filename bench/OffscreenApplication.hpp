#pragma once

#include <QApplication>

namespace kelvane::bench {

/// The benchmark program's one application object, on the offscreen platform unless another
/// is chosen, so that widgets can be made without a display.
inline QApplication& offscreenApplication() {
    static int argc = 1;
    static char name[] = "kelvane_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication instance(argc, argv);
    return instance;
}

} // namespace kelvane::bench
