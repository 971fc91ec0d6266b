#pragma once

#include <QDialog>
#include <QString>

class ListItem;
class ListView;
class QGridLayout;
class QGroupBox;
class QLabel;
class TextBox;
class Toolbar;
class Variant;

// Thrown by a window's Save when the pane holds text that cannot be stored and
// the user has already been told what to type: nothing was written and the
// pane keeps the text.
struct SaveRefused
{
};

// What the businesses and categories windows share: the toolbar with its
// delete, new, save and close buttons, the list LV1 below it, the details frame
// at the bottom with its captions and boxes in a grid, and the two questions
// that keep edits in the pane from being dropped unasked, one when an item of
// LV1 is clicked and one on closing. A window says how its pane differs from
// the stored row (paneDiffers) and how the pane is written (Save); the
// questions and the closing are the same for both.
class LookupWindow : public QDialog
{
    Q_OBJECT

public:
    ~LookupWindow() override;

    // Form_Load under the window's error handling: false (after the error box)
    // when a table could not be opened or listed.
    bool Load();

    Toolbar* Toolbar1 = nullptr;
    // The window's status line, at the right end of the toolbar: what the last
    // action did ("Saved Bakery Janssen").
    QLabel* StatusLine = nullptr;
    ListView* LV1 = nullptr;
    QGroupBox* Frame1 = nullptr;

    // The row shown in the pane, and the item the user clicked last.
    QString CurrentKey;
    QString ClickedKey;

    // Whether the pane holds edits that a close or a click would drop. A row
    // not stored yet is judged by its name alone; a shown row by every field
    // of the pane against what it was filled from.
    bool IsDirty();
    // Thrown by Save when the user answers a warning by not saving: whatever
    // was under way (a click, a close, a new record) stops, and the pane keeps
    // what the user typed.
    using SaveDeclined = SaveRefused;

    // Writes the pane. A refused write throws VbError with nothing left pending
    // and the pane as the user typed it; a declined one throws SaveDeclined.
    virtual void Save() = 0;

    virtual void Form_Load() = 0;
    virtual void LV1_ItemClick(ListItem* Item) = 0;
    virtual void Toolbar1_ButtonClick(const QString& key) = 0;
    void Form_Resize();
    void Form_QueryUnload(bool& Cancel);

    // Closes the window the way its close button does (through the query).
    void Unload();

    // Every way of closing (title bar, Escape, Unload) arrives here.
    void reject() override;

protected:
    // The gap between the lists, and between the lists and the details frame,
    // in twips.
    static constexpr int Gap = 120;
    // The details pane's captions start this far inside the frame, and end at
    // least this far left of the boxes, in twips.
    static constexpr int CaptionLeft = 120;
    static constexpr int CaptionGap = 90;

    // frameHeight: the details frame's designed height in twips, kept on every
    // resize unless the font needs more for the pane.
    LookupWindow(int frameHeight, QWidget* parent);

    // Adds a caption and its box as the next row of the details pane, and
    // returns the caption (its buddy is the box). The boxes share one column
    // that starts at `boxLeft` twips inside the frame, or further right when a
    // caption needs the room; each box is at least `boxWidth` twips wide. Rows
    // are added in tab order.
    QLabel* addDetailsRow(const QString& caption, QWidget* box, int boxLeft, int boxWidth);

    // Opens the window at its designed client size (twips). The window never
    // gets smaller than the toolbar and the whole details pane need.
    void setDesignSize(const QSize& twips);

    // Opens a window of the kind modally and returns when it is closed. When
    // loading fails the error box is shown and the window does not open.
    template <class Window> static void showModal(QWidget* parent)
    {
        Window window(parent);
        if (!window.Load())
            return;
        window.exec();
    }

    // The box with the row's name.
    virtual const TextBox* nameBox() const = 0;
    // Whether the pane differs from the stored row shown in it; may throw
    // VbError when the row cannot be read.
    virtual bool paneDiffers() = 0;

    // A box that holds text the stored value does not. An empty box never
    // counts (emptying a box does not clear the stored value); text typed where
    // nothing is stored does, or it could never be saved and would be dropped
    // unasked.
    static bool differs(const TextBox* box, const Variant& stored);

    // The start of a click in LV1: notes the clicked item and, when the pane
    // holds edits, asks whether to save them first. They are saved to the row
    // shown before the click, with the clicked item selected again afterwards.
    void askToSaveBeforeShowing(ListItem* Item);

    // Places the lists in the band between the toolbar and the details frame
    // (twips); called by Form_Resize.
    virtual void placeLists(int top, int width, int height) = 0;

    void resizeEvent(QResizeEvent* event) override;
    // The pane's boxes know their final size hints only once filled and
    // polished: the least window size is taken again.
    void showEvent(QShowEvent* event) override;

private:
    // The details frame's height in twips: as designed, or what the pane needs
    // at the window's font when that is more.
    int frameHeightTwips() const;
    void fitMinimumSize();

    int frameHeight;
    QGridLayout* details = nullptr;
};
