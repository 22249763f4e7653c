#include "platform/ui/SpanishTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace lumetra {

namespace {

const QString kCatalogue = QStringLiteral("qtbase");

// A text every Qt file dialog shows, to tell which language Qt's texts come out in.
constexpr const char* kProbeContext = "QFileDialog";
constexpr const char* kProbeText = "Look in:";

bool load(QTranslator& translator)
{
    return translator.load(SpanishTranslation::locale(), kCatalogue, QStringLiteral("_"), SpanishTranslation::folder());
}

} // namespace

SpanishTranslation::SpanishTranslation() = default;

SpanishTranslation::~SpanishTranslation()
{
    remove();
}

QString SpanishTranslation::folder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool SpanishTranslation::install()
{
    if (installed_)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!load(*translator)) {
        error_ = QStringLiteral("No se encuentran las traducciones de Qt al español (%1_es.qm) en «%2»")
                     .arg(kCatalogue, QDir::toNativeSeparators(folder()));
        return false;
    }
    if (!QCoreApplication::installTranslator(translator.get())) {
        error_ = QStringLiteral("No se han podido instalar las traducciones de Qt al español");
        return false;
    }
    translator_ = std::move(translator);
    installed_ = true;
    error_.clear();
    return true;
}

void SpanishTranslation::remove()
{
    if (!installed_)
        return;
    // Without the application its translators went with it.
    if (QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator_.get());
    translator_.reset();
    installed_ = false;
}

bool SpanishTranslation::qtSpeaksSpanish()
{
    QTranslator spanish;
    if (!load(spanish))
        return false;
    const QString expected = spanish.translate(kProbeContext, kProbeText);
    return !expected.isEmpty() && QCoreApplication::translate(kProbeContext, kProbeText) == expected;
}

void SpanishTranslation::useSpanishLocale()
{
    QLocale::setDefault(locale());
}

} // namespace lumetra
