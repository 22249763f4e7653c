// DateEdit: a date field typed as dd/mm/yyyy that can also be empty (the zero date).
#pragma once

#include "platform/format/DateTime.h"

#include <QDateEdit>

namespace lumetra {

class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    // The zero date when the field is empty.
    DateTime value() const;
    void setValue(const DateTime& date);
    bool isEmpty() const;
    void clearValue();
    // What the field shows: "dd/mm/yyyy", or the empty text.
    QString displayedText() const;
};

} // namespace lumetra
