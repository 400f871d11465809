#pragma once
// The review window's Save Data: the frames shown, as comma-separated text.

#include "reviewpicture.h"

#include <QByteArray>

namespace ReviewData {

// A header row, then one row per frame from `from` to `to`: frame number, the time in seconds
// when the axis has seconds, then each shown channel's value (empty where the frame lacks it),
// as the live window writes them. Rows end with CR LF.
QByteArray CsvOf(const Recording& recording, const HorizontalAxis& axis, double from, double to,
                 const std::vector<bool>& shown);

} // namespace ReviewData
