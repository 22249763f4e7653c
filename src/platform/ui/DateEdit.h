// DateEdit: a date field typed as dd/mm/aaaa, with or without the slashes, that can also be
// empty (the zero date), with a calendar that drops down from its button (or Alt+Down, F4).
//
// It keeps what the person typed: it never jumps to another section by itself, never puts back
// an old date when the field is left, and says why a text is not a date (error()), so the
// listing can refuse it when asked to print.
#pragma once

#include "platform/format/DateTime.h"

#include <QLineEdit>
#include <QPointer>

#include <QCalendarWidget>

namespace lumetra {

class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    // The date typed; the zero date when the field is empty or holds no whole, real date.
    DateTime value() const;
    void setValue(const DateTime& date);
    // Nothing typed.
    bool isEmpty() const;
    void clearValue();
    // What the field shows: "dd/mm/yyyy" as typed (possibly incomplete), or "" when empty.
    QString displayedText() const;
    // Why what was typed is not a date, in Spanish; "" when it is one or the field is empty.
    QString error() const;

    // The drop-down calendar: opens it on the field's date (today when there is none).
    void showCalendar();
    // The open calendar, or nullptr.
    QCalendarWidget* calendar() const { return calendario_.data(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The three parts as typed, blanks removed.
    QStringList partes() const;
    // "/" typed: the part being written is complete; go on to the next.
    void siguienteParte();

    QPointer<QCalendarWidget> calendario_;
};

} // namespace lumetra
