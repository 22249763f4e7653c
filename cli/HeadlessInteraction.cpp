#include "HeadlessInteraction.h"

#include "common/frmPorcentajeListado.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <algorithm>
#include <utility>

namespace lumetra {

namespace {

// The window's validation messages: the conditions are wrong, nothing failed.
const char* const kValidacion[] = {"La Fecha No Puede ser Vacia", "La Fecha Final no puede ser menor que la Inicial",
                                   "Debe seleccionar al menos una Tienda",
                                   "Debe seleccionar una forma de calcular el Tipo de I.V.A"};
const char* const kSinOperaciones = "No existen operaciones en las fechas seleccionadas";

} // namespace

HeadlessInteraction::HeadlessInteraction(QString salida, FILE* errores)
    : salida_(std::move(salida))
    , errores_(errores)
{
    if (ReportExporter::formatOf(salida_) == ReportExporter::Format::Pdf)
        pdf_ = std::make_unique<BackgroundPdfWriter>(QFileInfo(salida_).absolutePath());
}

void HeadlessInteraction::say(const QString& line)
{
    lines_ << line;
    if (errores_) {
        std::fputs(QStringLiteral("lumetra-listados: %1\n").arg(line).toUtf8().constData(), errores_);
        std::fflush(errores_);
    }
}

void HeadlessInteraction::message(QWidget*, const QString& title, const QString& text, Icon icon)
{
    say(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
    bool validacion = false;
    for (const char* texto : kValidacion)
        validacion = validacion || text == QString::fromUtf8(texto);
    if (validacion)
        invalid_ = true;
    else if (text == QString::fromUtf8(kSinOperaciones))
        nothingFound_ = true;
    else if (icon == Icon::Error)
        failed_ = true;
}

int HeadlessInteraction::execDialog(QDialog&, const QString& summary)
{
    // Modal windows of the listings are error windows; closing one is its OK.
    say(QStringLiteral("ventana de error: ") + summary);
    failed_ = true;
    return QDialog::Accepted;
}

void HeadlessInteraction::showWindow(QWidget&)
{
    processEvents();
}

void HeadlessInteraction::processEvents()
{
    QCoreApplication::processEvents();
    if (stopSignal())
        cancelProgress();
}

void HeadlessInteraction::cancelProgress()
{
    QList<QPointer<TfrmPorcentajeListado>> windows;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* progress = qobject_cast<TfrmPorcentajeListado*>(widget))
            windows << progress;
    for (const QPointer<TfrmPorcentajeListado>& progress : windows)
        if (progress && !progress->Cancelado())
            progress->btnCancelarClick();
}

void HeadlessInteraction::preview(const ReportDocument& document, int, QWidget*, const QString& name)
{
    // A second previewed report must not overwrite the first.
    const QString first = QFileInfo(salida_).absoluteFilePath();
    const bool taken = std::any_of(staged_.begin(), staged_.end(), [&](const auto& staged) {
        return QFileInfo(staged->path()).absoluteFilePath() == first;
    });
    write(document, taken ? companionPath(salida_, name) : salida_);
}

void HeadlessInteraction::print(const ReportDocument& document, int, const QString& name)
{
    write(document, companionPath(salida_, name));
}

void HeadlessInteraction::write(const ReportDocument& document, const QString& path)
{
    if (stopSignal())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto format = ReportExporter::formatOf(path);
    try {
        if (!format)
            throw ReportError(QStringLiteral("No se reconoce el formato del fichero: use .pdf, .xlsx, .csv, .txt, .xml o .png"));
        const auto written = [&](const QString& staging) {
            return pdf_ && *format == ReportExporter::Format::Pdf && pdf_->take(document, staging);
        };
        staged_.push_back(std::make_unique<ReportExporter::Staged>(document, absolute, *format, written));
    } catch (const ReportError& e) {
        fail(QStringLiteral("no se ha podido escribir «%1»: %2").arg(absolute, e.message()));
        return;
    }
    if (document.failed())
        fail(QStringLiteral("el listado «%1» está incompleto: %2").arg(absolute, document.error));
}

void HeadlessInteraction::fail(const QString& text)
{
    say(text);
    failed_ = true;
}

void HeadlessInteraction::stopWhen(std::function<int()> signal)
{
    stopSignal_ = std::move(signal);
}

bool HeadlessInteraction::publish()
{
    std::vector<std::unique_ptr<ReportExporter::Staged>> staged;
    staged.swap(staged_);
    if (stopSignal())
        return false;     // the staged files go with `staged`
    bool complete = true;
    for (const auto& file : staged) {
        try {
            file->commit();
            written_ << file->path();
        } catch (const ReportError& e) {
            fail(e.message());
            complete = false;
        }
    }
    return complete;
}

HeadlessInteraction::ExitStatus HeadlessInteraction::exitStatus() const
{
    if (failed_)
        return Failure;
    if (invalid_)
        return InvalidConditions;
    if (nothingFound_)
        return NothingFound;
    return written_.isEmpty() && staged_.empty() ? Failure : Printed;
}

QString HeadlessInteraction::companionPath(const QString& salida, const QString& name)
{
    const QFileInfo info(salida);
    const QString file = info.suffix().isEmpty() ? info.fileName() + QLatin1Char('-') + name
                                                 : QStringLiteral("%1-%2.%3").arg(info.completeBaseName(), name, info.suffix());
    return info.path() == QLatin1String(".") && !salida.startsWith(QLatin1String("./")) ? file : QDir(info.path()).filePath(file);
}

} // namespace lumetra
