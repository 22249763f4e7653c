// TMoneda: the shop's currency settings and the text of an amount in either currency.
//
// Construction reads the first row of MONEDA (a DatabaseError reaches the caller) and builds the
// display patterns: ",0", then "." and N zeros when the currency has N > 0 decimals, then " "
// and the symbol. Setting an amount in one currency derives the other through CONVERSION
// (second = main x CONVERSION). The texts are formatted from the current amounts on every read.
#pragma once

#include "common/Base.h"

namespace lumetra {

class TMoneda : public TBase {
    Q_OBJECT

public:
    TMoneda(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);

    // Both throw FormatError when the derived amount cannot be brought to the currency's
    // precision (a conversion factor of 0 makes the main amount infinite); nothing changes then.
    void SetImporteM1(double importe);
    void SetImporteM2(double importe);

    double ImporteM1() const { return importeM1_; }
    double ImporteM2() const { return importeM2_; }
    // The amounts cut to the currency's decimals.
    double ImporteRedondeadoM1() const { return redondeadoM1_; }
    double ImporteRedondeadoM2() const { return redondeadoM2_; }
    QString TextoM1() const;
    QString TextoM2() const;

    const QString& FormatoM1() const { return formatoM1_; }
    const QString& FormatoM2() const { return formatoM2_; }
    const QString& DescripcionM1() const { return descripcionM1_; }
    const QString& DescripcionM2() const { return descripcionM2_; }
    const QString& SimboloM1() const { return simboloM1_; }
    const QString& SimboloM2() const { return simboloM2_; }
    int DecimalesM1() const { return decimalesM1_; }
    int DecimalesM2() const { return decimalesM2_; }
    int UsarSegundaMoneda() const { return usarSegundaMoneda_; }
    double Conversion() const { return conversion_; }

private:
    static constexpr int SlotMoneda = 1;

    void CargarDatos();
    void Asignar(double importeM1, double importeM2);

    QString descripcionM1_;
    QString descripcionM2_;
    QString simboloM1_;
    QString simboloM2_;
    int decimalesM1_ = 0;
    int decimalesM2_ = 0;
    int usarSegundaMoneda_ = 0;
    double conversion_ = 1;

    QString formatoM1_;
    QString formatoM2_;
    QString formatoDecimalesM1_;
    QString formatoDecimalesM2_;

    double importeM1_ = 0;
    double importeM2_ = 0;
    double redondeadoM1_ = 0;
    double redondeadoM2_ = 0;
};

} // namespace lumetra
