// SpanishTranslation: Qt's own texts in Spanish — the file, print and page dialogs, message-box
// and dialog buttons, the calendar's tooltips — from Qt's Spanish catalogue (qtbase_es.qm, in the
// folder of Qt's translations). The object owns the translator it installs into the application
// and takes it out again on remove() or when destroyed.
//
// A program installs one for its whole life and makes Spanish (Spain) the default locale, which
// gives Qt's widgets their Spanish month and day names (useSpanishLocale()). A library that a
// host loads installs one only when the host's own translators do not already give Qt's texts in
// Spanish (qtSpeaksSpanish()), and removes it before it is unloaded.
//
// REQUIRES: a QCoreApplication, on its thread.
#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class QTranslator;

namespace lumetra {

class SpanishTranslation {
public:
    SpanishTranslation();
    ~SpanishTranslation();
    SpanishTranslation(const SpanishTranslation&) = delete;
    SpanishTranslation& operator=(const SpanishTranslation&) = delete;

    // Loads the catalogue and installs it; true when installed (also when it already was). False
    // with errorString() when the catalogue cannot be loaded.
    bool install();
    void remove();
    bool installed() const { return installed_; }
    QString errorString() const { return error_; }

    // Whether the application's translators, as installed now, give Qt's texts in Spanish.
    static bool qtSpeaksSpanish();
    // Spanish (Spain) as the default locale of the process: month and day names of Qt's widgets.
    static void useSpanishLocale();
    static QLocale locale() { return QLocale(QLocale::Spanish, QLocale::Spain); }
    // Where the catalogue is looked for.
    static QString folder();

private:
    std::unique_ptr<QTranslator> translator_;
    bool installed_ = false;
    QString error_;
};

} // namespace lumetra
