#include "platform/report/ReportDocument.h"

#include "platform/report/ReportBand.h"

#include <algorithm>
#include <cmath>

namespace lumetra {

QString ReportDocument::bandCode(BandType type)
{
    switch (type) {
    case BandType::PageHeader: return QStringLiteral("PH");
    case BandType::GroupHeader: return QStringLiteral("GH");
    case BandType::Detail: return QStringLiteral("D");
    case BandType::GroupFooter: return QStringLiteral("GF");
    case BandType::Summary: return QStringLiteral("S");
    case BandType::PageFooter: return QStringLiteral("PF");
    }
    return QStringLiteral("?");
}

QString ReportDocument::dump() const
{
    QStringList lines;
    for (int p = 0; p < pages.size(); ++p) {
        QStringList tokens;
        for (const PrintedBand& band : bands) {
            if (band.page != p)
                continue;
            QString token = bandCode(band.type);
            if (band.type == BandType::GroupHeader || band.type == BandType::GroupFooter)
                token += QLatin1Char('(') + band.group + QLatin1Char(')');
            tokens << token;
        }
        lines << QStringLiteral("p%1: %2").arg(p + 1).arg(tokens.join(QLatin1Char(' ')));
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList ReportDocument::pageTexts(int page) const
{
    if (page < 0 || page >= pages.size())
        return {};
    std::vector<const ReportItem*> texts;
    for (const ReportItem& item : pages[page].items)
        if (item.kind == ReportItem::Kind::Text)
            texts.push_back(&item);
    std::stable_sort(texts.begin(), texts.end(), [](const ReportItem* a, const ReportItem* b) {
        const qreal ya = std::round(a->rect.top());
        const qreal yb = std::round(b->rect.top());
        return ya != yb ? ya < yb : a->rect.left() < b->rect.left();
    });
    QStringList result;
    for (const ReportItem* item : texts)
        result << item->text;
    return result;
}

} // namespace lumetra
