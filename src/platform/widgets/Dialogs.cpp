#include "platform/widgets/Dialogs.h"

#include "platform/VbError.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

DialogHandler*& installedHandler()
{
    static DialogHandler* handler = nullptr;
    return handler;
}

QString screenText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::StandardButton qtButton(int answer)
{
    switch (answer) {
    case vbOK:
        return QMessageBox::Ok;
    case vbCancel:
        return QMessageBox::Cancel;
    case vbAbort:
        return QMessageBox::Abort;
    case vbRetry:
        return QMessageBox::Retry;
    case vbIgnore:
        return QMessageBox::Ignore;
    case vbYes:
        return QMessageBox::Yes;
    case vbNo:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon qtIcon(int icon)
{
    switch (icon) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// While the program shows the hourglass, a dialog still shows the ordinary
// pointer: the user has to point and click in it.
class ArrowWhileOpen final
{
public:
    ArrowWhileOpen() : m_active(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileOpen()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    ArrowWhileOpen(const ArrowWhileOpen&) = delete;
    ArrowWhileOpen& operator=(const ArrowWhileOpen&) = delete;

private:
    bool m_active;
};

// The dialogs a person sees. Every one is application-modal over the active
// window, so nothing else of the program answers until it is closed.
class RealDialogs final : public DialogHandler
{
public:
    int message(const MessageRequest& request) override
    {
        QMessageBox box(qtIcon(request.icon()), request.title, screenText(request.prompt),
                        QMessageBox::NoButton, QApplication::activeWindow());
        // A screen reader says the title, then the question.
        box.setAccessibleName(request.title);
        box.setAccessibleDescription(screenText(request.prompt));
        const QList<int> answers = request.answers();
        for (int answer : answers)
            box.addButton(qtButton(answer));
        const int defaultIndex = request.defaultButton() / vbDefaultButton2;
        if (defaultIndex < answers.size())
            box.setDefaultButton(qtButton(answers[defaultIndex]));
        // Escape answers Cancel where there is one, OK on a lone OK; a question
        // without Cancel must be answered.
        if (answers.contains(vbCancel))
            box.setEscapeButton(qtButton(vbCancel));
        else if (answers == QList<int>{vbOK})
            box.setEscapeButton(qtButton(vbOK));
        const ArrowWhileOpen arrow;
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        for (int answer : answers)
            if (box.button(qtButton(answer)) == clicked)
                return answer;
        return answers.contains(vbCancel) ? vbCancel : answers.value(0, vbOK);
    }

    std::optional<QString> file(const FileRequest& request) override
    {
        const bool save = request.kind == FileDialogKind::Save;
        QString title = request.title;
        if (title.isEmpty())
            title = save ? QStringLiteral("Save As") : QStringLiteral("Open");
        QFileDialog dialog(QApplication::activeWindow(), title);
        dialog.setAccessibleName(title);
        dialog.setAccessibleDescription(
            save ? QStringLiteral("Choose the folder and type the name of the file to write.")
                 : QStringLiteral("Choose the file to open, or type its name."));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // Without "file must exist" an open dialog takes any name typed in; the
        // caller finds out whether the file is there.
        if (save || !(request.flags & cdlOFNFileMustExist))
            dialog.setFileMode(QFileDialog::AnyFile);
        else
            dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !(request.flags & cdlOFNOverwritePrompt));
        const QStringList filters = qtNameFilters(request.filter);
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (!request.initDir.isEmpty())
            dialog.setDirectory(request.initDir);
        if (!request.defaultExt.isEmpty())
            dialog.setDefaultSuffix(request.defaultExt);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        const ArrowWhileOpen arrow;
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    bool printer(long flags) override
    {
        QPrintDialog dialog(&sharedPrinter(), QApplication::activeWindow());
        if (flags & cdlPDPrintSetup) {
            // The set-up form chooses the printer and its properties only.
            dialog.setWindowTitle(QStringLiteral("Print Setup"));
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
            dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        }
        const ArrowWhileOpen arrow;
        return dialog.exec() == QDialog::Accepted;
    }

private:
    // The printer chosen last stays chosen for the rest of the run.
    static QPrinter& sharedPrinter()
    {
        static QPrinter printer;
        return printer;
    }
};

DialogHandler& handler()
{
    static RealDialogs real;
    DialogHandler* installed = installedHandler();
    return installed ? *installed : real;
}

} // namespace

QList<int> MessageRequest::answers() const
{
    switch (buttons()) {
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    }
    return {vbOK};
}

void setDialogHandler(DialogHandler* handler)
{
    installedHandler() = handler;
}

DialogHandler* dialogHandler()
{
    return installedHandler();
}

int MsgBox(const QString& prompt, int flags, const QString& title)
{
    return handler().message(MessageRequest{prompt, flags, title});
}

QStringList qtNameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its patterns ("Backup files(*.bak)")
        // is shown as it is; the dialog reads the patterns from it.
        const QString shown = QLatin1Char('(') + patterns.simplified() + QLatin1Char(')');
        result << (parts[i].endsWith(shown) ? parts[i] : parts[i] + QLatin1Char(' ') + shown);
    }
    return result;
}

void CommonDialog::ShowOpen()
{
    showFile(FileDialogKind::Open);
}

void CommonDialog::ShowSave()
{
    showFile(FileDialogKind::Save);
}

void CommonDialog::ShowPrinter()
{
    if (!handler().printer(Flags))
        cancelled();
}

std::optional<QString> AskSaveFile(const QString& title, const QString& filter,
                                   const QString& extension, const QString& folder,
                                   const QString& proposedName)
{
    const FileRequest request{FileDialogKind::Save,
                              title,
                              folder,
                              filter,
                              proposedName,
                              extension,
                              cdlOFNOverwritePrompt | cdlOFNPathMustExist | cdlOFNHideReadOnly};
    std::optional<QString> chosen = handler().file(request);
    if (chosen && QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QLatin1Char('.') + extension;
    return chosen;
}

void CommonDialog::showFile(FileDialogKind kind)
{
    const FileRequest request{kind, DialogTitle, InitDir, Filter, FileName, DefaultExt, Flags};
    const std::optional<QString> chosen = handler().file(request);
    if (!chosen) {
        cancelled();
        return;
    }
    FileName = *chosen;
}

void CommonDialog::cancelled() const
{
    if (CancelError)
        throw VbError(VbErr::CancelSelected);
}
