#include "entry/ModuleVariables.h"

namespace lumetra {

TfrmHojaCaja* frmHojaCaja = nullptr;
TdmConfiguracion* dmConfiguracion = nullptr;
TdmHojaCaja* dmHojaCaja = nullptr;
TdmDiarioIva* dmDiarioIva = nullptr;
TfrmReportHojaCaja* frmReportHojaCaja = nullptr;
TfrmReportTarjetas* frmReportTarjetas = nullptr;
TfrmReportGrupos* frmReportGrupos = nullptr;
TfrmDiarioDetallado* frmDiarioDetallado = nullptr;
TfrmReportDiarioResumido* frmReportDiarioResumido = nullptr;
TfrmReportDiarioResumidoLineas* frmReportDiarioResumidoLineas = nullptr;
TfrmError* frmError = nullptr;
TfrmPorcentajeListado* frmPorcentajeListado = nullptr;

} // namespace lumetra
