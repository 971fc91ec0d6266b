#include "platform/VbError.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Screen.h"
#include "support/DialogScript.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_Dialogs : public QObject
{
    Q_OBJECT

private:
    // Runs check on the modal dialog of type T once it is up.
    // What a screen reader says of a window: its name and its description.
    static QStringList spoken(QWidget* window)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
        return {face->text(QAccessible::Name), face->text(QAccessible::Description)};
    }

    template <typename T> static void whenShown(std::function<void(T*)> check)
    {
        QTimer::singleShot(0, [check] {
            T* dialog = nullptr;
            QTRY_VERIFY((dialog = qobject_cast<T*>(QApplication::activeModalWidget())));
            check(dialog);
        });
    }

private slots:
    void realMessageBoxShowsLines_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("cancel") << (vbOKCancel + vbInformation) << int(QMessageBox::Cancel)
                                << vbCancel << int(QMessageBox::Information);
        QTest::newRow("ok") << (vbOKOnly + vbCritical) << int(QMessageBox::Ok) << vbOK
                            << int(QMessageBox::Critical);
    }

    void realMessageBoxShowsLines()
    {
        QFETCH(int, flags);
        QFETCH(int, press);
        QFETCH(int, answer);
        QFETCH(int, icon);
        QString text, title;
        QStringList said;
        int shownIcon = -1;
        Qt::CursorShape pointer = Qt::BlankCursor;
        // Start-up asks its questions under the hourglass.
        Screen::setMousePointer(vbHourglass);
        whenShown<QMessageBox>([&](QMessageBox* box) {
            pointer = QGuiApplication::overrideCursor()->shape();
            text = box->text();
            title = box->windowTitle();
            shownIcon = box->icon();
            said = spoken(box);
            box->button(QMessageBox::StandardButton(press))->click();
        });

        QCOMPARE(MsgBox(QStringLiteral("First line.\r\rLast line."), flags), answer);
        const Qt::CursorShape after = QGuiApplication::overrideCursor()->shape();
        Screen::setMousePointer(vbDefault);

        QCOMPARE(text, QStringLiteral("First line.\n\nLast line."));
        QCOMPARE(title, QStringLiteral("Zantoro"));
        QCOMPARE(shownIcon, icon);
        QCOMPARE(said, (QStringList{title, text}));
        QCOMPARE(pointer, Qt::ArrowCursor);
        QCOMPARE(after, Qt::WaitCursor);
    }

    void realSaveDialogAsSetUp()
    {
        QTemporaryDir dir;
        QString title, folder;
        QStringList filters, said;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            folder = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            said = spoken(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("chosen");
            static_cast<QDialog*>(dialog)->accept();
        });
        CommonDialog cd;
        cd.DialogTitle = QStringLiteral("Create backup");
        cd.InitDir = dir.path();
        cd.Filter = QStringLiteral("Backup files(*.bak)|*.bak|(*.mdb)|*.mdb|Data|*.mdb;*.bak");
        cd.DefaultExt = QStringLiteral("bak");
        cd.FileName = QStringLiteral("Pendrel  05-Dec-2026 14.07.bak");

        cd.ShowSave();

        QCOMPARE(title, QStringLiteral("Create backup"));
        QCOMPARE(said.value(0), title);
        QVERIFY(!said.value(1).isEmpty());
        QCOMPARE(folder, dir.path());
        // Each type's text is shown once, whether it names its patterns or not.
        QCOMPARE(filters, (QStringList{"Backup files(*.bak)", "(*.mdb)", "Data (*.mdb *.bak)"}));
        QCOMPARE(cd.FileName, dir.path() + QStringLiteral("/chosen.bak"));
    }

    void cancelRaisesOnlyWhenAsked()
    {
        for (const bool cancelError : {true, false}) {
            for (const QString dialog : {"open", "save", "printer"}) {
                DialogScript script;
                CommonDialog cd;
                cd.CancelError = cancelError;
                cd.FileName = QStringLiteral("Zantoro.mdb");
                long raised = 0;
                try {
                    if (dialog == "printer") {
                        script.cancelPrinter();
                        cd.ShowPrinter();
                    } else {
                        script.cancelFile();
                        dialog == "open" ? cd.ShowOpen() : cd.ShowSave();
                    }
                } catch (const VbError& e) {
                    raised = e.number();
                }
                QCOMPARE(raised, cancelError ? 32755L : 0L);
                QCOMPARE(cd.FileName, QStringLiteral("Zantoro.mdb"));
            }
        }
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
