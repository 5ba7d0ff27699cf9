#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "testhelpers.h"
#include "ui/projects/documentsbrowser.h"

#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A project's documents folder kept in a synchronised folder: the tools'
// own files are not listed among the user's documents.
class TestDocumentsSyncFiles : public QObject
{
    Q_OBJECT

private:
    static QStringList shownNames(const DocumentsBrowser &browser)
    {
        const auto *model = qobject_cast<const QFileSystemModel *>(child<QListView>(&browser, "files")->model());
        const QModelIndex root = child<QListView>(&browser, "files")->rootIndex();
        QStringList names;
        for (int row = 0; row < model->rowCount(root); ++row) {
            if (!child<QListView>(&browser, "files")->isRowHidden(row))
                names.append(model->fileName(model->index(row, 0, root)));
        }
        names.sort();
        return names;
    }

private Q_SLOTS:
    void syncToolFilesAreNotListed()
    {
        QTemporaryDir tmp;
        FakeServices fakes;
        fakes.shell.documents = tmp.path() + "/Documents";
        const QString garden = tmp.path() + "/Documents/Garden/";
        writeFileBytes(garden + "plan.txt", "beds");
        writeFileBytes(garden + "~$plan.docx", "owner");
        writeFileBytes(garden + "plan.sync-conflict-20240110-093012-ABCDEFG.txt", "other");
        writeFileBytes(garden + ".stfolder/.keep", "");
        QVERIFY(QDir().mkpath(garden + "Photos"));
        const DataFolder data(tmp.path() + "/data/", &fakes.shell, fakes.clock);

        DocumentsBrowser browser(const_cast<DataFolder *>(&data), fakes.services());
        QVERIFY(browser.switchTo("Garden"));
        QTRY_COMPARE(shownNames(browser), QStringList({"Photos", "plan.txt"}));

        // Files that appear while the folder is shown are told apart too.
        writeFileBytes(garden + ".~lock.budget.ods#", "lock");
        writeFileBytes(garden + "budget.ods", "sheet");
        QTRY_COMPARE(shownNames(browser), QStringList({"Photos", "budget.ods", "plan.txt"}));
        // And again in another folder and back.
        browser.showFolder(garden + "Photos");
        browser.goUp();
        QTRY_COMPARE(shownNames(browser), QStringList({"Photos", "budget.ods", "plan.txt"}));
    }
};

QTEST_MAIN(TestDocumentsSyncFiles)
#include "tst_documentssyncfiles.moc"
