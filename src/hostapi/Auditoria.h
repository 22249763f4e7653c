// TAuditoria: the host's access-audit object. It holds the working date and writes one audit
// row per use of an option of the application, through the record lent to it.
#pragma once

#include "hostapi/HostApi.h"
#include "platform/format/DateTime.h"

namespace lumetra {

class TRegistroAcceso;

class LUMETRA_HOSTAPI_EXPORT TAuditoria {
public:
    DateTime FechaTrabajo;

    // Records that the user used the option in the store. Throws std::logic_error when no
    // record has been lent; a database error of the record reaches the caller.
    void RegistrarAcceso(int idUsuario, int opcion, int idTienda);

    // The record RegistrarAcceso writes through; not owned, null for none. Prestamo lends one
    // for a scope and gives the previous one back at its end.
    void SetRegistro(TRegistroAcceso* registro) { registro_ = registro; }
    TRegistroAcceso* Registro() const { return registro_; }

    class Prestamo {
    public:
        Prestamo(TAuditoria& auditoria, TRegistroAcceso& registro)
            : auditoria_(auditoria)
            , anterior_(auditoria.Registro())
        {
            auditoria_.SetRegistro(&registro);
        }
        ~Prestamo() { auditoria_.SetRegistro(anterior_); }
        Prestamo(const Prestamo&) = delete;
        Prestamo& operator=(const Prestamo&) = delete;

    private:
        TAuditoria& auditoria_;
        TRegistroAcceso* anterior_;
    };

private:
    TRegistroAcceso* registro_ = nullptr;
};

} // namespace lumetra
