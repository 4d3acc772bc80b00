#pragma once

#include <QString>

#include <exception>
#include <type_traits>
#include <utility>

// The error trap of the control's procedures: a message box with the procedure's label
// directly followed by the error's description, OK button only, no title of its own.
namespace pelmora {

QString errorDescription(std::exception_ptr error);

// Shows the box for the exception being handled; call it inside a catch block.
void reportError(const QString &label);

// Runs `procedure` under the error trap: answers what it answers, or, when it throws, shows
// the box headed by `label` and answers `fallback`. A procedure answering void just runs.
template <typename Procedure, typename Result = std::invoke_result_t<Procedure &>>
Result trapped(const QString &label, Procedure &&procedure,
               Result fallback = Result()) requires(!std::is_void_v<Result>)
{
    try {
        return procedure();
    } catch (...) {
        reportError(label);
    }
    return fallback;
}

template <typename Procedure>
requires std::is_void_v<std::invoke_result_t<Procedure &>>
void trapped(const QString &label, Procedure &&procedure)
{
    try {
        procedure();
    } catch (...) {
        reportError(label);
    }
}

// "Try this setting, else the default": runs `apply(value)`; when that throws, runs
// `apply(fallback)`; when that throws too, leaves the setting as it was. Nothing is reported:
// the callers are paint steps where one refused setting must not stop the rest of the paint.
template <typename Apply, typename Value>
void applyOr(Apply &&apply, const Value &value, const Value &fallback) noexcept
{
    try {
        apply(value);
        return;
    } catch (...) {
        // The fallback below is the answer to a refused value.
    }
    try {
        apply(fallback);
    } catch (...) {
        // The setting keeps its previous value.
    }
}

// Runs `step`; when it throws, nothing happens and nothing is reported. For a step whose failure
// must not stop what follows it; each caller says why its step may fail unreported.
template <typename Step>
void passOver(Step &&step) noexcept
{
    try {
        step();
    } catch (...) {
        // The caller has chosen to go on without the step.
    }
}

// Answers `read()`, or `fallback` when reading throws; silent, for optional values (a server's
// cell property, a stored default) whose absence has a meaning of its own.
template <typename Read, typename Value = std::invoke_result_t<Read &>>
Value valueOr(Read &&read, Value fallback) noexcept
{
    try {
        return read();
    } catch (...) {
        return fallback;
    }
}

} // namespace pelmora
