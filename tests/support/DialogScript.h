#pragma once

#include "platform/widgets/Dialogs.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

// Answers the program's dialogs in a test, in the order they come, and records
// what each one showed, so that a test asserts texts, buttons, icons, titles
// and file-dialog settings exactly and never waits on a real dialog.
//
// Installs itself on construction and goes back to the real dialogs on
// destruction. A dialog that comes when no answer of its kind is next fails the
// test and throws UnexpectedDialog, so the code under test stops there instead
// of hanging; answers left unused at the end fail the test too.
//
//   DialogScript script;
//   script.answer(vbOK).chooseFile("/tmp/x/Zantoro.mdb").cancelFile();
//   ...
//   QCOMPARE(script.messages().at(0).prompt, "...");
class DialogScript final : public DialogHandler
{
public:
    struct UnexpectedDialog : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };

    DialogScript();
    ~DialogScript() override;
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Queue one answer each, in the order the dialogs are expected.
    DialogScript& answer(int vbAnswer);            // the next message box
    DialogScript& chooseFile(const QString& path); // the next file dialog
    DialogScript& cancelFile();                    // the next file dialog
    DialogScript& acceptPrinter();                 // the next printer dialog
    DialogScript& cancelPrinter();                 // the next printer dialog
    // Runs while the dialog answered by the last queued step is open, before
    // its answer is given (to look at the program's state at that moment).
    DialogScript& whileOpen(std::function<void()> action);

    const QList<MessageRequest>& messages() const { return m_messages; }
    const QList<FileRequest>& files() const { return m_files; }
    const QList<long>& printers() const { return m_printers; }
    // Dialogs shown so far, of every kind.
    int shown() const { return int(m_messages.size() + m_files.size() + m_printers.size()); }
    // Answers queued and not used yet.
    int pending() const { return int(m_steps.size()); }

    int message(const MessageRequest& request) override;
    std::optional<QString> file(const FileRequest& request) override;
    bool printer(long flags) override;

private:
    enum class Kind
    {
        Message,
        File,
        Printer
    };
    struct Step
    {
        Kind kind;
        int answer = 0;
        std::optional<QString> path;
        bool accept = true;
        std::function<void()> whileOpen;
    };

    Step next(Kind kind, const QString& what);
    [[noreturn]] void unexpected(const QString& what);

    QList<Step> m_steps;
    QList<MessageRequest> m_messages;
    QList<FileRequest> m_files;
    QList<long> m_printers;
    DialogHandler* m_previous = nullptr;
};
