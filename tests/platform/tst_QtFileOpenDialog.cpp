// The file-open dialog as the user sees it: the filter reads exactly as the program names it,
// and every file is offered, those without a dot in their names too.
#include "platform/QtFileOpenDialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>

class tst_QtFileOpenDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filterReadsAsWrittenAndShowsEveryFile()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QStringList names {QStringLiteral("app.log"), QStringLiteral("messages")};
        for (const QString &name : names) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QtFileOpenDialog::prepare(dialog, QStringLiteral("監視するファイルの指定"),
                                  QStringLiteral("すべてのファイル(*.*)"), QStringLiteral("*.*"),
                                  QString());
        dialog.setDirectory(folder.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        auto *filters = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(filters);
        QCOMPARE(filters->count(), 1);
        QCOMPARE(filters->currentText(), QStringLiteral("すべてのファイル(*.*)"));
        auto *model = dialog.findChild<QFileSystemModel *>();
        QVERIFY(model);
        for (const QString &name : names) {
            QTRY_VERIFY(model->index(folder.filePath(name)).isValid());
            QVERIFY(model->flags(model->index(folder.filePath(name))) & Qt::ItemIsEnabled);
        }
    }
};

QTEST_MAIN(tst_QtFileOpenDialog)
#include "tst_QtFileOpenDialog.moc"
