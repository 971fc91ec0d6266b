#include "platform/VbError.h"

#include <QSet>
#include <QTest>

// The error numbers and their standard texts, which the error box shows.
class tst_Errors : public QObject
{
    Q_OBJECT

private slots:
    void descriptionNamesTheItem_data()
    {
        QTest::addColumn<long>("number");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("description");

        QTest::newRow("file filled in") << VbErr::DbFileNotFound << "/data/Zantoro.mdb"
                                        << "Could not find file '/data/Zantoro.mdb'.";
        QTest::newRow("a text without a place for the item")
            << VbErr::PathFileAccess << "/data/Zantoro.mdb"
            << "Path/File access error";
        QTest::newRow("the placeholder character inside the item")
            << VbErr::ObjectExists << "a|b"
            << "Object 'a|b' already exists.";
        QTest::newRow("reserved error names its own number")
            << VbErr::ReservedError << "disk I/O error"
            << "Reserved error (3000); there is no message for this error.";
        QTest::newRow("a number without a text") << 1234L << "x"
                                                 << "Application-defined or object-defined error";
    }

    void descriptionNamesTheItem()
    {
        QFETCH(long, number);
        QFETCH(QString, item);
        QFETCH(QString, description);

        const VbError error(number, item, QStringLiteral("engine message"));

        QCOMPARE(error.number(), number);
        QCOMPARE(error.description(), description);
        QCOMPARE(error.detail(), QStringLiteral("engine message"));
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("Error %1: %2").arg(number).arg(description));
    }

    // Every number the program names has a text of its own: a number added
    // without one, or two names given the same number, shows here.
    void everyNamedNumberHasItsOwnText()
    {
        using namespace VbErr;
        const QList<long> named = {ReturnWithoutGoSub,
                                   InvalidCall,
                                   Overflow,
                                   OutOfMemory,
                                   SubscriptOutOfRange,
                                   DivisionByZero,
                                   TypeMismatch,
                                   InternalError,
                                   BadFileName,
                                   FileNotFound,
                                   FileAlreadyOpen,
                                   DeviceIOError,
                                   FileAlreadyExists,
                                   DeviceFull,
                                   PermissionDenied,
                                   PathFileAccess,
                                   PathNotFound,
                                   ObjectNotSet,
                                   InvalidUseOfNull,
                                   InvalidPropertyValue,
                                   ObjectRequired,
                                   ReservedError,
                                   InvalidArgument,
                                   ObjectExists,
                                   NoCurrentIndex,
                                   UpdateWithoutEdit,
                                   NoCurrentRecord,
                                   DuplicateKey,
                                   DbFileNotFound,
                                   DiskFull,
                                   ReadOnly,
                                   DiskOrNetworkError,
                                   InvalidPath,
                                   CannotUseFile,
                                   CannotOpenFile,
                                   TooFewParameters,
                                   SyntaxError,
                                   TableNotFound,
                                   InvalidBookmark,
                                   FieldTooSmall,
                                   FieldNotUpdatable,
                                   RecordDeleted,
                                   RelatedRecordRequired,
                                   DatabaseExists,
                                   RecordLocked,
                                   NotSupported,
                                   ItemNotFound,
                                   NullInRequired,
                                   ZeroLengthString,
                                   ValidationRule,
                                   UnrecognizedFormat,
                                   ObjectInvalid,
                                   ConversionError,
                                   CriteriaTypeMismatch,
                                   CancelSelected};
        const QString fallback = VbError::standardText(-1);
        QSet<long> numbers;
        QSet<QString> texts;
        for (long number : named) {
            const QString text = VbError::standardText(number, QStringLiteral("item"));
            QVERIFY2(text != fallback, qPrintable(QString::number(number)));
            numbers.insert(number);
            texts.insert(text);
        }
        QCOMPARE(numbers.size(), named.size());
        QCOMPARE(texts.size(), named.size());
    }
};

QTEST_MAIN(tst_Errors)
#include "tst_errors.moc"
