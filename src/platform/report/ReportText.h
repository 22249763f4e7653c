// ReportText: the characters of a text that a report prints. Control characters have no glyph
// on paper, and in a file they break its format (NUL ends a C string, XML 1.0 refuses them, a
// raw CR ends a CSV row for some readers). So a tab prints as a space, CR LF and a lone CR as a
// line feed, and the other C0 controls, DEL and the C1 controls are dropped. Line feeds stay:
// a memo or a wrapped text breaks its line there. Format characters such as the direction marks
// of right-to-left text are not controls and stay.
#pragma once

#include <QString>

namespace lumetra {

class ReportText {
public:
    // `text` itself (no copy) when it holds nothing to change.
    static QString printable(const QString& text);
    static bool isPrintable(const QString& text);
};

} // namespace lumetra
