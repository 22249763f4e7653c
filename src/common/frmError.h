// TfrmError: the modal error window at the end of every error path. It shows the screen, the
// failing function and the message with the date and time, and can print a one-page error report
// with the shop's identity for support. It reports nothing itself.
//
// Mostrar() is how every unit reports a failure: one window per call, shown modally through the
// interaction seam and freed when it closes. A failure reported while a report is laid out fails
// that report's document. While a print runs (TfrmError::Impresion), its first failure is shown
// and fails the print; later ones are not shown: once the database has gone, every query still
// to run would otherwise bring a window of its own. "&Salir" and Escape close it with the OK result;
// "&Imprimir" previews the report and then closes it the same way; "&E-Mail" does nothing.
#pragma once

#include "platform/report/ReportDocument.h"

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumetra {

struct HostParams;
class DateTime;
class Report;

class TfrmError : public QDialog {
    Q_OBJECT

public:
    explicit TfrmError(QWidget* propietario = nullptr);
    ~TfrmError() override;

    // Creates the window owned by the host's main window (none when `parametros` or its owner is
    // null), shows it modally with the three texts and frees it.
    static void Mostrar(HostParams* parametros, const QString& pantalla, const QString& funcion,
                        const QString& descripcion);

    // One print, from its request to its last page: while it lives, the print's first failure is
    // shown and the later ones are not. Not nested: an inner one joins the outer.
    class Impresion {
    public:
        Impresion();
        ~Impresion();
        Impresion(const Impresion&) = delete;
        Impresion& operator=(const Impresion&) = delete;
        // A failure was reported since the print began.
        bool Fallida() const;

    private:
        bool exterior_;
    };
    // A failure was reported in the print running now (false outside a print).
    static bool ImpresionFallida();

    // The host block gives the shop's identity to the report; not owned, may be null.
    void SetParametros(HostParams* valor);
    void SetPantalla(const QString& valor);
    void SetFuncion(const QString& valor);
    // Replaces the memo's lines with the text (which may hold several lines).
    void SetDescripcion(const QString& valor);
    HostParams* Parametros() const { return parametros_; }
    const QString& Pantalla() const { return pantalla_; }
    const QString& Funcion() const { return funcion_; }
    const QString& Descripcion() const { return descripcion_; }

    // The date-time text of txtFecha: "martes, 4 de diciembre de 2012  10:05".
    static QString TextoFecha(const DateTime& momento);

    // The error report `qrpInforme` as it is defined; its detail band reads this window's values
    // and the shop's identity when it prints.
    Report& Informe() { return *qrpInforme_; }
    // Lays the error report out as "&Imprimir" previews it.
    ReportDocument InformeDocumento();

    // Event handlers, public so that a host or a test can run them as a click would.
    void FormActivate();
    void btnCorreoClick();
    void btnImprimirClick();
    void btnSalirClick();

    // Escape, like "&Salir", closes with the OK result.
    void reject() override;

protected:
    bool event(QEvent* e) override;

private:
    void CrearControles();
    void CrearInforme();
    void bndDetalleBeforePrint(bool& imprimir);

    HostParams* parametros_ = nullptr;
    QString pantalla_;
    QString funcion_;
    QString descripcion_;

    QLabel* txtFecha_ = nullptr;
    QLineEdit* edtPantalla_ = nullptr;
    QLineEdit* edtFuncion_ = nullptr;
    QPlainTextEdit* memDescripcion_ = nullptr;
    QPushButton* btnCorreo_ = nullptr;
    QPushButton* btnImprimir_ = nullptr;
    QPushButton* btnSalir_ = nullptr;
    std::unique_ptr<Report> qrpInforme_;
};

} // namespace lumetra
