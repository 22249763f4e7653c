// TLstUtil: the text formatting of every report form. Amounts, percentages, counts, postcodes,
// localities, patient names, article families and document numbers become printed text only
// through it, with the shop's currency and the user's separators.
//
// A failure inside an operation (a conversion) yields that operation's fixed fallback text and is
// not reported further, except a failing database: its DatabaseError reaches the caller, since
// a listing that could not read its data must not print a stand-in. A missing row is not a
// failure: it gives the operation's not-found text. Construction loads the currency settings and may throw
// DatabaseError. Every operation writes one shared result text, so an instance must not be
// re-entered or shared between threads.
//
// An instance serves one listing, which reads one snapshot of the data: the answer of each
// patient, locality and article lookup is kept and given again for the rest of its life, so a
// patient printed on many rows is searched once. A lookup that fails is not kept.
#pragma once

#include "common/Base.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace lumetra {

class TArticulo;
class TLocalidad;
class TMoneda;
class TPaciente;

class TLstUtil : public TBase {
    Q_OBJECT

public:
    TLstUtil(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);

    // Empty for the zero date "30/12/1899" and the far-future date "30/05/2079"; any other text
    // unchanged.
    QString TextoFecha(const QString& fecha);
    // The amount with the currency's decimals and symbol, in the second currency when
    // `segundaMoneda` is set.
    QString TextoImporte(bool segundaMoneda, double importe);
    QString TextoPorcentaje(double valor);      // "#,##0.00 %"
    QString TextoDecimal(double valor);         // "#,##0.00"
    QString TextoPorcentajeIva(double valor);   // "#,##0.00 % I.V.A"
    QString TextoEntero(double valor);          // ",0"
    QString TextoCodigoPostal(double valor);    // "00000"
    // "08001 - Barcelona (Barcelona)"; "[No definida]" for id 0, "[No Definida]" when there is
    // no such locality; empty parentheses when the locality's province is missing.
    QString TextoLocalidad(qint32 idLocalidad);
    // The patient's full name, empty when no patient has that id. Sets PacienteBorrado: true for
    // a deleted or missing patient, false otherwise (also when the lookup fails).
    QString NombrePaciente(double idPaciente);
    // The description of the family of the article with that reference, or `textoDefecto` when
    // the reference is "0", invalid or unknown.
    QString FamiliaArticulo(const QString& referencia, const QString& textoDefecto);
    // serie + separador + number grouped ("A/1.234"); the number alone when the series is empty
    // or "0"; empty for the numbers 0 and -1.
    QString TextoNumeroDocumento(const QString& serie, const QString& separador, double numero);

    // Whether FamiliaArticulo has needed the article lookup yet.
    bool tieneArticulo() const { return articulo_ != nullptr; }

    // Set by NombrePaciente; read right after the call.
    bool PacienteBorrado = false;

private:
    QString Proteger(const std::function<QString()>& operacion, const QString& alternativo);

    TMoneda* moneda_;             // child object
    TLocalidad* localidad_;       // child object
    TPaciente* paciente_;         // child object
    TArticulo* articulo_ = nullptr;   // child object, created on first use
    QString resultado_;

    struct PacienteLeido {
        QString nombre;
        bool borrado = false;
    };
    QHash<double, PacienteLeido> pacientes_;
    QHash<qint32, QString> localidades_;
    QHash<QString, std::optional<QString>> familias_;   // nullopt: no article with that reference
};

} // namespace lumetra
