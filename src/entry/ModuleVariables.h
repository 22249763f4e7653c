// The module's instance variables, exported for the host. Only frmHojaCaja (the last window
// opened) and dmConfiguracion (the configuration module while a window is open) are written.
#pragma once

#include "entry/ModuleApi.h"

namespace lumetra {

class TfrmHojaCaja;
class TdmConfiguracion;
class TdmHojaCaja;
class TdmDiarioIva;
class TfrmReportHojaCaja;
class TfrmReportTarjetas;
class TfrmReportGrupos;
class TfrmDiarioDetallado;
class TfrmReportDiarioResumido;
class TfrmReportDiarioResumidoLineas;
class TfrmError;
class TfrmPorcentajeListado;

extern LUMETRA_MODULE_EXPORT TfrmHojaCaja* frmHojaCaja;
extern LUMETRA_MODULE_EXPORT TdmConfiguracion* dmConfiguracion;
extern LUMETRA_MODULE_EXPORT TdmHojaCaja* dmHojaCaja;
extern LUMETRA_MODULE_EXPORT TdmDiarioIva* dmDiarioIva;
extern LUMETRA_MODULE_EXPORT TfrmReportHojaCaja* frmReportHojaCaja;
extern LUMETRA_MODULE_EXPORT TfrmReportTarjetas* frmReportTarjetas;
extern LUMETRA_MODULE_EXPORT TfrmReportGrupos* frmReportGrupos;
extern LUMETRA_MODULE_EXPORT TfrmDiarioDetallado* frmDiarioDetallado;
extern LUMETRA_MODULE_EXPORT TfrmReportDiarioResumido* frmReportDiarioResumido;
extern LUMETRA_MODULE_EXPORT TfrmReportDiarioResumidoLineas* frmReportDiarioResumidoLineas;
extern LUMETRA_MODULE_EXPORT TfrmError* frmError;
extern LUMETRA_MODULE_EXPORT TfrmPorcentajeListado* frmPorcentajeListado;

} // namespace lumetra
