#pragma once

#include <QFrame>

class QPushButton;

// Shown in the frame above the child windows while no business of the open
// database has a category allocated to it: the three steps that lead to a
// sheet that offers categories, each with a button that opens its window. It
// follows the notifications of changed businesses, categories and files.
class GettingStartedPanel final : public QFrame
{
    Q_OBJECT

public:
    explicit GettingStartedPanel(QWidget* parent = nullptr);

    // Shows the panel when a database is open and no business has an
    // allocated category; hides it otherwise.
    void refresh();

    QPushButton* btnBusinesses = nullptr;
    QPushButton* btnCategories = nullptr;
    QPushButton* btnSheet = nullptr;
};
