// TUsuario: the logged-in user with his listing rights (non-zero = yes).
#pragma once

#include "hostapi/HostApi.h"

#include <QString>

namespace lumetra {

class Database;

class LUMETRA_HOSTAPI_EXPORT TUsuario {
public:
    double IdUsuario = -1;
    QString Nombre;
    int PermiteTotalesMes = 0;
    int PermiteTotalesDia = 0;
    int PermiteInformeGrupos = 0;
    int PermiteInformeTarjetas = 0;
    int DetalleEncargos = 0;
    int FechasBloqueadas = 0;
    int SoloTiendaPropia = 0;

    // Reads the user's row; false when there is none (the rights stay off). Throws DatabaseError.
    bool Cargar(Database& database, int idUsuario);
};

} // namespace lumetra
