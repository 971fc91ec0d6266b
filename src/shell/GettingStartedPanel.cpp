#include "shell/GettingStartedPanel.h"

#include "platform/VbError.h"
#include "shell/dbStuff.h"
#include "shell/Windows.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const char* const Steps[][3] = {
    {"btnBusinesses", "1. Add your business.", "&Businesses..."},
    {"btnCategories",
     "2. Add the categories of your transactions, and tick your business in each one's "
     "allocation list: a sheet offers only the categories allocated to its business.",
     "&Categories..."},
    {"btnSheet", "3. Open the sheet, pick the business and type a row.", "&Transactions..."},
};

} // namespace

GettingStartedPanel::GettingStartedPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("GettingStartedPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Getting started"));
    setAccessibleDescription(QStringLiteral("The three steps to a first transaction, each with "
                                            "a button that opens its window."));
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("<b>Getting started</b>"), this);
    grid->addWidget(title, 0, 0, 1, 2);
    const dbStuff::WindowId windows[] = {dbStuff::WindowId::Businesses,
                                         dbStuff::WindowId::Categories,
                                         dbStuff::WindowId::Transactions};
    QPushButton** buttons[] = {&btnBusinesses, &btnCategories, &btnSheet};
    for (int i = 0; i < 3; ++i) {
        auto* text = new QLabel(QString::fromUtf8(Steps[i][1]), this);
        text->setWordWrap(true);
        auto* button = new QPushButton(QString::fromUtf8(Steps[i][2]), this);
        button->setObjectName(QString::fromLatin1(Steps[i][0]));
        button->setAccessibleDescription(text->text());
        const dbStuff::WindowId id = windows[i];
        connect(button, &QPushButton::clicked, this,
                [id] { dbStuff::RunHandler([id] { dbStuff::ShowWindow(id); }); });
        grid->addWidget(text, i + 1, 0);
        grid->addWidget(button, i + 1, 1);
        *buttons[i] = button;
    }
    grid->setColumnStretch(0, 1);

    auto& notifier = dbStuff::Notifier::instance();
    for (auto signal : {&dbStuff::Notifier::businessesChanged,
                        &dbStuff::Notifier::categoriesChanged, &dbStuff::Notifier::databaseReopened,
                        &dbStuff::Notifier::databaseReplaced, &dbStuff::Notifier::rowsRewritten})
        connect(&notifier, signal, this, &GettingStartedPanel::refresh);
    hide();
}

void GettingStartedPanel::refresh()
{
    bool show = false;
    if (dbStuff::DB && dbStuff::DB->isOpen()) {
        try {
            show = !dbStuff::ledger().anyAllocation();
        } catch (const VbError&) {
            // A file without the allocation table: the steps could not be
            // followed, so they are not offered.
        }
    }
    setVisible(show);
}
