#pragma once

#include <QApplication>

#include <exception>

// The host's application object. Every event is delivered under a guard: an exception that a
// handler lets out (an allocation that failed, a procedure without a trap) ends that event
// with a message box, and the program and its other views go on.
namespace pelmoraapp {

// Shows the box for an error that reached the event loop (only one at a time: an error raised
// again while the box is up is written to the log); never throws.
void reportEscapedError(std::exception_ptr error, int languageId) noexcept;

// Runs `deliver` and answers its result; an exception ends it with the box and false.
template <typename Deliver>
bool deliverGuarded(Deliver &&deliver, int languageId) noexcept
{
    try {
        return deliver();
    } catch (...) {
        reportEscapedError(std::current_exception(), languageId);
    }
    return false;
}

class HostApplication : public QApplication
{
public:
    using QApplication::QApplication;

    // The language of the box.
    void setLanguageId(int languageId) { m_languageId = languageId; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    int m_languageId = 0;
};

} // namespace pelmoraapp
