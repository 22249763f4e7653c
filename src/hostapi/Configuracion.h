// TConfiguracion: the shop's company record as the host holds it, with the locality record of
// the shop and its default VAT type.
#pragma once

#include "hostapi/HostApi.h"

#include <QString>

namespace lumetra {

class Database;

struct TProvinciaConfig {
    int IdProvincia = 0;
    QString Descripcion;
};

struct TLocalidadConfig {
    int IdLocalidad = 0;
    int CodigoPostal = 0;
    QString Descripcion;
    TProvinciaConfig Provincia;
};

struct TIvaConfig {
    int IdIva = 0;
    double Porcentaje = 0;
};

class LUMETRA_HOSTAPI_EXPORT TConfiguracion {
public:
    TLocalidadConfig Localidad;
    TIvaConfig IvaDefecto;
    QString NombreComercial;
    QString Empresa;
    QString Direccion;
    QString Nif;
    QString SeparadorDocumento;
    QString Telefono;
    QString Fax;
    QString Correo;
    int TipoCalculoIva = 0;   // 0 by collection date, 1 by order date, 2 by cash date
    int UsaGrupos = 0;        // non-zero: the shop uses sales groups

    // Reads the company record (the first EMPRESA row) with its locality, province and default
    // VAT type; throws DatabaseError.
    void Cargar(Database& database);
};

} // namespace lumetra
