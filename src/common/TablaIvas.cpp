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
    Eliminar();
    banda_ = &banda;
    filas_ = std::clamp(filas, 0, MaxFilas);
    for (int i = 0; i < filas_; ++i) {
        const qreal top = arriba + alto * i;
        const auto etiqueta = [&](const char* nombre, Columna c, bool negrita) {
            ReportLabel* l = banda.addLabel(QString::fromLatin1(nombre) + QString::number(i), {c.izquierda, top, c.ancho, 16});
            l->setFont(FuenteInforme(QStringLiteral("Tahoma"), 8, negrita));
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return l;
        };
        base_[size_t(i)] = etiqueta("qxtEtiquetaBase", base, false);
        porcentaje_[size_t(i)] = etiqueta("qxtEtiquetaPorcentaje", porcentaje, true);
        iva_[size_t(i)] = etiqueta("qxtEtiquetaIva", iva, false);
    }
}

void TTablaIvas::Eliminar()
{
    for (int i = 0; banda_ && i < filas_; ++i)
        for (ReportLabel* l : {base_[size_t(i)], porcentaje_[size_t(i)], iva_[size_t(i)]})
            banda_->removeElement(l);
    base_.fill(nullptr);
    porcentaje_.fill(nullptr);
    iva_.fill(nullptr);
    filas_ = 0;
    usadas_ = 0;
}

int TTablaIvas::Rellenar(MemTable& ivas, TLstUtil& util)
{
    usadas_ = 0;
    for (ivas.first(); !ivas.eof() && usadas_ < filas_; ivas.next()) {
        const TDesgloseIva fila = TCalculoIva::Fila(ivas);
        if (fila.Base == 0)
            continue;
        const size_t i = size_t(usadas_++);
        base_[i]->setCaption(util.TextoImporte(false, fila.Base));
        porcentaje_[i]->setCaption(util.TextoPorcentajeIva(fila.Porcentaje));
        iva_[i]->setCaption(util.TextoImporte(false, fila.Iva));
    }
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
