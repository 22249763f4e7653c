// FormatSettings: the separators, date pattern and day/month names used when
// numbers and dates are turned into text or read back. A default-constructed
// object holds the Spanish settings. Formatting output depends only on these
// settings, never on LANG or QLocale::system(), so listings look the same on
// every machine. current() is process-wide (Spanish unless setCurrent() is
// called); change it at start-up, not while other threads are formatting.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace lumetra {

struct FormatSettings {
    QChar decimalSeparator = u',';
    QChar thousandSeparator = u'.';
    // Pattern in FormatDateTime's language (d, m, y tokens).
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    // Sunday first, seven entries.
    QStringList longDayNames = {
        QStringLiteral("domingo"), QStringLiteral("lunes"), QStringLiteral("martes"),
        QStringLiteral("miércoles"), QStringLiteral("jueves"), QStringLiteral("viernes"),
        QStringLiteral("sábado")};
    QStringList shortDayNames = {
        QStringLiteral("dom"), QStringLiteral("lun"), QStringLiteral("mar"), QStringLiteral("mié"),
        QStringLiteral("jue"), QStringLiteral("vie"), QStringLiteral("sáb")};
    // January first, twelve entries.
    QStringList longMonthNames = {
        QStringLiteral("enero"), QStringLiteral("febrero"), QStringLiteral("marzo"),
        QStringLiteral("abril"), QStringLiteral("mayo"), QStringLiteral("junio"),
        QStringLiteral("julio"), QStringLiteral("agosto"), QStringLiteral("septiembre"),
        QStringLiteral("octubre"), QStringLiteral("noviembre"), QStringLiteral("diciembre")};
    QStringList shortMonthNames = {
        QStringLiteral("ene"), QStringLiteral("feb"), QStringLiteral("mar"), QStringLiteral("abr"),
        QStringLiteral("may"), QStringLiteral("jun"), QStringLiteral("jul"), QStringLiteral("ago"),
        QStringLiteral("sep"), QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dic")};

    static FormatSettings spanish() { return FormatSettings{}; }
    static const FormatSettings& current();
    static void setCurrent(const FormatSettings& settings);
};

} // namespace lumetra
