#pragma once

#include "shell/StatementImport.h"
#include "statements/CsvMapping.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The preview of a bank statement before anything is stored: every line with
// its date, amount, counterparty, text, category and state, for a chosen
// business and sheet. A category picked for a line goes to every line of its
// counterparty that has none yet; Import stores the new lines with a category
// in one go. For a CSV file the column mapping is set above the lines, saved
// by name and offered again.
class frmImport final : public QDialog
{
    Q_OBJECT

public:
    // Reads the file at once; a file that cannot be read leaves the window
    // without lines and says why (message()).
    explicit frmImport(const QString& path, QWidget* parent = nullptr);

    QComboBox* cboBusiness = nullptr;
    QComboBox* cboSheet = nullptr; // "Bank", "Cash"
    QComboBox* cboMapping = nullptr;
    QLineEdit* txtMapping = nullptr; // the mapping as key=value pairs
    QPushButton* cmdReadAgain = nullptr;
    QTableWidget* grdLines = nullptr;
    QComboBox* cboCategory = nullptr;
    QPushButton* cmdPick = nullptr;
    QPushButton* cmdImport = nullptr;
    QLabel* lblStatus = nullptr;

    enum Column
    {
        ColDate,
        ColAmount,
        ColCounterparty,
        ColText,
        ColCategory,
        ColState,
        ColumnCount
    };

    // Why the file could not be read, "" when it could.
    QString message() const { return m_message; }
    const QList<ImportLine>& lines() const { return m_lines; }
    // The outcome of the last import, the notes of texts cut included.
    const ImportOutcome& outcome() const { return m_outcome; }

    // The saved CSV mappings (settings), and saving one by its name.
    static QStringList mappingNames();
    static CsvMapping savedMapping(const QString& name);
    static void saveMapping(const CsvMapping& mapping);

private:
    void readFile();
    void plan();
    void showLines();
    void fillCategories();
    void pickForCurrentLine();
    void importLines();
    std::optional<qint64> business() const;
    bool cash() const;

    QString m_path;
    bool m_csv = false;
    Statement m_statement;
    QList<ImportLine> m_lines;
    QString m_message;
    ImportOutcome m_outcome;
};

// Asks for a statement file and shows its preview, modal.
void ShowImportWindow();
