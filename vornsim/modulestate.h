#pragma once

#include "vornsim/errorlist.h"
#include "vornsim/modulesettings.h"
#include "vornsim/pointtables.h"

namespace vornsim {

// What the module holds in memory across connections. SAVE keeps the settings and the point
// tables; a reboot forgets everything else.
struct ModuleState {
    explicit ModuleState(const QByteArray& model) : settings(model) {}

    ModuleSettings settings;
    PointTables points;
    ErrorList errors;
    bool zeroed = false; // CALZ ran: readings move around zero
};

} // namespace vornsim
