#pragma once

#include "platform/Variant.h"

#include <QDate>
#include <QWidget>

#include <optional>

class QCalendarWidget;
class QCheckBox;
class QLineEdit;
class QToolButton;

// A date field with an optional check box in front of it and a calendar that
// drops down from the button behind it: an unticked picker holds no date, and
// Value() is then Null. The date is typed as text in any form that
// ProgramLocale::readDate reads ("16/Jun/2025", "16/06/2025", "16-6-25", ...)
// or picked in the calendar; dates set from code or picked show "dd/MMM/yyyy".
//
// Typing: a text that reads as a date makes that date the picker's and ticks
// the box; an emptied text unticks it; any other text changes nothing but
// Readable(), so that the caller can refuse the text rather than take another
// date for it. Unticked, the text stays on show (greyed), so ticking the box
// brings the date back.
//
// Events: Change when the user ticks or unticks the box or changes the date
// (by typing or in the calendar); setting Value or Text from code raises
// nothing. KeyDown(code, shift) fires for every key pressed in the text part
// before the picker acts on it; when the handler moved the focus away, the
// picker drops the key. F4 and Alt+Down drop the calendar down.
class DatePicker final : public QWidget
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Shown by default; without it the picker always holds a date.
    bool CheckBox() const;
    void setCheckBox(bool shown);

    // Null when unticked, otherwise the date (a Date at midnight).
    Variant Value() const;
    // Null (or Empty) unticks and keeps the date shown; a date, or text or a
    // number that converts to one, ticks and shows it. Anything else raises
    // the conversion's VbError.
    void setValue(const Variant& value);

    // The date on show, ticked or not: the last date set, picked or typed.
    QDate date() const;

    // The text part as it stands, and setting it as if typed (ticking and
    // unticking as typing does) but without raising Change.
    QString Text() const;
    void setText(const QString& text);
    // False while the text is neither empty nor a date.
    bool Readable() const;
    QLineEdit* lineEdit() const { return m_edit; }

    // Drops the calendar down on the date on show.
    void showCalendar();

    static constexpr const char* DisplayFormat = "dd/MMM/yyyy";

signals:
    void Change();
    void KeyDown(int keyCode, int shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The date the picker holds now: nullopt when unticked.
    std::optional<QDate> held() const;
    bool ticked() const;
    void setTicked(bool ticked);
    void showTicked();
    // The text as typed, read as typing reads it.
    void takeText(const QString& text);
    void showDate(QDate date);
    void userChange(const std::optional<QDate>& before);
    void keepWideEnoughForDates();

    QCheckBox* m_check;
    QLineEdit* m_edit;
    QToolButton* m_drop;
    QCalendarWidget* m_calendar;
    QDate m_date;
    bool m_programChange = false;
};
