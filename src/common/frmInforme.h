// TfrmInforme: what every listing's report form has in common: the host block, the conditions
// line, the text formatter and, for the forms that print VAT tables, the list of VAT types; the
// report it lays out; its error reporting under the form's own screen text.
//
// Contract:
// - Every form is driven the same way: construct, set its data module, Inicializar, the option
//   setters, Documento (lays the report out), Finalizar, delete. The data module and the host
//   block are not owned and must outlive the form.
// - The form is the one owner of its formatter and its VAT-type list: they are created by
//   CrearUtilidades (from Inicializar), freed by Finalizar or, at the latest, with the form.
// - MostrarError shows the error window with the form's screen text; Guarded bodies report
//   through it.
//
// TfrmInformeDe<DataModule> adds the data module the form prints.
#pragma once

#include "common/Iva.h"
#include "common/LstUtil.h"
#include "platform/report/Report.h"

#include <QObject>
#include <QString>
#include <memory>

namespace lumetra {

struct HostParams;

class TfrmInforme : public QObject {
    Q_OBJECT

public:
    ~TfrmInforme() override;

    // The conditions line of the report's headers.
    void SetFiltro(const QString& filtro);
    // Frees the formatter and the VAT-type list. 0, or -1 after reporting the failure.
    virtual int Finalizar();

    // Lays the report out (running every band event) and returns its pages.
    ReportDocument Documento();
    Report& qrpReport() { return report_; }

    void MostrarError(const QString& funcion, const QString& descripcion);

protected:
    TfrmInforme(QObject* propietario, const QString& nombre, const QString& nombreInforme, const QString& pantalla);

    // Keeps the block and creates the formatter, and the VAT-type list when `tiposIva`;
    // throws when the block is missing.
    void CrearUtilidades(HostParams* parametros, bool tiposIva);
    void LiberarUtilidades();

    HostParams* parametros_ = nullptr;
    QString filtro_;
    std::unique_ptr<TLstUtil> lstUtil_;
    std::unique_ptr<TIva> iva_;
    Report report_;

private:
    QString pantalla_;
};

template <class DataModule>
class TfrmInformeDe : public TfrmInforme {
protected:
    using TfrmInforme::TfrmInforme;

    void SetDataModule(DataModule* dm)
    {
        if (dm_ != dm)
            dm_ = dm;
    }

    DataModule* dm_ = nullptr;
};

} // namespace lumetra
