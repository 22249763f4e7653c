// TBloqueEmpresa: the block that heads the listings — a silver frame holding the title, the
// conditions line and the shop's company name, tax identifier, address and locality. Every
// report form builds it on its header bands and fills it before they print.
#pragma once

#include <QFont>
#include <QString>

namespace lumetra {

class ReportBand;
class ReportLabel;
class TConfiguracion;

// The fonts of the report forms, by family name and points.
QFont FuenteInforme(const QString& familia, qreal puntos, bool negrita = false, bool cursiva = false);

struct TBloqueEmpresa {
    // The company lines in the order the listing prints them.
    enum class Orden { NifDireccion, DireccionNif };

    ReportLabel* Titulo = nullptr;
    ReportLabel* Filtro = nullptr;
    ReportLabel* Empresa = nullptr;
    ReportLabel* Nif = nullptr;
    ReportLabel* Direccion = nullptr;
    ReportLabel* Localidad = nullptr;

    // Adds the frame (when asked) and the six labels, named "qxtTitulo" + sufijo and so on, to
    // the band: the frame spans `ancho` from `izquierda` at `arriba`, 128 high, the texts inside.
    static TBloqueEmpresa Crear(ReportBand& banda, const QString& sufijo, qreal izquierda, qreal arriba, qreal ancho,
                                Orden orden, bool marco = true);

    void Rellenar(const QString& titulo, const QString& filtro, const TConfiguracion& configuracion,
                  const QString& localidad) const;
};

} // namespace lumetra
