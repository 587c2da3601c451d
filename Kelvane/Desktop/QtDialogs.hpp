#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

namespace kelvane {

/// Alerts as Qt message boxes. Texts are shown as plain text; the accessory text goes into a
/// read-only monospaced field below the informative text. Buttons keep the platform's order
/// for their roles, so the answer is matched by button, not by position on screen.
class QtDialogs final : public Dialogs {
public:
    std::optional<std::size_t> runModal(const Alert& alert) override;
};

} // namespace kelvane
