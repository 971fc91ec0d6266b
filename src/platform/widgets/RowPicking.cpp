#include "platform/widgets/RowPicking.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

namespace {

class PickOnFocus final : public QObject
{
public:
    explicit PickOnFocus(QAbstractItemView& list) : QObject(&list), m_list(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Before the view's own focus handling, which would make the first
        // row current without picking it.
        if (watched == &m_list && event->type() == QEvent::FocusIn) {
            QItemSelectionModel* selection = m_list.selectionModel();
            const QAbstractItemModel* model = m_list.model();
            if (selection && model && model->rowCount() > 0 && !selection->hasSelection()) {
                const QModelIndex current = m_list.currentIndex();
                selection->setCurrentIndex(current.isValid() ? current : model->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
            }
        }
        return false;
    }

private:
    QAbstractItemView& m_list;
};

} // namespace

void PickCurrentRowOnTabIn(QAbstractItemView& list)
{
    list.installEventFilter(new PickOnFocus(list));
}
