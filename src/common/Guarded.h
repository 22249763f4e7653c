// Guarded: the body of an operation that reports its own failures. Any exception is caught,
// reported once through the unit's MostrarError with the operation's name, and the operation
// returns its failure value (-1 for a status) instead; nothing escapes.
#pragma once

#include <QString>
#include <exception>
#include <utility>

namespace lumetra {

// Thrown by an operation that has already reported its failure, so that its caller stops
// without a second error window.
struct ErrorReportado : std::exception {
    const char* what() const noexcept override { return "error ya notificado"; }
};

template <class Unit, class Body, class Result = decltype(std::declval<Body>()())>
Result Guarded(Unit& unit, const QString& funcion, Body&& body, Result onFailure)
{
    try {
        return body();
    } catch (const ErrorReportado&) {
    } catch (const std::exception& e) {
        unit.MostrarError(funcion, QString::fromUtf8(e.what()));
    } catch (...) {
        unit.MostrarError(funcion, QStringLiteral("Error desconocido"));
    }
    return onFailure;
}

// For operations without a result.
template <class Unit, class Body>
void GuardedVoid(Unit& unit, const QString& funcion, Body&& body)
{
    try {
        body();
    } catch (const ErrorReportado&) {
    } catch (const std::exception& e) {
        unit.MostrarError(funcion, QString::fromUtf8(e.what()));
    } catch (...) {
        unit.MostrarError(funcion, QStringLiteral("Error desconocido"));
    }
}

} // namespace lumetra
