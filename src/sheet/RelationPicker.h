#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

#include <optional>

class ComboBox;

// What the relation picker (the sheet's cbo2) does over its combo box: the
// list of relations in use, whether that list needs reading again, and the
// completion of what the user types from it. It writes nothing into a grid:
// the window copies the text it reports into the row being edited.
//
// Completion fills in the first relation that starts with the typed text and
// selects the part filled in, so that the next typed character replaces it.
// Backspace and Delete leave the user's own text as it stands, so that a
// relation that is the start of another ("Abb" beside "Abbey Mill") can be
// typed and kept.
class RelationPicker final : public QObject
{
    Q_OBJECT

public:
    // The combo belongs to the window, as the picker does, and outlives it.
    explicit RelationPicker(ComboBox& combo, QObject* parent = nullptr);

    // Takes the relations in use, in list order; the list is current again. A
    // picker that is open keeps the text on show.
    void fill(const QStringList& relations, bool open);
    // A stored row brought a relation the list may lack, or dropped one; the
    // list is read again before the picker next opens.
    bool stale() const { return m_stale; }
    void markStale() { m_stale = true; }
    // Whether the list holds the relation, compared as the store compares
    // text (A to Z without regard to case). An empty relation counts as held.
    bool listed(const QString& relation) const;

    // Readies the combo for the edit of a cell holding cellText: on that
    // relation when the list has it, else on the text as it stands, and
    // nothing completed.
    void openOn(const QString& cellText);

    // To be called on every change of the combo's text, by typing or from
    // code: completes typed text (not a deletion) and gives the text the
    // row's relation cell is to hold; nullopt for the picker's own changes
    // of the list, which write nothing.
    std::optional<QString> textChanged();

private:
    ComboBox& m_combo;
    QStringList m_relations;
    QSet<QString> m_keys;
    bool m_stale = false;
    // Set while the picker itself changes the combo's list or text.
    bool m_quiet = false;
    // Set while a completion sets the combo's text: the change that raises
    // inside it only reports the text.
    bool m_completing = false;
    // The last key pressed in the combo was Backspace or Delete: the change
    // it makes is the user's own and is not completed again.
    bool m_deleting = false;
};
