#pragma once

namespace ferrow {

// The whole program: start-up, the main loop, the end-of-run steps. Always returns 0.
int runFerrow();

} // namespace ferrow
