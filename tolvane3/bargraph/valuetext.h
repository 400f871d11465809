#pragma once
// How the bar graph shows a value it receives as text.

#include <QString>

namespace BarGraph {

// A numeric text in a display format "0" to "0.00000" (places after the point, rounded); any
// other text unchanged. A value that rounds to zero shows without a minus.
QString ValueText(const QString& text, const QString& displayFormat);

} // namespace BarGraph
