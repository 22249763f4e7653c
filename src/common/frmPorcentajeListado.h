// TfrmPorcentajeListado: the small "Buscando" window shown while a listing's data is gathered and
// its pages are laid out. It shows a text (what is being done, how far) and a picture and
// remembers whether "&Cancelar" was pressed. The flag starts false in every new window and, once set, is never reset, so a cancel
// never carries over to the next run (each run creates its own window).
//
// The data modules create it owned by the host's main window, show it through the interaction
// seam, poll Cancelado() between steps while letting events run, and delete it.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace lumetra {

class TfrmPorcentajeListado : public QWidget {
    Q_OBJECT

public:
    explicit TfrmPorcentajeListado(QWidget* propietario = nullptr);

    bool Cancelado() const { return cancelado_; }
    // Enables or disables "&Cancelar".
    void PermitirCancelar(bool permitir);
    // What the window says it is doing ("Buscando Registros..." until told otherwise).
    void SetTexto(const QString& texto);
    QString Texto() const;

    void FormCreate();
    void btnCancelarClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QPushButton* btnCancelar_ = nullptr;
    QLabel* texto_ = nullptr;
    bool cancelado_ = false;
};

} // namespace lumetra
