#include "lookups/LookupWindow.h"

#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/TextBox.h"
#include "platform/widgets/Toolbar.h"
#include "platform/widgets/Twips.h"
#include "shell/dbStuff.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QShortcut>

#include <algorithm>

using namespace dbStuff;

LookupWindow::LookupWindow(int frameHeight, QWidget* parent)
    : QDialog(parent), frameHeight(frameHeight)
{
    Toolbar1 = new Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->addButton(QStringLiteral("delete"), QStringLiteral("Delete"), QStyle::SP_TrashIcon);
    Toolbar1->addButton(QStringLiteral("new"), QStringLiteral("New"), QStyle::SP_FileIcon);
    Toolbar1->addButton(QStringLiteral("save"), QStringLiteral("Save"),
                        QStyle::SP_DialogSaveButton);
    Toolbar1->addButton(QStringLiteral("close"), QStringLiteral("Close"),
                        QStyle::SP_DialogCloseButton);

    // The status line takes the width the buttons leave, and never widens the
    // window: a long text is cut at its right end.
    StatusLine = new QLabel(Toolbar1);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setSizePolicy(QSizePolicy::Policy(QSizePolicy::Ignored | QSizePolicy::ExpandFlag),
                              QSizePolicy::Preferred);
    StatusLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusLine->setContentsMargins(Twips::toPixels(Gap), 0, Twips::toPixels(Gap), 0);
    Toolbar1->addWidget(StatusLine);

    // The window gives the list its columns.
    LV1 = new ListView(this);
    LV1->setObjectName(QStringLiteral("LV1"));

    Frame1 = new QGroupBox(QStringLiteral("Details"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    // Captions in column 0, boxes in column 1, and the width to spare in
    // column 2, so that the boxes keep their width in a wide window. Captions
    // CaptionLeft twips in, boxes at least CaptionGap twips right of the
    // longest caption, rows 105 twips apart.
    details = new QGridLayout(Frame1);
    details->setContentsMargins(Twips::toPixels(CaptionLeft), Twips::toPixels(60),
                                Twips::toPixels(CaptionLeft), Twips::toPixels(120));
    details->setHorizontalSpacing(Twips::toPixels(CaptionGap));
    details->setVerticalSpacing(Twips::toPixels(105));
    details->setColumnStretch(2, 1);

    // Keys for the toolbar, named in the tooltips. Delete works only from the
    // list: in a box the key deletes text.
    const auto shortcut = [this](const QString& key, const QKeySequence& keys) {
        QAction* action = Toolbar1->Button(key);
        action->setShortcut(keys);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(action->text(), keys.toString(QKeySequence::NativeText)));
    };
    shortcut(QStringLiteral("save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    shortcut(QStringLiteral("new"), QKeySequence(Qt::CTRL | Qt::Key_N));
    Toolbar1->Button(QStringLiteral("close"))
        ->setToolTip(QStringLiteral("Close (%1)")
                         .arg(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText)));
    QAction* remove = Toolbar1->Button(QStringLiteral("delete"));
    remove->setToolTip(QStringLiteral("Delete (%1)")
                           .arg(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText)));
    auto* deleteKey =
        new QShortcut(QKeySequence(Qt::Key_Delete), LV1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, remove, [remove] {
        if (remove->isEnabled())
            remove->trigger();
    });

    // A save the user declined ends the action that asked for it, quietly.
    connect(Toolbar1, &Toolbar::ButtonClick, this, [this](const QString& key) {
        RunHandler([&] {
            try {
                Toolbar1_ButtonClick(key);
            } catch (const SaveDeclined&) {
            }
        });
    });
    connect(LV1, &ListView::ItemClick, this, [this](ListItem* item) {
        RunHandler([&] {
            try {
                LV1_ItemClick(item);
            } catch (const SaveDeclined&) {
            }
        });
    });
}

LookupWindow::~LookupWindow() = default;

QLabel* LookupWindow::addDetailsRow(const QString& caption, QWidget* box, int boxLeft, int boxWidth)
{
    auto* label = new QLabel(caption, Frame1);
    label->setBuddy(box);
    const int row = details->count() / 2;
    details->setColumnMinimumWidth(0,
                                   std::max(details->columnMinimumWidth(0),
                                            Twips::toPixels(boxLeft - CaptionLeft - CaptionGap)));
    // A column minimum, not the box's: a box whose content needs more (a
    // combo's longest entry) keeps what it needs.
    details->setColumnMinimumWidth(
        1, std::max(details->columnMinimumWidth(1), Twips::toPixels(boxWidth)));
    details->addWidget(label, row, 0);
    details->addWidget(box, row, 1);
    // The rows keep to the top of the frame when it is taller than they need.
    details->setRowStretch(row, 0);
    details->setRowStretch(row + 1, 1);
    return label;
}

void LookupWindow::setDesignSize(const QSize& twips)
{
    resize(Twips::toPixels(twips));
    fitMinimumSize();
}

int LookupWindow::frameHeightTwips() const
{
    return std::max(frameHeight, Twips::fromPixels(Frame1->minimumSizeHint().height()));
}

void LookupWindow::fitMinimumSize()
{
    // A drop-down list's least size does not follow the entries it was given
    // after it was made; its size hint does. The pane's lists hold fixed
    // entries, which must show whole however small the window.
    for (QComboBox* combo : Frame1->findChildren<QComboBox*>())
        combo->setMinimumWidth(combo->sizeHint().width());
    setMinimumSize(Frame1->minimumSizeHint().width(), Toolbar1->sizeHint().height() +
                                                          Twips::toPixels(Gap) +
                                                          Twips::toPixels(frameHeightTwips()));
}

bool LookupWindow::Load()
{
    try {
        Form_Load();
        return true;
    } catch (const VbError& e) {
        ReportError(e);
        return false;
    }
}

bool LookupWindow::IsDirty()
{
    // Judged by the name alone whatever the list shows selected: a click has
    // already moved the selection when it asks, and a typed row that is not
    // stored yet must not be dropped unasked. The pane is compared with what
    // it was filled from, so nothing here reads the file.
    if (NewRecord || !LV1->SelectedItem())
        return !nameBox()->Text().isEmpty();
    return paneDiffers();
}

bool LookupWindow::differs(const TextBox* box, const Variant& stored)
{
    return !box->Text().isEmpty() && (stored.isNull() || box->Text() != stored.toString());
}

void LookupWindow::askToSaveBeforeShowing(ListItem* Item)
{
    ClickedKey = Item->Key();
    if (!IsDirty())
        return;
    Answer = MsgBox(QStringLiteral("Do you want to save changes?"), vbYesNo + vbQuestion, AppTitle);
    if (Answer != vbYes)
        return;
    // The edits belong to the row shown before the click.
    LV1->setSelectedItem(NewRecord ? nullptr : LV1->Find(CurrentKey));
    // Declined, the click does not happen: the selection stays on the row
    // shown.
    Save();
    LV1->setSelectedItem(LV1->Find(ClickedKey));
}

void LookupWindow::Form_QueryUnload(bool& Cancel)
{
    if (!IsDirty())
        return;
    Answer = MsgBox(QStringLiteral("Save changes before closing this window?"),
                    vbYesNoCancel + vbQuestion, AppTitle);
    if (Answer == vbCancel) {
        Cancel = true;
    } else if (Answer == vbYes) {
        try {
            Save();
        } catch (const VbError& e) {
            // Closing now would lose what the user typed: stay open with it.
            ReportError(e);
            Cancel = true;
        } catch (const SaveRefused&) {
            Cancel = true;
        }
    }
}

void LookupWindow::Unload()
{
    reject();
}

void LookupWindow::reject()
{
    bool cancel = false;
    RunHandler([&] { Form_QueryUnload(cancel); });
    if (!cancel)
        QDialog::reject();
}

void LookupWindow::Form_Resize()
{
    const int innerWidth = Twips::widthOf(this);
    const int innerHeight = Twips::heightOf(this);
    // The toolbar keeps to the top edge, across the window.
    Toolbar1->setGeometry(0, 0, width(), Toolbar1->sizeHint().height());
    const int toolbarTop = Twips::fromPixels(Toolbar1->y());
    const int toolbarHeight = Twips::heightOf(Toolbar1);
    const int listTop = toolbarTop + toolbarHeight;
    const int paneHeight = frameHeightTwips();
    const int listHeight = std::max(0, innerHeight - paneHeight - toolbarHeight - Gap);
    placeLists(listTop, innerWidth, listHeight);
    Twips::setGeometry(Frame1, 0, listTop + listHeight + Gap, innerWidth, paneHeight);
}

void LookupWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    RunHandler([this] { Form_Resize(); });
}

void LookupWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitMinimumSize();
}
