#include "platform/report/ReportText.h"

#include <algorithm>

namespace lumetra {

namespace {

bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\n') || (c >= 0x7f && c <= 0x9f);
}

} // namespace

bool ReportText::isPrintable(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return isControl(c.unicode()); });
}

QString ReportText::printable(const QString& text)
{
    if (isPrintable(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\t')
            out += QLatin1Char(' ');
        else if (c == u'\r') {
            out += QLatin1Char('\n');
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (!isControl(c))
            out += QChar(c);
    }
    return out;
}

} // namespace lumetra
