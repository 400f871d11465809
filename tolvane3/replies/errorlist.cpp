#include "errorlist.h"

#include "Error.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/linebox.h"

namespace Global {

void HandleErrorLine(const QString& line) {
    if (LogErrors) {
        LogLine(0, line);
    }
    if (FormInstance<Error>::isShown()) {
        FormInstance<Error>::instance().txtError->appendLine(line);
    }
}

} // namespace Global
