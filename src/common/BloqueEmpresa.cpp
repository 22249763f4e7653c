#include "common/BloqueEmpresa.h"

#include "hostapi/Configuracion.h"
#include "platform/report/ReportBand.h"

namespace lumetra {

QFont FuenteInforme(const QString& familia, qreal puntos, bool negrita, bool cursiva)
{
    QFont fuente(familia);
    fuente.setPointSizeF(puntos);
    fuente.setBold(negrita);
    fuente.setItalic(cursiva);
    return fuente;
}

TBloqueEmpresa TBloqueEmpresa::Crear(ReportBand& banda, const QString& sufijo, qreal izquierda, qreal arriba, qreal ancho,
                                     Orden orden, bool marco)
{
    if (marco) {
        const QColor plata(192, 192, 192);
        ReportShape* fondo = banda.addShape(QStringLiteral("shpMarco") + sufijo, {izquierda, arriba, ancho, 128},
                                            ReportShape::Shape::Rectangle);
        fondo->setBrush(plata);
        fondo->setPen(plata);
    }
    const qreal x = izquierda + 8;
    const qreal w = ancho - 16;
    TBloqueEmpresa b;
    b.Titulo = banda.addLabel(QStringLiteral("qxtTitulo") + sufijo, {x, arriba + 6, w, 28});
    b.Titulo->setFont(FuenteInforme(QStringLiteral("Verdana"), 14, true, true));
    const auto linea = [&](const char* nombre, qreal top) {
        ReportLabel* l = banda.addLabel(QString::fromLatin1(nombre) + sufijo, {x, arriba + top, w, 16});
        l->setFont(FuenteInforme(QStringLiteral("Verdana"), 8));
        return l;
    };
    const bool nifPrimero = orden == Orden::NifDireccion;
    b.Filtro = linea("qxtFiltro", 40);
    b.Empresa = linea("qxtEmpresa", 58);
    b.Nif = linea("qxtNif", nifPrimero ? 76 : 94);
    b.Direccion = linea("qxtDireccion", nifPrimero ? 94 : 76);
    b.Localidad = linea("qxtLocalidad", 110);
    return b;
}

void TBloqueEmpresa::Rellenar(const QString& titulo, const QString& filtro, const TConfiguracion& configuracion,
                              const QString& localidad) const
{
    Titulo->setCaption(titulo);
    Filtro->setCaption(filtro);
    Empresa->setCaption(configuracion.Empresa);
    Nif->setCaption(configuracion.Nif);
    Direccion->setCaption(configuracion.Direccion);
    Localidad->setCaption(localidad);
}

} // namespace lumetra
