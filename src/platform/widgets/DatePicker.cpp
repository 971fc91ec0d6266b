#include "platform/widgets/DatePicker.h"

#include "platform/ProgramLocale.h"
#include "platform/widgets/KeyCodes.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>

DatePicker::DatePicker(QWidget* parent)
    : QWidget(parent), m_check(new QCheckBox(this)), m_edit(new QDateEdit(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_check);
    layout->addWidget(m_edit, 1);

    // Month abbreviations as everywhere in the program ("Sep", not the "Sept"
    // of en_GB).
    m_edit->setLocale(ProgramLocale::nameLocale());
    m_edit->setDisplayFormat(QString::fromLatin1(DisplayFormat));
    m_edit->setCalendarPopup(true);
    m_edit->setDate(QDate::currentDate());
    m_check->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    m_edit->installEventFilter(this);

    connect(m_check, &QCheckBox::toggled, this, [this](bool) {
        showTicked();
        if (!m_programChange)
            emit Change();
    });
    connect(m_edit, &QDateEdit::dateChanged, this, [this] {
        if (m_programChange)
            return;
        // A date the user sets is a date the picker holds.
        m_programChange = true;
        m_check->setChecked(true);
        m_programChange = false;
        showTicked();
        emit Change();
    });
    m_check->setChecked(true);
    showTicked();
}

bool DatePicker::CheckBox() const
{
    return !m_check->isHidden();
}

void DatePicker::setCheckBox(bool shown)
{
    m_check->setVisible(shown);
    if (!shown)
        setTicked(true);
}

Variant DatePicker::Value() const
{
    if (CheckBox() && !m_check->isChecked())
        return Variant::null();
    return Variant(m_edit->date());
}

void DatePicker::setValue(const Variant& value)
{
    if (value.isNull() || value.isEmpty()) {
        if (CheckBox())
            setTicked(false);
        return;
    }
    const QDate date = value.toDate().date();
    m_programChange = true;
    m_edit->setDate(date);
    m_programChange = false;
    setTicked(true);
}

QDate DatePicker::date() const
{
    return m_edit->date();
}

void DatePicker::setTicked(bool ticked)
{
    m_programChange = true;
    m_check->setChecked(ticked);
    m_programChange = false;
    showTicked();
}

void DatePicker::showTicked()
{
    // Unticked: the date stays on show, greyed as a disabled field would be.
    QPalette pal = m_edit->palette();
    const QPalette normal = palette();
    pal.setColor(QPalette::Text, m_check->isChecked()
                                     ? normal.color(QPalette::Text)
                                     : normal.color(QPalette::Disabled, QPalette::Text));
    m_edit->setPalette(pal);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QPointer<DatePicker> alive(this);
    emit KeyDown(virtualKeyCode(key), shiftState(key));
    if (!alive || !m_edit->hasFocus())
        return true;
    if (key->key() == Qt::Key_Space && CheckBox()) {
        m_check->toggle(); // a user change: raises Change
        return true;
    }
    // Typing a part of the date sets a date, even the one on show (today's, on
    // an unticked picker, changes nothing else): the box is ticked.
    if (CheckBox() && !m_check->isChecked() && !key->text().isEmpty() &&
        key->text().at(0).isLetterOrNumber())
        m_check->setChecked(true); // a user change: raises Change
    return false;
}
