#pragma once

#include "platform/Variant.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;

// A date field with an optional check box in front of it: an unticked picker
// holds no date, and Value() is then Null. The date stays on show (greyed)
// while unticked, so ticking the box brings it back.
//
// Events: Change when the user ticks or unticks the box or changes the date;
// a user change of the date also ticks the box. Setting Value from code raises
// nothing. KeyDown(code, shift) fires for every key pressed in the picker
// before the picker acts on it; when the handler moved the focus away, the
// picker drops the key. Space toggles the tick.
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

    // The date on show, ticked or not.
    QDate date() const;

    static constexpr const char* DisplayFormat = "dd/MMM/yyyy";

signals:
    void Change();
    void KeyDown(int keyCode, int shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setTicked(bool ticked);
    void showTicked();

    QCheckBox* m_check;
    QDateEdit* m_edit;
    bool m_programChange = false;
};
