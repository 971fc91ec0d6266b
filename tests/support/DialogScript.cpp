#include "support/DialogScript.h"

#include <QTest>

DialogScript::DialogScript() : m_previous(dialogHandler())
{
    setDialogHandler(this);
}

DialogScript::~DialogScript()
{
    setDialogHandler(m_previous);
    if (!m_steps.isEmpty() && !QTest::currentTestFailed()) {
        const QByteArray text = QStringLiteral("Dialog script: %1 answer(s) never asked for")
                                    .arg(m_steps.size())
                                    .toUtf8();
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    }
}

DialogScript& DialogScript::answer(int vbAnswer)
{
    m_steps.append(Step{Kind::Message, vbAnswer, std::nullopt, true, {}});
    return *this;
}

DialogScript& DialogScript::chooseFile(const QString& path)
{
    m_steps.append(Step{Kind::File, 0, path, true, {}});
    return *this;
}

DialogScript& DialogScript::cancelFile()
{
    m_steps.append(Step{Kind::File, 0, std::nullopt, false, {}});
    return *this;
}

DialogScript& DialogScript::acceptPrinter()
{
    m_steps.append(Step{Kind::Printer, 0, std::nullopt, true, {}});
    return *this;
}

DialogScript& DialogScript::cancelPrinter()
{
    m_steps.append(Step{Kind::Printer, 0, std::nullopt, false, {}});
    return *this;
}

DialogScript& DialogScript::whileOpen(std::function<void()> action)
{
    if (!m_steps.isEmpty())
        m_steps.last().whileOpen = std::move(action);
    return *this;
}

void DialogScript::unexpected(const QString& what)
{
    const QByteArray text = (QStringLiteral("Unexpected dialog: ") + what).toUtf8();
    QTest::qFail(text.constData(), __FILE__, __LINE__);
    throw UnexpectedDialog(text.toStdString());
}

DialogScript::Step DialogScript::next(Kind kind, const QString& what)
{
    if (m_steps.isEmpty() || m_steps.constFirst().kind != kind)
        unexpected(what);
    Step step = m_steps.takeFirst();
    if (step.whileOpen)
        step.whileOpen();
    return step;
}

int DialogScript::message(const MessageRequest& request)
{
    m_messages.append(request);
    QString shown = request.prompt;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    const Step step = next(Kind::Message, QStringLiteral("message box \"%1\"").arg(shown));
    if (!request.answers().contains(step.answer))
        unexpected(QStringLiteral("answer %1 is not a button of message box \"%2\"")
                       .arg(step.answer)
                       .arg(shown));
    return step.answer;
}

std::optional<QString> DialogScript::file(const FileRequest& request)
{
    m_files.append(request);
    const Step step = next(Kind::File, QStringLiteral("file dialog \"%1\"").arg(request.title));
    return step.accept ? step.path : std::nullopt;
}

bool DialogScript::printer(long flags)
{
    m_printers.append(flags);
    return next(Kind::Printer, QStringLiteral("printer dialog (flags %1)").arg(flags)).accept;
}
