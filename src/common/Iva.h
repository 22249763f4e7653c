// TIva: the VAT types that sale prices include, as four parallel text lists ordered by
// description: ids, types, descriptions and percentages (formatted "0.00 %"). Intra-community
// types and the placeholder id 0 are left out.
#pragma once

#include "common/Base.h"

#include <QStringList>

namespace lumetra {

class TIva : public TBase {
    Q_OBJECT

public:
    using TBase::TBase;

    // Replaces the lists. Always 0.
    int CargarIvas();

    const QStringList& Ids() const { return ids_; }
    const QStringList& Tipos() const { return tipos_; }
    const QStringList& Descripciones() const { return descripciones_; }
    const QStringList& Porcentajes() const { return porcentajes_; }

private:
    static constexpr int SlotIvas = 1;

    QStringList ids_;
    QStringList tipos_;
    QStringList descripciones_;
    QStringList porcentajes_;
};

} // namespace lumetra
