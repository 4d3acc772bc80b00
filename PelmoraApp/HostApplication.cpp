#include "PelmoraApp/HostApplication.h"

#include "Control/core/ErrorTrap.h"
#include "PelmoraApp/HostTables.h"
#include "platform/forms/MsgBox.h"

namespace pelmoraapp {

void reportEscapedError(std::exception_ptr error, int languageId) noexcept
{
    static bool reporting = false;
    try {
        const QString description = pelmora::errorDescription(error);
        if (reporting) {
            qWarning("an error reached the event loop: %s", qPrintable(description));
            return;
        }
        reporting = true;
        try {
            platform::forms::msgBox(hostText(HostText::EventFailed, languageId) + description,
                                    platform::forms::OkOnly + platform::forms::Critical);
        } catch (...) {
            qWarning("an error reached the event loop: %s", qPrintable(description));
        }
        reporting = false;
    } catch (...) {
        reporting = false;
        // Even the description could not be made: nothing more can be said.
    }
}

bool HostApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverGuarded([&] { return QApplication::notify(receiver, event); }, m_languageId);
}

} // namespace pelmoraapp
