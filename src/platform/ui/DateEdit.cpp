#include "platform/ui/DateEdit.h"

#include "platform/format/DateTexts.h"

namespace lumetra {

namespace {
const QDate kEmptyDate(1899, 12, 30);
}

DateEdit::DateEdit(QWidget* parent)
    : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    // The minimum stands for "no date" and shows as an empty field.
    setMinimumDate(kEmptyDate);
    setSpecialValueText(QStringLiteral(" "));
    setDate(kEmptyDate);
}

DateTime DateEdit::value() const
{
    return isEmpty() ? DateTime::zero() : DateTime::fromDate(date());
}

void DateEdit::setValue(const DateTime& date)
{
    setDate(date.isZero() ? kEmptyDate : date.date());
}

bool DateEdit::isEmpty() const
{
    return date() <= kEmptyDate;
}

void DateEdit::clearValue()
{
    setDate(kEmptyDate);
}

QString DateEdit::displayedText() const
{
    return isEmpty() ? QString() : DateToStr(value());
}

} // namespace lumetra
