#include "platform/widgets/Accessible.h"

#include <QLabel>
#include <QWidget>

namespace Accessible {

QString nameOf(const QString& caption)
{
    QString name;
    name.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            // "&&" is a literal ampersand; a lone "&" only marks the mnemonic.
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
                name += caption.at(++i);
            continue;
        }
        name += caption.at(i);
    }
    name = name.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

void describe(QWidget* control, const QString& name, const QString& description)
{
    // A focus proxy may itself forward to another widget; each one in the
    // chain can be the one announced.
    for (QWidget* w = control; w; w = w->focusProxy()) {
        w->setAccessibleName(name);
        w->setAccessibleDescription(description);
    }
}

void describe(const QLabel* caption, const QString& description)
{
    if (QWidget* box = caption->buddy())
        describe(box, nameOf(caption->text()), description);
}

} // namespace Accessible
