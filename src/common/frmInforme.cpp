#include "common/frmInforme.h"

#include "common/Guarded.h"
#include "common/frmError.h"
#include "hostapi/HostParams.h"

#include <stdexcept>

namespace lumetra {

TfrmInforme::TfrmInforme(QObject* propietario, const QString& nombre, const QString& nombreInforme, const QString& pantalla)
    : QObject(propietario)
    , report_(nombreInforme)
    , pantalla_(pantalla)
{
    setObjectName(nombre);
    report_.setErrorHandler([this](const QString& donde, const QString& mensaje) { MostrarError(donde, mensaje); });
}

TfrmInforme::~TfrmInforme() = default;

void TfrmInforme::SetFiltro(const QString& filtro)
{
    if (filtro_ != filtro)
        filtro_ = filtro;
}

void TfrmInforme::MostrarError(const QString& funcion, const QString& descripcion)
{
    TfrmError::Mostrar(parametros_, pantalla_, funcion, descripcion);
}

void TfrmInforme::CrearUtilidades(HostParams* parametros, bool tiposIva)
{
    parametros_ = parametros;
    if (!parametros)
        throw std::invalid_argument("No se ha recibido el bloque de parámetros");
    // The form owns them alone: no Qt parent that could free them behind its back.
    lstUtil_ = std::make_unique<TLstUtil>(parametros->BaseDatosMaestros, nullptr, parametros->BaseDatos);
    iva_.reset();
    if (tiposIva)
        iva_ = std::make_unique<TIva>(parametros->BaseDatosMaestros, nullptr, parametros->BaseDatos);
}

void TfrmInforme::LiberarUtilidades()
{
    lstUtil_.reset();
    iva_.reset();
}

int TfrmInforme::Finalizar()
{
    return Guarded(*this, QStringLiteral("Finalizar"), [&] {
        LiberarUtilidades();
        return 0;
    }, -1);
}

ReportDocument TfrmInforme::Documento()
{
    return report_.layout();
}

} // namespace lumetra
