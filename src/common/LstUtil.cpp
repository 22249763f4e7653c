#include "common/LstUtil.h"

#include "common/Articulo.h"
#include "common/Familia.h"
#include "common/Localidad.h"
#include "common/Moneda.h"
#include "common/Paciente.h"
#include "common/Provincia.h"
#include "platform/db/DatabaseError.h"
#include "platform/format/FormatFloat.h"

namespace lumetra {

namespace {

const QString FechaCero = QStringLiteral("30/12/1899");
const QString FechaFutura = QStringLiteral("30/05/2079");
const QString ReferenciaSinArticulo = QStringLiteral("0");
const QString SerieSinSerie = QStringLiteral("0");

const QString LocalidadSinDefinir = QStringLiteral("[No definida]");
const QString LocalidadNoEncontrada = QStringLiteral("[No Definida]");

// Fallbacks are fixed texts with a period, whatever the locale; the amount one is formatted.
const QString PatronImporteAlternativo = QStringLiteral("#,##0.00 €");
const QString PorcentajeAlternativo = QStringLiteral("0.00 %");
const QString DecimalAlternativo = QStringLiteral("0.00");
const QString EnteroAlternativo = QStringLiteral("0");
const QString CodigoPostalAlternativo = QStringLiteral("00000");

} // namespace

TLstUtil::TLstUtil(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : TBase(baseDatosMaestros, propietario, baseDatos)
    , moneda_(new TMoneda(baseDatosMaestros, this, baseDatos))
    , localidad_(new TLocalidad(baseDatosMaestros, this, baseDatos))
    , paciente_(new TPaciente(baseDatosMaestros, this, baseDatos))
{
    // One listing reads one snapshot (see the header).
    paciente_->SetMantenerPreparados(true);
}

QString TLstUtil::Proteger(const std::function<QString()>& operacion, const QString& alternativo)
{
    try {
        resultado_ = operacion();
    } catch (const DatabaseError&) {
        // A database that fails is no text to stand in for: the listing it was for is wrong.
        throw;
    } catch (...) {
        resultado_ = alternativo;
    }
    return resultado_;
}

QString TLstUtil::TextoFecha(const QString& fecha)
{
    return Proteger([&] { return fecha == FechaCero || fecha == FechaFutura ? QString() : fecha; }, QString());
}

QString TLstUtil::TextoImporte(bool segundaMoneda, double importe)
{
    try {
        if (segundaMoneda) {
            moneda_->SetImporteM2(importe);
            resultado_ = moneda_->TextoM2();
        } else {
            moneda_->SetImporteM1(importe);
            resultado_ = moneda_->TextoM1();
        }
    } catch (...) {
        resultado_ = FormatFloat(PatronImporteAlternativo, 0);
    }
    return resultado_;
}

QString TLstUtil::TextoPorcentaje(double valor)
{
    return Proteger([&] { return FormatFloat(QStringLiteral("#,##0.00 %"), valor); }, PorcentajeAlternativo);
}

QString TLstUtil::TextoDecimal(double valor)
{
    return Proteger([&] { return FormatFloat(QStringLiteral("#,##0.00"), valor); }, DecimalAlternativo);
}

QString TLstUtil::TextoPorcentajeIva(double valor)
{
    return Proteger([&] { return FormatFloat(QStringLiteral("#,##0.00 % I.V.A"), valor); }, PorcentajeAlternativo);
}

QString TLstUtil::TextoEntero(double valor)
{
    return Proteger([&] { return FormatFloat(QStringLiteral(",0"), valor); }, EnteroAlternativo);
}

QString TLstUtil::TextoCodigoPostal(double valor)
{
    return Proteger([&] { return FormatFloat(QStringLiteral("00000"), valor); }, CodigoPostalAlternativo);
}

QString TLstUtil::TextoLocalidad(qint32 idLocalidad)
{
    return Proteger([&] {
        if (idLocalidad == 0)
            return LocalidadSinDefinir;
        if (const auto leida = localidades_.constFind(idLocalidad); leida != localidades_.cend())
            return *leida;
        QString texto = LocalidadNoEncontrada;
        if (localidad_->Buscar(TModoBusquedaLocalidad::PorId, idLocalidad) == EstadoCorrecto)
            texto = TextoCodigoPostal(localidad_->CodigoPostal()) + QStringLiteral(" - ") + localidad_->Descripcion()
                + QStringLiteral(" (") + localidad_->Provincia().Descripcion() + QLatin1Char(')');
        localidades_.insert(idLocalidad, texto);
        return texto;
    }, LocalidadNoEncontrada);
}

QString TLstUtil::NombrePaciente(double idPaciente)
{
    PacienteBorrado = false;
    return Proteger([&] {
        auto leido = pacientes_.constFind(idPaciente);
        if (leido == pacientes_.cend()) {
            paciente_->SetId(idPaciente);
            PacienteLeido p;
            if (paciente_->Buscar(TPaciente::BorradosYNoBorrados) != EstadoCorrecto) {
                p.borrado = true;
            } else {
                p.nombre = paciente_->NombreCompleto();
                p.borrado = paciente_->Borrado() != 0;
            }
            leido = pacientes_.insert(idPaciente, p);
        }
        PacienteBorrado = leido->borrado;
        return leido->nombre;
    }, QString());
}

QString TLstUtil::FamiliaArticulo(const QString& referencia, const QString& textoDefecto)
{
    return Proteger([&] {
        if (referencia == ReferenciaSinArticulo)
            return textoDefecto;
        auto leida = familias_.constFind(referencia);
        if (leida == familias_.cend()) {
            if (!articulo_) {
                articulo_ = new TArticulo(BaseDatosMaestros(), this, BaseDatos());
                articulo_->SetMantenerPreparados(true);
            }
            articulo_->SetReferencia(referencia);
            std::optional<QString> familia;
            if (articulo_->BuscarReferencia() == EstadoCorrecto)
                familia = articulo_->Familia().Descripcion();
            leida = familias_.insert(referencia, familia);
        }
        return leida->value_or(textoDefecto);
    }, QString());
}

QString TLstUtil::TextoNumeroDocumento(const QString& serie, const QString& separador, double numero)
{
    return Proteger([&] {
        if (numero == -1 || numero == 0)
            return QString();
        const QString numeroTexto = FormatFloat(QStringLiteral(",0"), numero);
        if (!serie.isEmpty() && serie != SerieSinSerie)
            return serie + separador + numeroTexto;
        return numeroTexto;
    }, EnteroAlternativo);
}

} // namespace lumetra
