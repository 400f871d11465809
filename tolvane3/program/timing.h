#pragma once
// Every timer interval and Pause goes through here, so that tests can shrink time without
// changing behaviour: a scale of 0.01 makes the 5 s list time-out last 50 ms.

namespace Timing {

void setScale(double scale);
// The interval to give a timer for a designed interval in milliseconds (0 stays 0).
int scaled(int milliseconds);

} // namespace Timing
