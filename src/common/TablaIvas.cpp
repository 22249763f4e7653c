#include "common/TablaIvas.h"

#include "common/BloqueEmpresa.h"
#include "common/CalculoIva.h"
#include "common/LstUtil.h"
#include "platform/memtable/MemTable.h"
#include "platform/report/ReportBand.h"

#include <algorithm>

namespace lumetra {

void TTablaIvas::Crear(ReportBand& banda, int filas, qreal arriba, qreal alto, Columna base, Columna porcentaje, Columna iva)
{
    Crear(banda, filas, arriba, alto, base, porcentaje, iva, Forma{});
}

void TTablaIvas::Crear(ReportBand& banda, int filas, qreal arriba, qreal alto, Columna base, Columna porcentaje, Columna iva,
                       const Forma& forma)
{
    Eliminar();
    banda_ = &banda;
    arriba_ = arriba;
    alto_ = alto;
    columnaBase_ = base;
    columnaPorcentaje_ = porcentaje;
    columnaIva_ = iva;
    forma_ = forma;
    for (int i = 0; i < filas; ++i)
        anadirFila();
}

void TTablaIvas::anadirFila()
{
    const qreal top = arriba_ + alto_ * Filas();
    const QString numero = QString::number(Filas());
    const auto etiqueta = [&](const QString& nombre, Columna c, bool negrita) {
        ReportLabel* l = banda_->addLabel(nombre + numero, {c.izquierda, top, c.ancho, 16});
        l->setFont(FuenteInforme(QStringLiteral("Tahoma"), forma_.puntos, negrita));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setShrinkToFit(true);
        return l;
    };
    base_.push_back(etiqueta(forma_.base, columnaBase_, false));
    porcentaje_.push_back(etiqueta(forma_.porcentaje, columnaPorcentaje_, true));
    iva_.push_back(etiqueta(forma_.iva, columnaIva_, false));
}

void TTablaIvas::Eliminar()
{
    for (size_t i = 0; banda_ && i < base_.size(); ++i)
        for (ReportLabel* l : {base_[i], porcentaje_[i], iva_[i]})
            banda_->removeElement(l);
    base_.clear();
    porcentaje_.clear();
    iva_.clear();
    usadas_ = 0;
}

bool TTablaIvas::Anadir(const TDesgloseIva& total, TLstUtil& util)
{
    if (!banda_ || TCalculoIva::Redondear(total.Base) == 0)
        return false;
    if (usadas_ >= Filas())
        anadirFila();
    const size_t i = size_t(usadas_++);
    base_[i]->setCaption(util.TextoImporte(false, total.Base));
    porcentaje_[i]->setCaption(util.TextoPorcentajeIva(total.Porcentaje));
    iva_[i]->setCaption(util.TextoImporte(false, total.Iva));
    return true;
}

int TTablaIvas::Rellenar(MemTable& ivas, TLstUtil& util)
{
    Vaciar();
    for (ivas.first(); !ivas.eof(); ivas.next())
        Anadir(TCalculoIva::Fila(ivas), util);
    return usadas_;
}

void TTablaIvas::Vaciar()
{
    for (int i = 0; i < usadas_; ++i)
        for (ReportLabel* l : {base_[size_t(i)], porcentaje_[size_t(i)], iva_[size_t(i)]})
            l->setCaption(QString());
    usadas_ = 0;
}

} // namespace lumetra
