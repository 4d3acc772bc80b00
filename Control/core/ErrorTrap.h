#pragma once

#include <QString>

#include <exception>

// The error trap of the control's procedures: a message box with the procedure's label
// directly followed by the error's description, OK button only, no title of its own.
namespace pelmora {

QString errorDescription(std::exception_ptr error);

// Shows the box for the exception being handled; call it inside a catch block.
void reportError(const QString &label);

} // namespace pelmora
