#include "program/Global.h"

namespace Global {

// Asks for one settings group at a time with "List " + letter; the next goes out when the
// previous group's last line has been mirrored.
void StepListSequence(const QString& letters, bool start) {
    if (start) {
        if (letters.isEmpty()) {
            return;
        }
        ListLetters = letters;
        ListPosition = 1;
    } else if (ListPosition > ListLetters.size()) {
        return;
    }
    SendVornCommand(QStringLiteral("List ") + ListLetters.mid(ListPosition - 1, 1).trimmed() +
                    QLatin1Char('\r'));
    ++ListPosition;
}

} // namespace Global
