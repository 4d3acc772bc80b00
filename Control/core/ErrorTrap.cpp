#include "Control/core/ErrorTrap.h"

#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"

#include <new>

namespace pelmora {

QString errorDescription(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const platform::Error &e) {
        return e.description();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        // An exception of no known kind carries no text: the generic description below is
        // its report.
    }
    return QStringLiteral("Unknown error");
}

void reportError(const QString &label)
{
    platform::forms::msgBox(label + errorDescription(std::current_exception()),
                            platform::forms::OkOnly);
}

} // namespace pelmora
