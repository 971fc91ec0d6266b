#include "platform/widgets/DatePicker.h"

#include "platform/ProgramLocale.h"
#include "platform/widgets/KeyCodes.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

#include <algorithm>

namespace {

// Characters QLineEdit's own size hint is made for; what it adds to them is
// its frame and margins.
constexpr int LineEditHintChars = 17;

} // namespace

DatePicker::DatePicker(QWidget* parent)
    : QWidget(parent), m_check(new QCheckBox(this)), m_edit(new QLineEdit(this)),
      m_drop(new QToolButton(this)), m_calendar(new QCalendarWidget(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_check);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_drop);

    m_check->setFocusPolicy(Qt::NoFocus);
    m_drop->setFocusPolicy(Qt::NoFocus);
    m_drop->setArrowType(Qt::DownArrow);
    // Neither takes the focus, but a screen reader reads them when pointed at.
    m_check->setAccessibleName(QStringLiteral("Date given"));
    m_check->setAccessibleDescription(QStringLiteral("Unticked, the field holds no date."));
    m_drop->setAccessibleName(QStringLiteral("Calendar"));
    m_drop->setToolTip(QStringLiteral("Pick the date in a calendar (Alt+Down)"));
    // Month names in the calendar as everywhere in the program.
    m_calendar->setLocale(ProgramLocale::nameLocale());
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->hide();
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    m_edit->installEventFilter(this);
    m_calendar->installEventFilter(this);
    keepWideEnoughForDates();

    connect(m_check, &QCheckBox::toggled, this, [this](bool checked) {
        if (m_programChange)
            return;
        // Ticked again after the text was emptied: the last date comes back.
        if (checked && m_edit->text().trimmed().isEmpty())
            showDate(m_date);
        showTicked();
        emit Change();
    });
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::optional<QDate> before = held();
        takeText(text);
        userChange(before);
    });
    connect(m_drop, &QToolButton::clicked, this, &DatePicker::showCalendar);
    // A click on a day, or Enter on the day the arrows went to, picks it.
    const auto pick = [this](QDate date) {
        m_calendar->hide();
        const std::optional<QDate> before = held();
        m_date = date;
        showDate(date);
        setTicked(true);
        userChange(before);
        m_edit->setFocus();
    };
    connect(m_calendar, &QCalendarWidget::clicked, this, pick);
    connect(m_calendar, &QCalendarWidget::activated, this, pick);
    showDate(QDate::currentDate());
    m_date = QDate::currentDate();
    setTicked(true);
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
    const std::optional<QDate> date = held();
    return date ? Variant(*date) : Variant::null();
}

void DatePicker::setValue(const Variant& value)
{
    if (value.isNull() || value.isEmpty()) {
        if (CheckBox())
            setTicked(false);
        return;
    }
    const QDate date = value.toDate().date();
    m_date = date;
    showDate(date);
    setTicked(true);
}

QDate DatePicker::date() const
{
    return m_date;
}

QString DatePicker::Text() const
{
    return m_edit->text();
}

void DatePicker::setText(const QString& text)
{
    m_programChange = true;
    m_edit->setText(text);
    m_programChange = false;
    takeText(text);
}

bool DatePicker::Readable() const
{
    const QString text = m_edit->text();
    return text.trimmed().isEmpty() || ProgramLocale::readDate(text).has_value();
}

void DatePicker::showCalendar()
{
    m_calendar->setSelectedDate(m_date);
    m_calendar->adjustSize();
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar->show();
    m_calendar->setFocus();
}

std::optional<QDate> DatePicker::held() const
{
    if (!ticked())
        return std::nullopt;
    return m_date;
}

bool DatePicker::ticked() const
{
    return !CheckBox() || m_check->isChecked();
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

void DatePicker::takeText(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        if (CheckBox())
            setTicked(false);
        return;
    }
    // Text that is no date (yet) changes nothing: the picker keeps what it
    // held, and Readable() tells.
    const std::optional<QDateTime> read = ProgramLocale::readDate(text);
    if (!read)
        return;
    m_date = read->date();
    setTicked(true);
}

void DatePicker::showDate(QDate date)
{
    m_programChange = true;
    m_edit->setText(ProgramLocale::formatDate(date));
    m_programChange = false;
}

void DatePicker::userChange(const std::optional<QDate>& before)
{
    if (held() != before)
        emit Change();
}

void DatePicker::keepWideEnoughForDates()
{
    // The widest date the picker shows, whole: "00/" the widest month "/0000".
    const QFontMetrics metrics = m_edit->fontMetrics();
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        widest = std::max(
            widest, metrics.horizontalAdvance(
                        QStringLiteral("00/%1/0000").arg(ProgramLocale::monthAbbreviation(month))));
    const int frame =
        m_edit->sizeHint().width() - LineEditHintChars * metrics.horizontalAdvance(u'x');
    // One more pixel for the text cursor behind the last digit.
    m_edit->setMinimumWidth(widest + std::max(frame, 0) + 1);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_calendar) {
        if (key->key() == Qt::Key_Escape) {
            m_calendar->hide();
            m_edit->setFocus();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched != m_edit)
        return QWidget::eventFilter(watched, event);
    QPointer<DatePicker> alive(this);
    emit KeyDown(virtualKeyCode(key), shiftState(key));
    if (!alive || !m_edit->hasFocus())
        return true;
    if (key->key() == Qt::Key_F4 ||
        (key->key() == Qt::Key_Down && key->modifiers().testFlag(Qt::AltModifier))) {
        showCalendar();
        return true;
    }
    return false;
}
