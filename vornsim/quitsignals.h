#pragma once

namespace vornsim {

// SIGINT and SIGTERM make the running QCoreApplication quit its event loop normally, so the
// process ends with exit code 0 after its objects are destroyed. Call once, after the
// application object exists.
void quitOnTerminationSignals();

} // namespace vornsim
