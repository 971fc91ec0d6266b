#pragma once

#include <QWidget>

#include <optional>

class DatePicker;
class DeletedModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class VersionsModel;

// The history of the records: on one page the versions of a range of
// transactions (each change with its time, its step and the row as it then
// stood), on the other the transactions, businesses and categories deleted in
// a period, each of which can be restored. A modeless child of the frame, one
// instance; it reads the file again when the database is replaced.
class frmHistory final : public QWidget
{
    Q_OBJECT

public:
    explicit frmHistory(QWidget* parent = nullptr);
    ~frmHistory() override;

    // The one instance if it is open, else nullptr.
    static frmHistory* loaded();

    enum Page
    {
        PageVersions,
        PageDeleted
    };

    QTabWidget* tabs = nullptr;
    QLineEdit* txtFirst = nullptr;
    QLineEdit* txtLast = nullptr;
    QPushButton* cmdVersions = nullptr;
    QTableView* lstVersions = nullptr;
    DatePicker* dtpFrom = nullptr;
    DatePicker* dtpTo = nullptr;
    QPushButton* cmdDeleted = nullptr;
    QTableView* lstDeleted = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdChanges = nullptr;

    VersionsModel& versions() const { return *m_versions; }
    DeletedModel& deleted() const { return *m_deleted; }

    // Shows the versions of the transactions first to last (ids, both
    // included) on the versions page.
    void showVersions(qint64 first, qint64 last);
    // Reads the deletions of the period the pickers hold.
    void showDeleted();
    // Restores the deletion selected in the list.
    void restoreSelected();

private:
    // Names and descriptions for assistive technology; firstCaption labels
    // txtFirst.
    void describeControls(const QLabel* firstCaption);
    void cmdVersions_Click();
    void updateRestore();
    std::optional<qint64> typedId(QLineEdit* box) const;

    VersionsModel* m_versions = nullptr;
    DeletedModel* m_deleted = nullptr;
};

// Registers the history window with the shell (dbStuff::WindowId::History):
// the frame's Edit > History... and the sheet's history of its current row.
void RegisterHistoryWindow();
