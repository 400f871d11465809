#pragma once

#include "vornsim/modulesettings.h"

namespace vornsim {

// What the module holds in memory across connections. SAVE keeps the settings; a reboot
// forgets everything else.
struct ModuleState {
    explicit ModuleState(const QByteArray& model) : settings(model) {}

    ModuleSettings settings;
    bool zeroed = false; // CALZ ran: readings move around zero
};

} // namespace vornsim
