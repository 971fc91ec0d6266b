#pragma once

#include "platform/Settings.h"

#include <QString>

#include <optional>

// Message box buttons, icons and default buttons (combined by adding them), and
// the answers. The numbers are the program's own vocabulary.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Flags of the common dialog. File dialogs:
inline constexpr long cdlOFNReadOnly = 0x1;
inline constexpr long cdlOFNOverwritePrompt = 0x2;
inline constexpr long cdlOFNHideReadOnly = 0x4;
inline constexpr long cdlOFNPathMustExist = 0x800;
inline constexpr long cdlOFNFileMustExist = 0x1000;
inline constexpr long cdlOFNCreatePrompt = 0x2000;
inline constexpr long cdlOFNLongNames = 0x200000;
// Printer dialog:
inline constexpr long cdlPDPrintSetup = 0x40;
inline constexpr long cdlPDReturnDC = 0x100;

// Shows a message box and returns the answer (vbOK, vbCancel, vbYes, ...).
// flags = buttons + icon + default button. Line breaks in the prompt are
// carriage returns; they stay so in the text and show as lines on screen.
int MsgBox(const QString& prompt, int flags = vbOKOnly, const QString& title = AppTitle);

// A message box as the dialog seam receives it.
struct MessageRequest
{
    QString prompt;
    int flags = vbOKOnly;
    QString title;

    int buttons() const { return flags & 0x0F; }
    int icon() const { return flags & 0xF0; }
    int defaultButton() const { return flags & 0xF00; }
    // The answers the buttons can give, in the order the buttons stand.
    QList<int> answers() const;
};

enum class FileDialogKind
{
    Open,
    Save
};

// A file dialog as the dialog seam receives it.
struct FileRequest
{
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString initDir;
    QString filter; // "description|pattern|description|pattern..."
    QString fileName;
    QString defaultExt;
    long flags = 0;
};

// The one seam every dialog of the program goes through. The program installs
// none and gets the real dialogs; tests install a script that answers and
// records each dialog. Called on the user-interface thread only.
class DialogHandler
{
public:
    virtual ~DialogHandler() = default;
    // Returns the answer of one of the request's buttons.
    virtual int message(const MessageRequest& request) = 0;
    // Returns the chosen file's full path, or nothing when cancelled.
    virtual std::optional<QString> file(const FileRequest& request) = 0;
    // Returns false when cancelled.
    virtual bool printer(long flags) = 0;
};

// Installs the handler (not owned); nullptr goes back to the real dialogs.
void setDialogHandler(DialogHandler* handler);
DialogHandler* dialogHandler();

// The common dialog control: set its properties, then call one of the Show
// methods. After ShowOpen/ShowSave, FileName holds the chosen full path. When
// the user cancels and CancelError is set, the Show method raises 32755
// (VbError); otherwise a cancel leaves FileName as it was and raises nothing.
class CommonDialog final
{
public:
    QString DialogTitle;
    QString InitDir;
    QString Filter;
    QString FileName;
    QString DefaultExt;
    long Flags = 0;
    bool CancelError = false;

    void ShowOpen();
    void ShowSave();
    void ShowPrinter();

private:
    void showFile(FileDialogKind kind);
    void cancelled() const;
};

// Asks where to save a file of one type: the save dialog starting in `folder`
// with `proposedName`, asking before a file is overwritten. The path chosen,
// with `extension` added when the name was typed without one; nothing when the
// user cancels.
std::optional<QString> AskSaveFile(const QString& title, const QString& filter,
                                   const QString& extension, const QString& folder,
                                   const QString& proposedName);

// "desc|*.a;*.b|desc2(*.c)|*.c" as the name filters of a Qt file dialog
// ("desc (*.a *.b)", "desc2(*.c)"): a text that already ends in its patterns
// is kept as it is.
QStringList qtNameFilters(const QString& filter);
